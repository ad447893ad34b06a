#include "ui/base/passage_view.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "core/content/bible_store.h"
#include "core/content/passage_page.h"
#include "ui/base/page_frame.h"
#include "ui/base/busy_cursor.h"
#include "ui/base/html_viewer.h"
#include "ui/base/text_codec.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace kovara::ui {

PassageView::PassageView(QWidget* parent) : QWidget(parent)
{
    headerPanel = makeHeaderPanel(this);
    passageLabel = makeHeaderLabel(tr("Bible Reading Plan"), 0, true, false, headerPanel);
    titleLabel = makeHeaderLabel(tr("Reading Plan Title"), 6, true, true, headerPanel);
    dateLabel = makeHeaderLabel(tr("Plan day info"), 1, false, false, headerPanel);
    auto* header = new QVBoxLayout(headerPanel);
    header->addWidget(passageLabel);
    header->addWidget(titleLabel);
    header->addWidget(dateLabel);

    htmlViewer = makeViewerPanel(viewerPanel, this);
    htmlViewer->setAccessibleName(tr("Passage"));
    makeViewerActions(htmlViewer, copyAction, selectAllAction, this);

    stackPanels(this, headerPanel, viewerPanel);
    // The title takes the width the panel has and no more.
    titleLabel->setSizePolicy(QSizePolicy::Ignored, titleLabel->sizePolicy().verticalPolicy());
    titleLabel->setMinimumWidth(1);
}

void PassageView::showTitle()
{
    const QString full = fromBytes(title_);
    // Until the page is laid out its width says nothing: the title in full.
    const QString shown = titleLabel->isVisible() ? titleLabel->fontMetrics().elidedText(
                                                        full, Qt::ElideRight, titleLabel->contentsRect().width())
                                                  : full;
    titleLabel->setText(shown);
    titleLabel->setToolTip(shown == full ? QString() : full);
}

void PassageView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!title_.empty() && !titleLabel->text().isEmpty())
        showTitle();
}

void PassageView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A page that was cleared stays clear.
    if (!title_.empty() && !titleLabel->text().isEmpty())
        showTitle();
}

void PassageView::assignPreferences(Preferences& prefs)
{
    prefs_ = &prefs;
    applyDisplayPreferences(prefs, viewerPanel, htmlViewer);
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
    dateLabel->setText(fromBytes(dayLine));
    dayLine_ = dayLine;
    bible_ = &bible;
    verseSpec_ = verseSpec;
    renderPassage();
}

void PassageView::clear()
{
    titleLabel->clear();
    dateLabel->clear();
    htmlViewer->loadFromString(QString());
}

void PassageView::renderPassage()
{
    if (!prefs_ || !bible_)
        return;
    BusyCursor busy;
    htmlViewer->loadFromString(tr("Loading..."));
    if (htmlViewer->isVisible())
        htmlViewer->viewport()->repaint(); // a long passage takes a moment
    const std::string page = buildPassagePage(verseSpec_, *bible_, prefs_->paragraphMode, title_, dayLine_, chapterLinks_);
    htmlViewer->loadFromBytes(page);
}

} // namespace kovara::ui
