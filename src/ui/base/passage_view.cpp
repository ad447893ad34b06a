#include "ui/base/passage_view.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "core/content/bible_store.h"
#include "core/content/passage_page.h"
#include "ui/base/page_frame.h"
#include "ui/base/busy_cursor.h"
#include "ui/base/html_viewer.h"
#include "ui/base/text_codec.h"
#include "ui/base/text_zoom.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace kovara::ui {

PassageView::PassageView(QWidget* parent) : QWidget(parent)
{
    headerPanel_ = makeHeaderPanel(this);
    captionLabel_ = makeHeaderLabel(tr("Bible Reading Plan"), 0, true, false, headerPanel_);
    captionLabel_->setObjectName(QStringLiteral("passageCaptionLabel"));
    titleLabel_ = makeHeaderLabel(tr("Reading Plan Title"), 6, true, true, headerPanel_);
    titleLabel_->setObjectName(QStringLiteral("passageTitleLabel"));
    dayLabel_ = makeHeaderLabel(tr("Plan day info"), 1, false, false, headerPanel_);
    dayLabel_->setObjectName(QStringLiteral("passageDayLabel"));
    auto* header = new QVBoxLayout(headerPanel_);
    header->addWidget(captionLabel_);
    header->addWidget(titleLabel_);
    header->addWidget(dayLabel_);

    htmlViewer_ = makeViewerPanel(viewerPanel_, this);
    viewerPanel_->setObjectName(QStringLiteral("passageViewerPanel"));
    htmlViewer_->setObjectName(QStringLiteral("passageViewer"));
    htmlViewer_->setAccessibleName(tr("Passage"));
    makeViewerActions(htmlViewer_, copyAction_, selectAllAction_, this);
    zoom_ = new TextZoom(htmlViewer_, this);

    stackPanels(this, headerPanel_, viewerPanel_);
    // The title takes the width the panel has and no more.
    titleLabel_->setSizePolicy(QSizePolicy::Ignored, titleLabel_->sizePolicy().verticalPolicy());
    titleLabel_->setMinimumWidth(1);
}

void PassageView::setCaption(const QString& caption)
{
    captionLabel_->setText(caption);
}

void PassageView::showTitle()
{
    const QString full = fromBytes(title_);
    // Until the page is laid out its width says nothing: the title in full.
    const QString shown = titleLabel_->isVisible() ? titleLabel_->fontMetrics().elidedText(
                                                         full, Qt::ElideRight, titleLabel_->contentsRect().width())
                                                   : full;
    titleLabel_->setText(shown);
    titleLabel_->setToolTip(shown == full ? QString() : full);
}

void PassageView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!title_.empty() && !titleLabel_->text().isEmpty())
        showTitle();
}

void PassageView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A page that was cleared stays clear.
    if (!title_.empty() && !titleLabel_->text().isEmpty())
        showTitle();
}

void PassageView::assignPreferences(Preferences& prefs)
{
    prefs_ = &prefs;
    applyDisplayPreferences(prefs, viewerPanel_, htmlViewer_);
    zoom_->apply(prefs);
    if (!verseSpec_.empty())
        renderPassage();
}

void PassageView::loadPlanVerses(const std::string& verseSpec, const std::string& title,
                                            const std::string& dayLine, BibleStore& bible)
{
    if (!prefs_)
        throw Exception("Preferences not yet assigned on LoadPlanVerses");
    title_ = title;
    showTitle();
    dayLabel_->setText(fromBytes(dayLine));
    dayLine_ = dayLine;
    bible_ = &bible;
    verseSpec_ = verseSpec;
    renderPassage();
}

void PassageView::clear()
{
    titleLabel_->clear();
    dayLabel_->clear();
    htmlViewer_->loadFromString(QString());
}

void PassageView::renderPassage()
{
    if (!prefs_ || !bible_)
        return;
    BusyCursor busy;
    htmlViewer_->loadFromString(tr("Loading..."));
    if (htmlViewer_->isVisible())
        htmlViewer_->viewport()->repaint(); // a long passage takes a moment
    const std::string page = buildPassagePage(verseSpec_, *bible_, prefs_->paragraphMode, title_, dayLine_, chapterLinks_,
                                               headings_);
    htmlViewer_->loadFromBytes(page);
}

} // namespace kovara::ui
