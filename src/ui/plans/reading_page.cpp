#include "ui/plans/reading_page.h"
#include "ui/base/core_names.h"

#include "core/base/exception.h"
#include "core/content/bible_store.h"
#include "ui/base/button_row.h"
#include "ui/base/commentary_pane.h"
#include "ui/base/html_viewer.h"
#include "ui/base/passage_view.h"
#include "ui/base/text_codec.h"

#include <QComboBox>
#include <algorithm>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace kovara::ui {

ReadingPage::ReadingPage(QWidget* parent) : ContentPage(parent)
{
    passageView_ = new PassageView(this);
    followText(passageView_->viewer(), passageView_->copyAction());
    passageView_->viewer()->setCopyCaption([this] { return copyCaption_; });
    planStatusLabel_ = new QLabel(this);
    // The standing has a line of its own above the buttons, kept even while
    // it is empty, so the passage above keeps its height whether a standing
    // is shown or not. It does not wrap: the page is never narrower than the
    // standing, so it is never cut off either.
    planStatusLabel_->setMinimumHeight(planStatusLabel_->fontMetrics().height());
    planStatusLabel_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    planStatusLabel_->setObjectName(QStringLiteral("planStatusLabel"));
    planManagerButton_ = new QPushButton(tr("View or Edit Reading Plan"), this);
    planManagerButton_->setObjectName(QStringLiteral("planManagerButton"));
    markReadButton_ = new QPushButton(tr("Mark Passage as Read"), this);
    markReadButton_->setObjectName(QStringLiteral("markReadButton"));
    QFont bold = markReadButton_->font();
    bold.setBold(true);
    markReadButton_->setFont(bold);
    // Nothing is shown yet, so there is nothing to mark or manage.
    planManagerButton_->setEnabled(false);
    markReadButton_->setEnabled(false);

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("planProgressBar"));
    progressBar_->setAccessibleName(tr("Plan Progress"));
    progressBar_->setTextVisible(false);
    progressBar_->setFixedHeight(6);
    progressBar_->setRange(0, 100);
    progressLabel_ = new QLabel(this);
    progressLabel_->setObjectName(QStringLiteral("planProgressLabel"));
    progressLabel_->setWordWrap(true);
    catchUpButton_ = new QPushButton(tr("&Catch Up..."), this);
    catchUpButton_->setObjectName(QStringLiteral("catchUpButton"));
    catchUpButton_->setToolTip(tr("Ways to get back on track with this plan"));
    undoPanel_ = new QWidget(this);
    undoPanel_->setObjectName(QStringLiteral("undoPanel"));
    undoLabel_ = new QLabel(undoPanel_);
    undoLabel_->setObjectName(QStringLiteral("undoLabel"));
    undoLabel_->setWordWrap(true);
    undoButton_ = new QPushButton(tr("&Undo"), undoPanel_);
    undoButton_->setObjectName(QStringLiteral("undoCatchUpButton"));
    auto* undoRow = new QHBoxLayout(undoPanel_);
    undoRow->setContentsMargins(0, 0, 0, 0);
    undoRow->addWidget(undoLabel_, 1);
    undoRow->addWidget(undoButton_);
    // Nothing shown yet.
    progressBar_->hide();
    progressLabel_->hide();
    catchUpButton_->hide();
    undoPanel_->hide();

    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progressLabel_, 1);
    progressRow->addWidget(catchUpButton_);

    versionList_ = new QComboBox(this);
    versionList_->setObjectName(QStringLiteral("readingVersionList"));
    versionList_->setToolTip(tr("Bible version this plan is read in"));
    versionList_->setAccessibleName(tr("Bible version"));
    versionList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    versionList_->hide(); // until a Bible is imported
    connect(versionList_, qOverload<int>(&QComboBox::activated), this, &ReadingPage::versionChosen);

    sideBySideButton_ = new QToolButton(this);
    sideBySideButton_->setObjectName(QStringLiteral("readingSideBySideButton"));
    sideBySideButton_->setText(tr("Side by Side"));
    sideBySideButton_->setToolTip(tr("Show other versions beside this one, up to four in all"));
    sideBySideButton_->setPopupMode(QToolButton::InstantPopup);
    sideBySideButton_->setMenu(new QMenu(sideBySideButton_));
    sideBySideButton_->hide();

    commentaryButton_ = new QToolButton(this);
    commentaryButton_->setObjectName(QStringLiteral("readingCommentaryButton"));
    commentaryButton_->setText(tr("Commentary"));
    commentaryButton_->setToolTip(tr("Show a commentary beside the passage"));
    commentaryButton_->setCheckable(true);
    connect(commentaryButton_, &QToolButton::toggled, this, [this](bool on) { setCommentaryShown(on); });
    commentaryPane_ = new CommentaryPane;
    commentaryPane_->hide();
    connect(commentaryPane_, &CommentaryPane::linkClicked, this, &ReadingPage::bibleLinkClicked);
    auto* beside = new QSplitter(Qt::Horizontal);
    beside->setObjectName(QStringLiteral("readingCommentarySplitter"));
    beside->setChildrenCollapsible(false);
    beside->addWidget(passageView_);
    beside->addWidget(commentaryPane_);
    beside->setStretchFactor(0, 3);
    beside->setStretchFactor(1, 2);

    auto* buttons = new ButtonRow;
    buttons->addWidget(versionList_);
    buttons->addWidget(sideBySideButton_);
    buttons->addWidget(commentaryButton_);
    buttons->addStretch(1);
    buttons->addWidget(planManagerButton_);
    buttons->addWidget(markReadButton_);
    auto* bottom = new QVBoxLayout;
    bottom->setContentsMargins(8, 4, 8, 8);
    bottom->addWidget(progressBar_);
    bottom->addLayout(progressRow);
    bottom->addWidget(undoPanel_);
    bottom->addWidget(planStatusLabel_);
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(beside, 1);
    layout->addLayout(bottom);

    passageView_->setObjectName(QStringLiteral("passageView"));
    connect(markReadButton_, &QPushButton::clicked, this, &ReadingPage::markReadClicked);
    connect(planManagerButton_, &QPushButton::clicked, this, &ReadingPage::planManagerClicked);
    connect(catchUpButton_, &QPushButton::clicked, this, &ReadingPage::catchUpClicked);
    connect(undoButton_, &QPushButton::clicked, this, &ReadingPage::undoClicked);
    connect(passageView_->viewer(), &HtmlViewer::linkClicked, this, &ReadingPage::bibleLinkClicked);
}

void ReadingPage::showPassage(const std::string& verseSpec, const std::string& title, const std::string& heading,
                              BibleStore& bible)
{
    columnsHtml_.clear();
    // The commentary follows the day's first verse, also when the passage
    // cannot be shown.
    VerseData first;
    try {
        first = bible.allVerseData(strToInt(verseSpec.substr(0, verseSpec.find_first_of("-,"))));
    } catch (const std::exception&) {
        // A day the Bible cannot show has no verse for the commentary either.
    }
    commentaryPane_->follow(bible, first.book, first.chapter, first.verse);
    passageView_->loadPlanVerses(verseSpec, title, heading, bible);
}

bool ReadingPage::setCommentaryShown(bool shown)
{
    if (commentaryButton_->isChecked() != shown) {
        commentaryButton_->setChecked(shown); // comes back here through toggled
        return shown && commentaryPane_->showsEntry();
    }
    commentaryPane_->setVisible(shown);
    return shown && commentaryPane_->activate();
}

void ReadingPage::setStanding(const QString& status, bool canMarkRead)
{
    markReadButton_->setEnabled(canMarkRead);
    planStatusLabel_->setText(status);
    planManagerButton_->setEnabled(true);
}

void ReadingPage::forgetPlan()
{
    markReadButton_->setEnabled(false);
    planManagerButton_->setEnabled(false);
    catchUpButton_->hide();
}

void ReadingPage::clear()
{
    forgetPlan();
    planStatusLabel_->clear();
    passageView_->clear();
    progressBar_->hide();
    progressLabel_->hide();
    hideUndo();
}

void ReadingPage::showProgress(int percent, const QString& summary, bool behind)
{
    progressBar_->setValue(percent);
    progressBar_->show();
    progressLabel_->setText(summary);
    progressLabel_->show();
    catchUpButton_->setVisible(behind);
}

void ReadingPage::showUndo(const QString& text)
{
    undoLabel_->setText(text);
    undoPanel_->show();
}

void ReadingPage::hideUndo()
{
    undoPanel_->hide();
}

void ReadingPage::setVersions(const QStringList& names, int current)
{
    versionList_->clear();
    versionList_->addItems(names);
    versionList_->setCurrentIndex(current);
    versionList_->setVisible(names.size() > 1);
    sideBySideButton_->setVisible(names.size() > 1);
    // One entry per version but the one read; four columns at most.
    QMenu* menu = sideBySideButton_->menu();
    menu->clear();
    for (int i = 0; i < names.size(); ++i) {
        if (i == current)
            continue;
        QAction* action = menu->addAction(names[i]);
        action->setCheckable(true);
        action->setChecked(std::find(sideIndexes_.begin(), sideIndexes_.end(), i) != sideIndexes_.end());
        connect(action, &QAction::toggled, this, [this, i](bool on) {
            std::vector<int> indexes = sideIndexes_;
            std::erase(indexes, i);
            if (on)
                indexes.push_back(i);
            // Queued: the answer fills this menu again, which deletes the
            // action that is still sending.
            QMetaObject::invokeMethod(this, [this, indexes] { emit sideBySideChosen(indexes); }, Qt::QueuedConnection);
        });
    }
}

void ReadingPage::setSideBySide(const std::vector<int>& indexes)
{
    sideIndexes_ = indexes;
}

void ReadingPage::showColumns(const std::string& html)
{
    columnsHtml_ = html;
    passageView_->viewer()->loadFromBytes(html);
}

void ReadingPage::setPassageSource(const QString& reference, const QString& version, bool shippedBible)
{
    copyCaption_ = QStringLiteral("%1 (%2)").arg(reference, version);
    printedVersion_ = shippedBible ? QString() : version;
}

void ReadingPage::setChapterLinks(bool on)
{
    passageView_->setChapterLinks(on);
}

void ReadingPage::assignPreferences(Preferences& prefs)
{
    passageView_->assignPreferences(prefs);
    if (!columnsHtml_.empty())
        passageView_->viewer()->loadFromBytes(columnsHtml_);
}

HtmlViewer* ReadingPage::pagedPrintout() const
{
    return passageView_->viewer();
}

QString ReadingPage::printTitle() const
{
    const std::string& dayLine = passageView_->dayLine();
    const QString title = fromBytes(passageView_->title() + " " + dayLine.substr(0, dayLine.find(':')));
    return printedVersion_.isEmpty() ? title : QStringLiteral("%1 (%2)").arg(title, printedVersion_);
}

} // namespace kovara::ui
