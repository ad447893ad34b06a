#include "ui/bible/bible_page.h"

#include "core/settings/settings_keys.h"
#include "core/content/bible_store.h"
#include "core/content/reference_parser.h"
#include "core/sword/imported_bibles.h"
#include "core/sword/side_by_side.h"
#include "core/sword/sword_import.h"
#include "ui/base/commentary_pane.h"
#include "ui/base/html_viewer.h"
#include "ui/base/passage_view.h"
#include "ui/base/text_codec.h"
#include "ui/bible/search_panel.h"

#include <QAction>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace kovara::ui {
namespace {

// The start of a verse as the viewer shows it: markup and entities gone,
// blanks collapsed. A few words are enough to find the verse in its chapter.
QString shownStart(const std::string& verseText)
{
    QString text = QString::fromUtf8(verseText);
    text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    text = text.simplified();
    return text.left(24);
}

} // namespace

BiblePage::BiblePage(QWidget* parent) : ContentPage(parent)
{
    setObjectName(QStringLiteral("biblePage"));
    goToEdit_ = new QLineEdit;
    goToEdit_->setObjectName(QStringLiteral("goToEdit"));
    goToEdit_->setPlaceholderText(tr("Go to, e.g. John 3:16"));
    goToEdit_->setClearButtonEnabled(true);
    goToEdit_->setAccessibleName(tr("Go to a reference"));
    goToEdit_->setMinimumWidth(140);
    goToMessage_ = new QLabel;
    goToMessage_->setObjectName(QStringLiteral("goToMessage"));
    goToMessage_->setStyleSheet(QStringLiteral("color: #a00000;"));
    goToMessage_->setTextFormat(Qt::PlainText);
    // A line of its own under the bar, wrapped: beside the field a long
    // message (or a translated one) had no room and was cut at both ends.
    goToMessage_->setWordWrap(true);
    goToMessage_->setContentsMargins(4, 0, 4, 2);
    goToMessage_->hide();

    // Read again each time it opens: a Bible imported meanwhile is offered.
    class VersionList : public QComboBox {
    public:
        explicit VersionList(std::function<void()> refresh) : refresh_(std::move(refresh)) {}
        void showPopup() override
        {
            refresh_();
            QComboBox::showPopup();
        }

    private:
        std::function<void()> refresh_;
    };
    versionList_ = new VersionList([this] { fillVersionList(); });
    versionList_->setObjectName(QStringLiteral("versionList"));
    versionList_->setToolTip(tr("Bible version"));
    versionList_->setAccessibleName(tr("Bible version"));
    versionList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    versionList_->hide(); // until there is a version to choose
    connect(versionList_, qOverload<int>(&QComboBox::activated), this, [this](int index) { chooseVersion(index); });

    // Other versions beside the chosen one, verse by verse.
    sideBySideButton_ = new QToolButton;
    sideBySideButton_->setObjectName(QStringLiteral("sideBySideButton"));
    sideBySideButton_->setText(tr("Side by Side"));
    sideBySideButton_->setToolTip(tr("Show other versions beside this one, up to four in all"));
    sideBySideButton_->setPopupMode(QToolButton::InstantPopup);
    auto* sideMenu = new QMenu(sideBySideButton_);
    sideMenu->setObjectName(QStringLiteral("sideBySideMenu"));
    sideBySideButton_->setMenu(sideMenu);
    connect(sideMenu, &QMenu::aboutToShow, this, [this] { fillSideBySideMenu(); });
    sideBySideButton_->hide(); // until there is another version

    commentaryButton_ = new QToolButton;
    commentaryButton_->setObjectName(QStringLiteral("commentaryButton"));
    commentaryButton_->setText(tr("Commentary"));
    commentaryButton_->setToolTip(tr("Show a commentary beside the text"));
    commentaryButton_->setCheckable(true);
    connect(commentaryButton_, &QToolButton::toggled, this, [this](bool on) { setCommentaryShown(on); });

    bookList_ = new QComboBox;
    bookList_->setObjectName(QStringLiteral("bookList"));
    bookList_->setToolTip(tr("Book"));
    chapterList_ = new QComboBox;
    chapterList_->setObjectName(QStringLiteral("chapterList"));
    chapterList_->setToolTip(tr("Chapter"));
    // Room for three digits ("119") however narrow the bar gets.
    chapterList_->setMinimumContentsLength(3);
    chapterList_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    previousChapterAction_ = new QAction(tr("Previous Chapter"), this);
    previousChapterAction_->setObjectName(QStringLiteral("previousChapterAction"));
    previousChapterAction_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    previousChapterAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    nextChapterAction_ = new QAction(tr("Next Chapter"), this);
    nextChapterAction_->setObjectName(QStringLiteral("nextChapterAction"));
    nextChapterAction_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    nextChapterAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(previousChapterAction_);
    addAction(nextChapterAction_);
    previousChapterAction_->setToolTip(tr("Previous chapter (Alt+Left)"));
    nextChapterAction_->setToolTip(tr("Next chapter (Alt+Right)"));

    // History: Alt+Left and Alt+Right stay with the chapter steps, so Back
    // and Forward take the keys of the tab and page histories elsewhere on
    // the desktop that are free here.
    struct HistoryStep {
        QAction*& action;
        QString text, toolTip;
        const char* name;
        const char* buttonName;
        QKeySequence key, deviceKey;
        const char* icon;
        QStyle::StandardPixmap fallbackIcon;
        void (BiblePage::*go)();
    };
    const HistoryStep steps[] = {
        {backAction_, tr("Back"), tr("Back to the place shown before (Ctrl+[)"), "backAction", "backButton",
         QKeySequence(Qt::CTRL | Qt::Key_BracketLeft), QKeySequence(Qt::Key_Back), "go-previous", QStyle::SP_ArrowBack,
         &BiblePage::goBack},
        {forwardAction_, tr("Forward"), tr("Forward again (Ctrl+])"), "forwardAction", "forwardButton",
         QKeySequence(Qt::CTRL | Qt::Key_BracketRight), QKeySequence(Qt::Key_Forward), "go-next",
         QStyle::SP_ArrowForward, &BiblePage::goForward},
    };
    QList<QToolButton*> historyButtons;
    for (const HistoryStep& step : steps) {
        step.action = new QAction(step.text, this);
        step.action->setObjectName(QString::fromLatin1(step.name));
        step.action->setShortcuts({step.key, step.deviceKey});
        step.action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        step.action->setToolTip(step.toolTip);
        step.action->setIcon(QIcon::fromTheme(QString::fromLatin1(step.icon), style()->standardIcon(step.fallbackIcon)));
        addAction(step.action);
        connect(step.action, &QAction::triggered, this, [this, go = step.go] { (this->*go)(); });
        auto* button = new QToolButton;
        button->setObjectName(QString::fromLatin1(step.buttonName));
        button->setDefaultAction(step.action);
        button->setAutoRaise(true);
        historyButtons << button;
    }

    previousButton_ = new QToolButton;
    previousButton_->setObjectName(QStringLiteral("previousButton"));
    previousButton_->setDefaultAction(previousChapterAction_);
    previousButton_->setArrowType(Qt::LeftArrow);
    nextButton_ = new QToolButton;
    nextButton_->setObjectName(QStringLiteral("nextButton"));
    nextButton_->setDefaultAction(nextChapterAction_);
    nextButton_->setArrowType(Qt::RightArrow);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 4, 4, 4);
    for (QToolButton* button : historyButtons)
        bar->addWidget(button);
    bar->addWidget(goToEdit_, 1);
    bar->addWidget(versionList_);
    bar->addWidget(bookList_);
    bar->addWidget(chapterList_);
    bar->addWidget(previousButton_);
    bar->addWidget(nextButton_);

    passageView_ = new PassageView;
    followText(passageView_->viewer(), passageView_->copyAction());
    passageView_->viewer()->setCopyCaption([this] { return selectionReference(); });
    auto* prayWithVerse = new QAction(tr("Pray with This Verse..."), this);
    prayWithVerse->setObjectName(QStringLiteral("prayWithVerseAction"));
    connect(prayWithVerse, &QAction::triggered, this, [this] {
        if (const QString verses = versesAtCursor(); !verses.isEmpty())
            emit prayWithVerseRequested(verses);
    });
    passageView_->viewer()->setContextActions(passageView_->viewer()->contextActions() << prayWithVerse);
    passageView_->setObjectName(QStringLiteral("biblePassageView"));
    // The header above the text names the chapter; the text does not again.
    passageView_->setHeadingsShown(false);
    // Where the keys go: the chapter's text and the results wear a coloured
    // frame while they have the focus.
    const QString focusFrame = QStringLiteral("QTextBrowser { border: 1px solid palette(mid); }"
                                              "QTextBrowser:focus { border: 2px solid palette(highlight); }");
    passageView_->viewer()->setStyleSheet(focusFrame);
    // The header names what is read here, not a reading plan.
    passageView_->setCaption(tr("The Bible"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(goToMessage_);
    searchPanel_ = new SearchPanel;
    searchPanel_->setObjectName(QStringLiteral("searchPanel"));
    searchPanel_->findChild<QTextBrowser*>(QStringLiteral("resultsViewer"))->setStyleSheet(focusFrame);
    // Copy follows the pane selected in last, whichever route asks for it.
    connect(passageView_->viewer(), &QTextEdit::selectionChanged, this, [this] {
        if (chapterHasSelection())
            lastSelected_ = Pane::Chapter;
    });
    connect(searchPanel_, &SearchPanel::selectionChanged, this, [this] {
        if (searchPanel_->hasSelection())
            lastSelected_ = Pane::Results;
        emit contentStateChanged();
    });
    // The commentary pane, beside the text.
    commentaryPane_ = new CommentaryPane;
    commentaryPane_->findChild<QTextBrowser*>(QStringLiteral("commentaryViewer"))->setStyleSheet(focusFrame);
    connect(commentaryPane_, &CommentaryPane::linkClicked, this, [this](const QString& href) { openLink(href); });
    commentaryPane_->hide();
    followTimer_ = new QTimer(this);
    followTimer_->setSingleShot(true);
    followTimer_->setInterval(150);
    connect(followTimer_, &QTimer::timeout, this, [this] { updateCommentary(); });
    connect(passageView_->viewer()->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (commentaryPane_->isVisible())
            followTimer_->start();
    });
    auto* beside = new QSplitter(Qt::Horizontal);
    beside->setObjectName(QStringLiteral("commentarySplitter"));
    beside->addWidget(passageView_);
    beside->addWidget(commentaryPane_);
    beside->setStretchFactor(0, 3);
    beside->setStretchFactor(1, 2);

    auto* split = new QSplitter(Qt::Vertical);
    split->setObjectName(QStringLiteral("bibleSplitter"));
    splitter_ = split;
    // Find in chapter: a row under the chapter's text.
    findEdit_ = new QLineEdit;
    findEdit_->setObjectName(QStringLiteral("findEdit"));
    findEdit_->setPlaceholderText(tr("Find in chapter"));
    findEdit_->setAccessibleName(tr("Find in chapter"));
    findEdit_->setClearButtonEnabled(true);
    findEdit_->installEventFilter(this);
    findMessage_ = new QLabel;
    findMessage_->setObjectName(QStringLiteral("findMessage"));
    findMessage_->setTextFormat(Qt::PlainText);
    auto* findRow = new QHBoxLayout;
    findRow->setContentsMargins(4, 2, 4, 2);
    findRow->addWidget(findEdit_, 1);
    for (const bool backward : {true, false}) {
        auto* action = new QAction(backward ? tr("Previous") : tr("Next"), this);
        action->setObjectName(QString::fromLatin1(backward ? "findPreviousAction" : "findNextAction"));
        action->setShortcut(backward ? QKeySequence(Qt::SHIFT | Qt::Key_F3) : QKeySequence(Qt::Key_F3));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        action->setToolTip(backward ? tr("Previous in the chapter (Shift+F3)") : tr("Next in the chapter (F3)"));
        addAction(action);
        connect(action, &QAction::triggered, this, [this, backward] { findInChapter(backward, false); });
        auto* button = new QToolButton;
        button->setDefaultAction(action);
        findRow->addWidget(button);
    }
    findRow->addWidget(findMessage_, 1);
    // Other versions and the commentary: beside the find row, where the bar
    // above (history, go-to, version, book, chapter, steps) leaves no room.
    findRow->addWidget(sideBySideButton_);
    findRow->addWidget(commentaryButton_);
    connect(findEdit_, &QLineEdit::textEdited, this, [this] { findInChapter(false, true); });
    auto* chapterPane = new QWidget;
    auto* chapterLayout = new QVBoxLayout(chapterPane);
    chapterLayout->setContentsMargins(0, 0, 0, 0);
    chapterLayout->setSpacing(0);
    chapterLayout->addWidget(passageView_, 1);
    chapterLayout->addLayout(findRow);
    // The chapter with its find row, beside the commentary.
    beside->insertWidget(0, chapterPane);
    split->addWidget(beside);
    split->addWidget(searchPanel_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);
    connect(searchPanel_, &SearchPanel::verseChosen, this, [this](int verseIndex) {
        if (!bible_)
            return;
        const VerseRef ref = bible_->verseReference(verseIndex);
        pendingSearchedWords_ = searchPanel_->searchedWordsPattern();
        openChapter(ref.book, ref.chapter, ref.verse, ref.verse);
    });

    // The mouse's back and forward buttons over either text.
    passageView_->viewer()->viewport()->installEventFilter(this);
    searchPanel_->findChild<QTextBrowser*>(QStringLiteral("resultsViewer"))->viewport()->installEventFilter(this);

    connect(goToEdit_, &QLineEdit::returnPressed, this, [this] { goTo(goToEdit_->text()); });
    connect(goToEdit_, &QLineEdit::textEdited, this, [this] { showGoToMessage({}); });
    connect(previousChapterAction_, &QAction::triggered, this, [this] { previousChapter(); });
    // Ctrl+F goes to the search field while the page is shown, wherever the
    // focus is (the side bar, the tool bar); a hidden page's key is not
    // active, so the prayer page keeps Ctrl+F for its own search.
    auto* find = new QAction(this);
    find->setObjectName(QStringLiteral("findAction"));
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    addAction(find);
    connect(find, &QAction::triggered, this, [this] { searchPanel_->focusSearchField(); });
    connect(nextChapterAction_, &QAction::triggered, this, [this] { nextChapter(); });
    connect(bookList_, &QComboBox::activated, this, [this](int index) { openChapter(index + 1, 1); });
    connect(chapterList_, &QComboBox::activated, this, [this](int index) { openChapter(book_, index + 1); });
    updateButtons();
}

void BiblePage::setBible(BibleStore& bible)
{
    shippedBible_ = &bible;
    useBible(bible);
    otherBible_.reset();
    versionList_->setCurrentIndex(0);
}

void BiblePage::useBible(BibleStore& bible)
{
    bible_ = &bible;
    bookList_->clear();
    for (int book = 1; book <= BibleStore::kMaxBooks && bible.chapterCount(book) > 0; ++book)
        bookList_->addItem(QString::fromUtf8(bible.longBookName(book)));
    book_ = chapter_ = 0;
    updateButtons();
}

BiblePage::~BiblePage() = default;

void BiblePage::setImportedBibleFolder(const std::string& folder)
{
    importedFolder_ = folder;
    fillVersionList();
}

void BiblePage::fillVersionList()
{
    const std::string current =
        versionList_->currentIndex() > 0 ? versionFiles_[static_cast<std::size_t>(versionList_->currentIndex())] : "";
    versionList_->clear();
    versionFiles_.clear();
    versionAbbreviations_.clear();
    versionList_->addItem(shippedBible_ ? QString::fromUtf8(shippedBible_->abbreviation()) : tr("KJV"));
    versionFiles_.emplace_back();
    versionAbbreviations_.push_back(versionList_->itemText(0));
    for (const ImportedBible& version : importedBibles(importedFolder_)) {
        versionList_->addItem(QStringLiteral("%1 - %2").arg(QString::fromStdString(version.module.abbreviation),
                                                             QString::fromStdString(version.module.description)));
        versionFiles_.push_back(version.file);
        versionAbbreviations_.push_back(QString::fromStdString(version.module.abbreviation));
        if (version.file == current)
            versionList_->setCurrentIndex(versionList_->count() - 1);
    }
    versionList_->setVisible(versionList_->count() > 1);
    sideBySideButton_->setVisible(versionList_->count() > 1);
    if (!searchFile_.empty())
        useSearchFile(searchFile_); // the others "All versions" searches
}

void BiblePage::fillSideBySideMenu()
{
    fillVersionList();
    QMenu* menu = sideBySideButton_->menu();
    menu->clear();
    const int chosen = versionList_->currentIndex();
    const auto shown = [this](const std::string& file) {
        return std::find(sideFiles_.begin(), sideFiles_.end(), file) != sideFiles_.end();
    };
    for (int i = 0; i < versionList_->count(); ++i) {
        QAction* action = menu->addAction(versionList_->itemText(i));
        action->setCheckable(true);
        const std::string& file = versionFiles_[static_cast<std::size_t>(i)];
        action->setChecked(i == chosen || shown(file));
        // The chosen version is always the first column; four columns at most.
        action->setEnabled(i != chosen && (shown(file) || sideFiles_.size() < 3));
        connect(action, &QAction::toggled, this, [this, i](bool on) {
            std::vector<int> indexes;
            for (int j = 0; j < versionList_->count(); ++j) {
                const std::string& file = versionFiles_[static_cast<std::size_t>(j)];
                const bool was = std::find(sideFiles_.begin(), sideFiles_.end(), file) != sideFiles_.end();
                if (j == i ? on : was)
                    indexes.push_back(j);
            }
            setSideBySide(indexes);
        });
    }
}

std::unique_ptr<BibleStore> BiblePage::openVersion(const std::string& file)
{
    try {
        return openImportedBible(file);
    } catch (const std::exception& e) {
        showGoToMessage(tr("This version cannot be opened: %1").arg(QString::fromUtf8(e.what())));
        return nullptr;
    }
}

bool BiblePage::setSideBySide(const std::vector<int>& versionIndexes)
{
    const std::string chosen = versionFiles_.empty() ? std::string()
                                                     : versionFiles_[static_cast<std::size_t>(
                                                           std::max(0, versionList_->currentIndex()))];
    std::vector<std::string> files;
    std::vector<std::unique_ptr<BibleStore>> bibles;
    bool ok = true;
    for (const int index : versionIndexes) {
        if (index < 0 || index >= static_cast<int>(versionFiles_.size()) || files.size() == 3)
            continue;
        const std::string& file = versionFiles_[static_cast<std::size_t>(index)];
        if (file == chosen || std::find(files.begin(), files.end(), file) != files.end())
            continue;
        // A version already shown keeps its open Bible.
        std::unique_ptr<BibleStore> bible;
        const auto kept = std::find(sideFiles_.begin(), sideFiles_.end(), file);
        if (kept != sideFiles_.end())
            bible = std::move(sideBibles_[static_cast<std::size_t>(kept - sideFiles_.begin())]);
        else if (!file.empty() && !(bible = openVersion(file))) {
            ok = false;
            continue;
        }
        files.push_back(file);
        bibles.push_back(std::move(bible));
    }
    // The Bibles shown until now go only once the page no longer shows them.
    std::vector<std::unique_ptr<BibleStore>> earlier = std::move(sideBibles_);
    sideFiles_ = std::move(files);
    sideBibles_ = std::move(bibles);
    if (book_ > 0)
        openChapter(book_, chapter_, firstVerse_, lastVerse_);
    return ok;
}

QStringList BiblePage::columnNames() const
{
    QStringList names;
    if (!bible_)
        return names;
    names << QString::fromUtf8(bible_->abbreviation());
    for (std::size_t i = 0; i < sideFiles_.size(); ++i)
        names << QString::fromUtf8(sideBibles_[i] ? sideBibles_[i]->abbreviation()
                                                  : (shippedBible_ ? shippedBible_->abbreviation() : ""));
    return names;
}

void BiblePage::renderColumns()
{
    if (sideFiles_.empty() || !bible_ || book_ == 0)
        return;
    std::vector<const BibleStore*> columns{bible_};
    for (const std::unique_ptr<BibleStore>& bible : sideBibles_)
        columns.push_back(bible ? bible.get() : shippedBible_);
    const int first = bible_->verseIndex(book_, chapter_, 1);
    const int verses = bible_->chapterLengths(book_, chapter_);
    // Several columns of a long chapter took most of their time in shaping.
    passageView_->viewer()->setPlainShaping(true);
    passageView_->viewer()->loadFromBytes(
        buildSideBySidePage(std::to_string(first) + "-" + std::to_string(first + verses - 1), columns));
}

QStringList BiblePage::versionNames() const
{
    QStringList names;
    for (int i = 0; i < versionList_->count(); ++i)
        names << versionList_->itemText(i);
    return names;
}

bool BiblePage::chooseVersion(int index)
{
    if (index < 0 || index >= static_cast<int>(versionFiles_.size()) || !shippedBible_)
        return false;
    const int book = book_, chapter = chapter_, first = firstVerse_, last = lastVerse_;
    if (index == 0) {
        useBible(*shippedBible_);
        useSearchFile(shippedSearchFile_);
        otherBible_.reset();
    } else {
        const std::string& file = versionFiles_[static_cast<std::size_t>(index)];
        const std::optional<SwordModuleInfo> info = importedModule(file);
        std::unique_ptr<BibleStore> store;
        try {
            store = std::make_unique<BibleStore>(file, info ? info->description : file,
                                                 info ? info->abbreviation : file);
        } catch (const std::exception& e) {
            showGoToMessage(tr("This version cannot be opened: %1").arg(QString::fromUtf8(e.what())));
            versionList_->setCurrentIndex(0);
            return false;
        }
        useBible(*store);
        useSearchFile(file);
        otherBible_ = std::move(store); // the earlier one goes only now that nothing shows it
    }
    versionList_->setCurrentIndex(index);
    // The version chosen is the first column, never one beside it too.
    const std::string& chosen = versionFiles_[static_cast<std::size_t>(index)];
    if (const auto side = std::find(sideFiles_.begin(), sideFiles_.end(), chosen); side != sideFiles_.end()) {
        sideBibles_.erase(sideBibles_.begin() + (side - sideFiles_.begin()));
        sideFiles_.erase(side);
    }
    if (book > 0)
        openChapter(book, chapter, first, last);
    return true;
}

void BiblePage::setSearchFile(const std::string& fileName)
{
    shippedSearchFile_ = fileName;
    if (bible_ == shippedBible_)
        useSearchFile(fileName);
}

void BiblePage::useSearchFile(const std::string& fileName)
{
    searchFile_ = fileName;
    std::vector<QString> names;
    for (int book = 1; bible_ && book <= BibleStore::kMaxBooks && bible_->chapterCount(book) > 0; ++book)
        names.push_back(QString::fromUtf8(bible_->longBookName(book)));
    searchPanel_->setBible(fileName, std::move(names),
                           bible_ ? QString::fromUtf8(bible_->abbreviation()) : QString());
    // "All versions" searches the others beside it.
    std::vector<std::pair<std::string, QString>> others;
    for (std::size_t i = 0; i < versionFiles_.size(); ++i) {
        const std::string& file = versionFiles_[i].empty() ? shippedSearchFile_ : versionFiles_[i];
        if (file != fileName && !file.empty())
            others.emplace_back(file, versionAbbreviations_[i]);
    }
    searchPanel_->setOtherVersions(std::move(others));
}

void BiblePage::assignPreferences(Preferences& prefs)
{
    hasPreferences_ = true;
    passageView_->assignPreferences(prefs); // renders again: the highlight and the columns go
    renderColumns();
    highlightVerses();
}

void BiblePage::openChapter(int book, int chapter, int firstVerse, int lastVerse)
{
    if (!bible_ || !hasPreferences_)
        return;
    const int verses = bible_->chapterLengths(book, chapter);
    if (verses <= 0)
        return;
    const int first = bible_->verseIndex(book, chapter, 1);
    const std::string spec = std::to_string(first) + "-" + std::to_string(first + verses - 1);
    const std::string title = bible_->longBookName(book) + " " + std::to_string(chapter);
    // With versions side by side the columns take the page's place at once:
    // the one-column page is not built only to be replaced.
    if (sideFiles_.empty())
        passageView_->viewer()->setPlainShaping(false);
    passageView_->showPassage(sideFiles_.empty() ? spec : std::string(), title, bible_->title(), *bible_);
    // Printed, the chapter is named on every page (the columns name it in
    // their own text).
    passageView_->viewer()->setPrintHeading(sideFiles_.empty() ? QString::fromStdString(title) : QString());
    const bool bookChanged = book != book_;
    searchedWords_ = std::exchange(pendingSearchedWords_, QString());
    book_ = book;
    chapter_ = chapter;
    renderColumns();
    firstVerse_ = std::clamp(firstVerse, 0, verses);
    lastVerse_ = firstVerse_ == 0 ? 0 : std::clamp(std::max(lastVerse, firstVerse_), firstVerse_, verses);
    moreHighlighted_.clear();
    bookList_->setCurrentIndex(book - 1);
    searchPanel_->setCurrentBook(book);
    if (bookChanged || chapterList_->count() != bible_->chapterCount(book))
        fillChapterList();
    chapterList_->setCurrentIndex(chapter - 1);
    // The field names what is shown, and a message about an earlier
    // reference goes with the move.
    goToEdit_->setText(QString::fromUtf8(
        referenceText(PassageRef{book, chapter, firstVerse_, chapter, lastVerse_}, *bible_)));
    showGoToMessage({});
    highlightVerses();
    if (!revisiting_)
        rememberPlace();
    updateButtons();
    updateCommentary();
}

void BiblePage::rememberPlace()
{
    constexpr std::size_t kMostPlaces = 100;
    const Place place{book_, chapter_, firstVerse_, lastVerse_, moreHighlighted_, searchedWords_};
    if (!history_.empty() && history_[historyAt_] == place)
        return;
    if (!history_.empty())
        history_.erase(history_.begin() + static_cast<std::ptrdiff_t>(historyAt_) + 1, history_.end());
    history_.push_back(place);
    if (history_.size() > kMostPlaces)
        history_.erase(history_.begin());
    historyAt_ = history_.size() - 1;
}

void BiblePage::showPlace(const Place& place)
{
    revisiting_ = true;
    pendingSearchedWords_ = place.searchedWords;
    openChapter(place.book, place.chapter, place.firstVerse, place.lastVerse);
    revisiting_ = false;
    if (!place.more.empty()) {
        moreHighlighted_ = place.more;
        highlightVerses();
    }
    updateButtons();
}

void BiblePage::goBack()
{
    if (!canGoBack())
        return;
    --historyAt_;
    showPlace(history_[historyAt_]);
}

void BiblePage::goForward()
{
    if (!canGoForward())
        return;
    ++historyAt_;
    showPlace(history_[historyAt_]);
}

bool BiblePage::followMouseHistoryButton(const QMouseEvent* event)
{
    if (event->button() == Qt::BackButton)
        goBack();
    else if (event->button() == Qt::ForwardButton)
        goForward();
    else
        return false;
    return true;
}

void BiblePage::mousePressEvent(QMouseEvent* event)
{
    if (followMouseHistoryButton(event))
        event->accept();
    else
        ContentPage::mousePressEvent(event);
}

bool BiblePage::findInChapter(bool backward, bool fromStart)
{
    const QString text = findEdit_->text();
    findMessage_->clear();
    HtmlViewer* viewer = passageView_->viewer();
    if (text.isEmpty())
        return false;
    QTextDocument* doc = viewer->document();
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor from = viewer->textCursor();
    if (fromStart)
        from = QTextCursor(doc); // typing looks again from the top
    else if (!backward && from.hasSelection())
        from.setPosition(from.selectionEnd());
    else if (backward && from.hasSelection())
        from.setPosition(from.selectionStart());
    QTextCursor found = doc->find(text, from, flags);
    if (found.isNull()) {
        // Round again from the other end.
        QTextCursor end(doc);
        if (backward)
            end.movePosition(QTextCursor::End);
        found = doc->find(text, end, flags);
    }
    if (found.isNull()) {
        // A match of the text as it was typed so far is no match of it now.
        QTextCursor none = viewer->textCursor();
        none.clearSelection();
        viewer->setTextCursor(none);
        findMessage_->setText(tr("Not in this chapter"));
        return false;
    }
    viewer->setTextCursor(found);
    viewer->ensureCursorVisible();
    return true;
}

bool BiblePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == findEdit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            findInChapter(key->modifiers() & Qt::ShiftModifier, false);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress && followMouseHistoryButton(static_cast<QMouseEvent*>(event)))
        return true;
    return ContentPage::eventFilter(watched, event);
}

bool BiblePage::goTo(const QString& text)
{
    if (!bible_)
        return false;
    const ReferenceResult result = parseReference(text.toStdString(), *bible_);
    if (!result.ok) {
        showGoToMessage(QString::fromStdString(result.error));
        return false;
    }
    showGoToMessage({});
    const PassageRef& p = result.passage;
    // A range that runs into later chapters is highlighted to the end of the
    // chapter shown.
    const int last = p.endChapter == p.chapter ? p.endVerse : bible_->chapterLengths(p.book, p.chapter);
    openChapter(p.book, p.chapter, p.verse, p.verse == 0 ? 0 : last);
    // A list ("John 3:16,18"): every verse it names in this chapter.
    for (const PassageRef& more : result.more)
        if (p.verse != 0 && more.book == p.book && more.chapter == p.chapter && more.verse != 0)
            moreHighlighted_.emplace_back(more.verse, more.endChapter == more.chapter ? more.endVerse : last);
    if (!moreHighlighted_.empty()) {
        highlightVerses();
        if (!history_.empty())
            history_[historyAt_].more = moreHighlighted_;
    }
    return true;
}

void BiblePage::showGoToMessage(const QString& message)
{
    goToMessage_->setText(message);
    goToMessage_->setVisible(!message.isEmpty());
}

void BiblePage::previousChapter()
{
    if (!bible_ || book_ == 0)
        return;
    if (chapter_ > 1)
        openChapter(book_, chapter_ - 1);
    else if (book_ > 1)
        openChapter(book_ - 1, bible_->chapterCount(book_ - 1));
}

void BiblePage::nextChapter()
{
    if (!bible_ || book_ == 0)
        return;
    if (chapter_ < bible_->chapterCount(book_))
        openChapter(book_, chapter_ + 1);
    else if (bible_->chapterCount(book_ + 1) > 0)
        openChapter(book_ + 1, 1);
}

void BiblePage::saveLastChapter(IniFile& settings) const
{
    if (book_ == 0)
        return;
    core::settings::kBibleBook.write(settings, book_);
    core::settings::kBibleChapter.write(settings, chapter_);
    // The share of the height the chapter takes over the search, once the
    // page has been laid out.
    const QList<int> sizes = splitter_->sizes();
    if (const int total = sizes.value(0) + sizes.value(1); total > 0)
        core::settings::kBibleSplitPercent.write(settings, (sizes.value(0) * 100 + total / 2) / total);
}

void BiblePage::restoreLastChapter(const IniFile& settings)
{
    if (!bible_)
        return;
    const int percent = core::settings::kBibleSplitPercent.read(settings);
    // In proportion: the splitter keeps it when it is laid out.
    splitter_->setSizes({percent * 100, (100 - percent) * 100});
    int book = core::settings::kBibleBook.read(settings);
    int chapter = core::settings::kBibleChapter.read(settings);
    if (bible_->chapterLengths(book, chapter) <= 0)
        book = chapter = 1;
    openChapter(book, chapter);
}

void BiblePage::fillChapterList()
{
    chapterList_->clear();
    const int chapters = bible_->chapterCount(book_);
    for (int chapter = 1; chapter <= chapters; ++chapter)
        chapterList_->addItem(QString::number(chapter));
}

void BiblePage::updateButtons()
{
    const bool shown = bible_ && book_ > 0;
    previousChapterAction_->setEnabled(shown && (book_ > 1 || chapter_ > 1));
    nextChapterAction_->setEnabled(shown && (chapter_ < bible_->chapterCount(book_) ||
                                             bible_->chapterCount(book_ + 1) > 0));
    backAction_->setEnabled(canGoBack());
    forwardAction_->setEnabled(canGoForward());
}

void BiblePage::locateVerses()
{
    verseStarts_.clear();
    if (!bible_ || book_ == 0)
        return;
    // Walk the chapter verse by verse, each found after the one before, so
    // that a verse that opens like an earlier one is not mistaken for it.
    QTextDocument* doc = passageView_->viewer()->document();
    QTextCursor from(doc);
    const int verses = bible_->chapterLengths(book_, chapter_);
    const int base = bible_->verseIndex(book_, chapter_, 1);
    for (int verse = 1; verse <= verses; ++verse) {
        const QTextCursor found = doc->find(shownStart(bible_->allVerseData(base + verse - 1).verseText), from);
        if (found.isNull()) {
            verseStarts_.clear(); // the page is not the chapter's text
            return;
        }
        // The verse number sits just before its text.
        const QTextCursor number =
            doc->find(QString::number(verse), found.selectionStart(), QTextDocument::FindBackward);
        verseStarts_.push_back(number.isNull() ? found.selectionStart() : number.selectionStart());
        from = found;
        from.setPosition(found.selectionEnd());
    }
    // The end of the last verse: before the footer's paragraph.
    QTextCursor last(doc);
    last.movePosition(QTextCursor::End);
    last.movePosition(QTextCursor::PreviousBlock);
    last.movePosition(QTextCursor::EndOfBlock);
    verseStarts_.push_back(last.position());
}

void BiblePage::markSearchedWords(QList<QTextEdit::ExtraSelection>& selections) const
{
    if (searchedWords_.isEmpty() || verseStarts_.empty())
        return;
    const QRegularExpression words(searchedWords_, QRegularExpression::CaseInsensitiveOption |
                                                       QRegularExpression::UseUnicodePropertiesOption);
    QTextDocument* doc = passageView_->viewer()->document();
    // The verses only, not the heading or the version's name below them.
    QTextCursor found(doc);
    found.setPosition(verseStarts_.front());
    while (true) {
        found = doc->find(words, found);
        if (found.isNull() || found.selectionStart() >= verseStarts_.back())
            break;
        QTextEdit::ExtraSelection mark;
        mark.cursor = found;
        mark.format.setBackground(QColor(255, 170, 60));
        mark.format.setForeground(QColor(Qt::black));
        mark.format.setFontWeight(QFont::Bold);
        selections << mark;
    }
}

void BiblePage::highlightVerses()
{
    HtmlViewer* viewer = passageView_->viewer();
    viewer->setExtraSelections({});
    locateVerses();
    const int located = static_cast<int>(verseStarts_.size());
    if (firstVerse_ == 0 || lastVerse_ >= located)
        return;
    QTextDocument* doc = viewer->document();
    QList<QTextEdit::ExtraSelection> selections;
    std::vector<std::pair<int, int>> ranges{{firstVerse_, lastVerse_}};
    ranges.insert(ranges.end(), moreHighlighted_.begin(), moreHighlighted_.end());
    for (const auto& [first, last] : ranges) {
        if (first < 1 || last < first || last >= located || verseStarts_[last] <= verseStarts_[first - 1])
            continue;
        // From the verse's number to the end of its text: not the blanks, the
        // line break and the indent before the next verse.
        int end = verseStarts_[last];
        while (end > verseStarts_[first - 1] && doc->characterAt(end - 1).isSpace())
            --end;
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(doc);
        selection.cursor.setPosition(verseStarts_[first - 1]);
        selection.cursor.setPosition(end, QTextCursor::KeepAnchor);
        selection.format.setBackground(QColor(255, 236, 140));
        selection.format.setForeground(QColor(Qt::black));
        selections << selection;
    }
    if (selections.isEmpty())
        return;
    markSearchedWords(selections);
    viewer->setExtraSelections(selections);
    const int start = verseStarts_[firstVerse_ - 1];

    // The first highlighted verse near the top, with a line of context above.
    QTextCursor top(doc);
    top.setPosition(start);
    viewer->setTextCursor(top);
    const int y = viewer->cursorRect(top).top() + viewer->verticalScrollBar()->value();
    viewer->verticalScrollBar()->setValue(std::max(0, y - viewer->fontMetrics().height() * 2));
}

QString BiblePage::selectionReference() const
{
    if (!passageView_->viewer()->textCursor().hasSelection())
        return {};
    const std::optional<PassageRef> passage = passageAtCursor();
    return passage ? QStringLiteral("%1 (%2)").arg(QString::fromUtf8(citationText(*passage, *bible_)),
                                                   columnNames().join(QStringLiteral(", ")))
                   : QString();
}

QString BiblePage::versesAtCursor() const
{
    const std::optional<PassageRef> passage = passageAtCursor();
    return passage ? QString::fromUtf8(referenceText(*passage, *bible_)) : QString();
}

std::optional<PassageRef> BiblePage::passageAtCursor() const
{
    const QTextCursor cursor = passageView_->viewer()->textCursor();
    if (!bible_ || book_ == 0)
        return std::nullopt;
    PassageRef passage{book_, chapter_, 0, chapter_, 0};
    if (verseStarts_.size() > 1) {
        // The verses the selection touches: the one it starts in (the first
        // when it starts in the heading) to the one it ends in.
        const auto verseAt = [this](int position, bool endOfRange) {
            int verse = 1;
            for (std::size_t i = 1; i + 1 < verseStarts_.size(); ++i)
                if (endOfRange ? verseStarts_[i] < position : verseStarts_[i] <= position)
                    verse = static_cast<int>(i) + 1;
            return verse;
        };
        passage.verse = verseAt(cursor.selectionStart(), false);
        passage.endVerse = std::max(passage.verse, verseAt(cursor.selectionEnd(), true));
    }
    return passage;
}

bool BiblePage::openLink(const QString& href)
{
    PassageRef passage;
    if (!parsePassageLink(href.toStdString(), passage))
        return false;
    openChapter(passage.book, passage.chapter, passage.verse, passage.endVerse);
    return true;
}

void BiblePage::focusGoToField()
{
    // Selected, so that typing replaces the reference shown.
    goToEdit_->setFocus(Qt::ShortcutFocusReason);
    goToEdit_->selectAll();
}

void BiblePage::focusPassage()
{
    passageView_->viewer()->setFocus();
}

bool BiblePage::chapterHasSelection() const
{
    return passageView_->viewer()->selectionLength() > 0;
}

bool BiblePage::canCopy() const
{
    return chapterHasSelection() || searchPanel_->hasSelection();
}

void BiblePage::copy()
{
    const bool results = searchPanel_->hasSelection() && (lastSelected_ == Pane::Results || !chapterHasSelection());
    if (results)
        searchPanel_->copySelection();
    else
        passageView_->viewer()->copySelection();
}

HtmlViewer* BiblePage::pagedPrintout() const
{
    return passageView_->viewer();
}

bool BiblePage::setCommentaryShown(bool shown)
{
    if (commentaryButton_->isChecked() != shown) {
        commentaryButton_->setChecked(shown); // comes back here through toggled
        return shown && commentaryPane_->showsEntry();
    }
    commentaryPane_->setVisible(shown);
    updateCommentary(); // the place in view, before the pane shows anything
    return shown && commentaryPane_->activate();
}

QStringList BiblePage::commentaryNames() const
{
    return commentaryPane_->names();
}

bool BiblePage::chooseCommentary(int index)
{
    return commentaryPane_->choose(index);
}

int BiblePage::commentaryVerse() const
{
    return commentaryPane_->verse();
}

int BiblePage::verseInView() const
{
    if (firstVerse_ > 0 && verseStarts_.size() > 1) {
        // The highlighted verse while it is in view.
        const QRect shown = passageView_->viewer()->viewport()->rect();
        QTextCursor at(passageView_->viewer()->document());
        at.setPosition(verseStarts_[static_cast<std::size_t>(firstVerse_ - 1)]);
        if (shown.contains(passageView_->viewer()->cursorRect(at).center()))
            return firstVerse_;
    }
    if (verseStarts_.size() < 2)
        return firstVerse_ > 0 ? firstVerse_ : 1;
    const int top = passageView_->viewer()->cursorForPosition(QPoint(4, 4)).position();
    int verse = 1;
    for (std::size_t i = 1; i + 1 < verseStarts_.size(); ++i)
        if (verseStarts_[i] <= top)
            verse = static_cast<int>(i) + 1;
    return verse;
}

void BiblePage::updateCommentary()
{
    // Kept while the pane is hidden too: the Bible it names may be replaced.
    if (bible_ && book_ > 0)
        commentaryPane_->follow(*bible_, book_, chapter_, commentaryPane_->isHidden() ? 1 : verseInView());
}

QString BiblePage::printTitle() const
{
    // The shipped Bible alone goes unnamed, as it always has.
    const QString title = fromBytes(passageView_->title());
    if (bible_ == shippedBible_ && sideFiles_.empty())
        return title;
    return QStringLiteral("%1 (%2)").arg(title, columnNames().join(QStringLiteral(", ")));
}

} // namespace kovara::ui
