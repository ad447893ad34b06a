#include "ui/bible/search_panel.h"

#include "core/base/exception.h"
#include "core/content/reference_parser.h"
#include "ui/base/html_viewer.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace kovara::ui {

namespace {
// The pause after a key before the search starts: long enough that a word
// typed at speed is searched once, short enough that the results follow the
// last key at once (a search takes about 10 ms). A search that a later key
// overtakes is cancelled, never shown.
constexpr int kPauseMs = 60;
// A further page is read when the reader is this many pixels from the end.
constexpr int kLoadMoreMargin = 400;
} // namespace

SearchPanel::SearchPanel(QWidget* parent) : QWidget(parent)
{
    searchEdit_ = new QLineEdit;
    searchEdit_->setObjectName(QStringLiteral("searchEdit"));
    searchEdit_->setPlaceholderText(tr("Search: words, \"a phrase\", believ*, AND OR NOT"));
    searchEdit_->setClearButtonEnabled(true);
    searchEdit_->setAccessibleName(tr("Search the Bible"));
    scopeList_ = new QComboBox;
    scopeList_->setObjectName(QStringLiteral("scopeList"));
    scopeList_->setAccessibleName(tr("Search in"));
    scopeList_->addItems({tr("Whole Bible"), tr("Old Testament"),
                          tr("New Testament"), tr("This book")});
    orderList_ = new QComboBox;
    orderList_->setObjectName(QStringLiteral("orderList"));
    orderList_->setAccessibleName(tr("Order of results"));
    orderList_->addItems({tr("Bible order"), tr("Most relevant first")});
    versionScopeList_ = new QComboBox;
    versionScopeList_->setObjectName(QStringLiteral("versionScopeList"));
    versionScopeList_->addItems({tr("This version"), tr("All versions")});
    versionScopeList_->setToolTip(tr("Search this version or every imported one"));
    versionScopeList_->hide(); // until there is another version
    countLabel_ = new QLabel;
    countLabel_->setObjectName(QStringLiteral("countLabel"));
    countLabel_->setTextFormat(Qt::PlainText);
    countLabel_->setWordWrap(true);
    countLabel_->setContentsMargins(4, 0, 4, 0);
    resultsViewer_ = new HtmlViewer;
    resultsViewer_->setObjectName(QStringLiteral("resultsViewer"));
    resultsViewer_->setAccessibleName(tr("Search results"));
    // One Tab stop, not one per result: Up and Down go through the results
    // and Enter opens the one marked.
    resultsViewer_->setTabChangesFocus(true);
    resultsViewer_->setTextInteractionFlags(resultsViewer_->textInteractionFlags() & ~Qt::LinksAccessibleByKeyboard);
    resultsViewer_->installEventFilter(this);
    // Results of Latin text are set without kerning or the shaping engine
    // (text in a script that needs shaping is still shaped): their layout is
    // most of what a further page of results costs, and this halves it.
    QFont resultsFont = resultsViewer_->font();
    resultsFont.setStyleStrategy(QFont::PreferNoShaping);
    resultsFont.setKerning(false);
    resultsViewer_->setFont(resultsFont);
    resultsViewer_->document()->setDefaultFont(resultsFont);
    searchEdit_->installEventFilter(this);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    bar->addWidget(searchEdit_, 1);
    bar->addWidget(versionScopeList_);
    bar->addWidget(scopeList_);
    bar->addWidget(orderList_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(countLabel_);
    layout->addWidget(resultsViewer_, 1);

    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(kPauseMs);
    connect(pause_, &QTimer::timeout, this, [this] { searchNow(); });
    connect(searchEdit_, &QLineEdit::textChanged, this, [this] {
        // What runs now searches text the reader has already changed.
        if (worker_.joinable())
            search_->cancel();
        pause_->start();
    });
    connect(searchEdit_, &QLineEdit::returnPressed, this, [this] { searchNow(); });
    connect(scopeList_, &QComboBox::currentIndexChanged, this, [this] { searchNow(); });
    connect(orderList_, &QComboBox::currentIndexChanged, this, [this] { searchNow(); });
    connect(versionScopeList_, &QComboBox::currentIndexChanged, this, [this] { searchNow(); });
    resultsViewer_->setCopyCaption([this] { return selectionReference(); });
    connect(resultsViewer_, &QTextEdit::selectionChanged, this, &SearchPanel::selectionChanged);
    connect(resultsViewer_->verticalScrollBar(), &QScrollBar::valueChanged, this, &SearchPanel::loadMoreIfNearEnd);
    connect(resultsViewer_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        const QString name = url.fragment();
        if (name.startsWith(QLatin1Char('v')))
            emit verseChosen(name.mid(1).toInt());
    });
}

bool SearchPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == searchEdit_ && key->key() == Qt::Key_Escape && !searchEdit_->text().isEmpty()) {
        searchEdit_->clear();
        searchNow();
        return true;
    }
    if (watched == resultsViewer_ && !shownVerses_.empty() && key->modifiers() == Qt::NoModifier) {
        const int last = static_cast<int>(shownVerses_.size()) - 1;
        switch (key->key()) {
        case Qt::Key_Down:
            if (markedResult_ == last)
                loadMore(); // the next page comes below; Down again goes on
            markResult(std::min(markedResult_ + 1, last));
            return true;
        case Qt::Key_Up: markResult(std::max(markedResult_ - 1, 0)); return true;
        case Qt::Key_Home: markResult(0); return true;
        case Qt::Key_End: markResult(last); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (markedResult_ >= 0)
                emit verseChosen(shownVerses_[markedResult_]);
            return true;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SearchPanel::clearResults()
{
    foundCount_ = 0;
    allVersionsShown_ = false;
    hitVersions_.clear();
    shownReferences_.clear();
    shownVerses_.clear();
    markedResult_ = -1;
    resultsViewer_->setExtraSelections({});
    resultsViewer_->loadFromString(QString());
}

void SearchPanel::markResult(int index)
{
    markedResult_ = index;
    QList<QTextEdit::ExtraSelection> marks;
    const QTextBlock block = resultsViewer_->document()->findBlockByNumber(index);
    if (index >= 0 && block.isValid()) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(block);
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        mark.format.setBackground(palette().color(QPalette::Highlight).lighter(170));
        marks << mark;
        // The whole result in view: its end, then its start.
        QTextCursor end(block);
        end.movePosition(QTextCursor::EndOfBlock);
        resultsViewer_->setTextCursor(end);
        resultsViewer_->ensureCursorVisible();
        resultsViewer_->setTextCursor(QTextCursor(block));
        resultsViewer_->ensureCursorVisible();
    }
    resultsViewer_->setExtraSelections(marks);
}

QString SearchPanel::searchedWordsPattern() const
{
    if (foundCount_ == 0)
        return {};
    // The index's own reading of the text: each word or phrase quoted, a
    // prefix with * after it, NOT before what must not be there.
    const SearchExpression expression = translateSearchText(shownRequest_.text);
    if (!expression.ok)
        return {};
    static const QRegularExpression operand(QStringLiteral("(NOT )?\"((?:[^\"]|\"\")*)\"(\\*)?"));
    QStringList alternatives;
    for (auto match = operand.globalMatch(QString::fromStdString(expression.expression)); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        if (m.capturedLength(1) > 0)
            continue;
        QStringList words;
        for (const QString& word : m.captured(2).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            words << QRegularExpression::escape(word);
        // Words of a phrase with anything but letters between them, as the
        // index reads "said, Lord" as the phrase "said lord".
        alternatives << words.join(QStringLiteral("\\W+")) + (m.capturedLength(3) > 0 ? QStringLiteral("\\w*") : QString());
    }
    if (alternatives.isEmpty())
        return {};
    return QStringLiteral("\\b(?:%1)\\b").arg(alternatives.join(QLatin1Char('|')));
}

void SearchPanel::setSearchText(const QString& text)
{
    searchEdit_->setText(text);
}

void SearchPanel::focusSearchField()
{
    searchEdit_->setFocus(Qt::ShortcutFocusReason);
    searchEdit_->selectAll();
}

SearchPanel::~SearchPanel()
{
    if (worker_.joinable()) {
        cancelSearches();
        worker_.join();
    }
}

void SearchPanel::cancelSearches()
{
    if (search_)
        search_->cancel();
    for (const std::unique_ptr<BibleSearch>& other : otherSearches_)
        if (other)
            other->cancel();
}

void SearchPanel::setOtherVersions(std::vector<std::pair<std::string, QString>> versions)
{
    if (versions == otherVersions_)
        return;
    if (worker_.joinable()) {
        cancelSearches();
        worker_.join(); // its cancelled result arrives later and is dropped
        pending_ = false;
    }
    otherSearches_.clear();
    otherVersions_ = std::move(versions);
    versionScopeList_->setVisible(!otherVersions_.empty());
    if (otherVersions_.empty())
        versionScopeList_->setCurrentIndex(0);
}

void SearchPanel::setAllVersions(bool all)
{
    versionScopeList_->setCurrentIndex(all && !otherVersions_.empty() ? 1 : 0);
}

void SearchPanel::setBible(const std::string& fileName, std::vector<QString> bookNames, const QString& abbreviation)
{
    // Another version: its own index from the next search on, and the words
    // searched for looked up again in it.
    const bool changed = fileName != fileName_;
    if (changed && search_) {
        if (worker_.joinable()) {
            cancelSearches();
            worker_.join(); // its cancelled result arrives later and is dropped
            pending_ = false;
        }
        search_.reset();
    }
    fileName_ = fileName;
    bookNames_ = std::move(bookNames);
    // A result is one verse: a psalm's reads "Psalm 23:4".
    citedNames_.clear();
    for (std::size_t i = 0; i < bookNames_.size(); ++i)
        citedNames_.push_back(
            QString::fromStdString(citedBookName(static_cast<int>(i) + 1, bookNames_[i].toStdString())));
    abbreviation_ = abbreviation;
    if (changed && !searchEdit_->text().trimmed().isEmpty())
        searchNow();
}

void SearchPanel::setCurrentBook(int book)
{
    if (book == currentBook_)
        return;
    currentBook_ = book;
    if (scopeList_->currentIndex() == static_cast<int>(SearchScope::Book) &&
        !searchEdit_->text().trimmed().isEmpty())
        searchNow();
}

bool SearchPanel::hasSelection() const
{
    return resultsViewer_->selectionLength() > 0;
}

void SearchPanel::copySelection()
{
    resultsViewer_->copySelection();
}

QString SearchPanel::selectionReference() const
{
    const QTextCursor cursor = resultsViewer_->textCursor();
    if (!cursor.hasSelection())
        return {};
    // Each result is a paragraph of its own, in the order shown.
    QTextDocument* doc = resultsViewer_->document();
    const int first = doc->findBlock(cursor.selectionStart()).blockNumber();
    int last = doc->findBlock(cursor.selectionEnd()).blockNumber();
    // A selection that ends at the very start of a result does not touch it.
    if (last > first && doc->findBlock(cursor.selectionEnd()).position() == cursor.selectionEnd())
        --last;
    QStringList references;
    for (int i = first; i <= last && i < static_cast<int>(shownReferences_.size()); ++i)
        references << shownReferences_[i];
    if (references.isEmpty())
        return {};
    QString text = references.join(QStringLiteral("; "));
    if (!abbreviation_.isEmpty() && !allVersionsShown_)
        text += QStringLiteral(" (%1)").arg(abbreviation_);
    return text;
}

void SearchPanel::searchNow()
{
    pause_->stop();
    if (worker_.joinable()) {
        // The running search is out of date: stop it; the new one starts
        // when it has gone.
        pending_ = true;
        cancelSearches();
        return;
    }
    SearchRequest request;
    request.text = searchEdit_->text().toStdString();
    request.scope = static_cast<SearchScope>(scopeList_->currentIndex());
    request.book = currentBook_;
    request.order = orderList_->currentIndex() == 1 ? SearchOrder::Relevance : SearchOrder::BibleOrder;
    if (request.text.find_first_not_of(" \t") == std::string::npos) {
        countLabel_->clear();
        clearResults();
        emit resultsShown();
        return;
    }
    request.offset = 0;
    request.counted = true;
    try {
        if (!search_)
            search_ = std::make_unique<BibleSearch>(fileName_);
        if (versionScopeList_->currentIndex() == 1 && otherSearches_.empty())
            for (const auto& [file, abbreviation] : otherVersions_)
                otherSearches_.push_back(std::make_unique<BibleSearch>(file));
    } catch (const std::exception& e) {
        otherSearches_.clear();
        countLabel_->setText(QString::fromUtf8(e.what()));
        return;
    }
    // What the count will name when nothing is found.
    searchedText_ = searchEdit_->text();
    switch (request.scope) {
    case SearchScope::WholeBible: scopeText_ = tr("the whole Bible"); break;
    case SearchScope::OldTestament: scopeText_ = tr("the Old Testament"); break;
    case SearchScope::NewTestament: scopeText_ = tr("the New Testament"); break;
    case SearchScope::Book:
        scopeText_ = currentBook_ >= 1 && currentBook_ <= static_cast<int>(bookNames_.size())
                         ? bookNames_[currentBook_ - 1]
                         : tr("this book");
        break;
    }
    shownRequest_ = request;
    startSearch(std::move(request));
}

void SearchPanel::loadMore()
{
    if (worker_.joinable() || pause_->isActive() || !search_ || allVersionsShown_ || shownCount() >= foundCount_)
        return;
    SearchRequest request = shownRequest_;
    request.offset = shownCount();
    request.counted = false;
    startSearch(std::move(request));
}

void SearchPanel::loadMoreIfNearEnd()
{
    const QScrollBar* bar = resultsViewer_->verticalScrollBar();
    // A hidden list has no height to go by.
    if (resultsViewer_->isVisible() && shownCount() < foundCount_ && bar->maximum() - bar->value() < kLoadMoreMargin)
        loadMore();
}

void SearchPanel::startSearch(SearchRequest request)
{
    QPointer<SearchPanel> self(this);
    // This version first, then the others in the list's order.
    std::vector<std::pair<BibleSearch*, QString>> searches{{search_.get(), abbreviation_}};
    const bool all = versionScopeList_->currentIndex() == 1;
    for (std::size_t i = 0; all && i < otherSearches_.size(); ++i)
        searches.emplace_back(otherSearches_[i].get(), otherVersions_[i].second);
    worker_ = std::thread([self, searches, all, request = std::move(request)] {
        SearchResult result;
        std::vector<QString> hitVersions;
        try {
            for (const auto& [search, abbreviation] : searches) {
                SearchResult one = search->search(request);
                if (!one.ok || one.cancelled) {
                    result = std::move(one);
                    hitVersions.clear();
                    break;
                }
                result.ok = true;
                result.offset = one.offset;
                result.count += one.count;
                for (SearchHit& hit : one.hits) {
                    result.hits.push_back(std::move(hit));
                    if (all)
                        hitVersions.push_back(abbreviation);
                }
            }
        } catch (const std::exception& e) {
            result = SearchResult();
            hitVersions.clear();
            result.message = e.what();
        }
        // The panel outlives the thread (its destructor joins it), so the
        // queued call finds it alive unless it is being destroyed.
        QMetaObject::invokeMethod(
            self.data(),
            [self, result = std::move(result), hitVersions = std::move(hitVersions)] {
                if (self)
                    self->showResult(result, hitVersions);
            },
            Qt::QueuedConnection);
    });
}

void SearchPanel::showResult(const SearchResult& result, const std::vector<QString>& hitVersions)
{
    if (worker_.joinable())
        worker_.join();
    if (pending_) {
        pending_ = false;
        searchNow();
        return;
    }
    // Overtaken by a key typed while it ran: the search of the newer text is
    // due, and these results would only flash up before it.
    if (result.cancelled || pause_->isActive())
        return;
    if (result.offset > 0) {
        // A further page of the search shown, unless a new search has
        // replaced it meanwhile (that one came back through pending_).
        if (result.ok && result.offset == shownCount()) {
            hitVersions_.insert(hitVersions_.end(), hitVersions.begin(), hitVersions.end());
            appendHits(result.hits);
            showCount();
            emit moreResultsShown();
            loadMoreIfNearEnd(); // a tall window may show the whole page at once
        }
        return;
    }
    if (!result.ok) {
        countLabel_->setText(QString::fromUtf8(result.message));
        clearResults();
        emit resultsShown();
        return;
    }
    if (result.count == 0) {
        // Name what was looked for and where, and how to find more.
        QString searched = searchedText_.simplified();
        if (!searched.contains(QLatin1Char('"')))
            searched = QStringLiteral("\"%1\"").arg(searched);
        countLabel_->setText(tr("No verses found for %1 in %2. Check the spelling, or end a word with * to find "
                                "every word that starts with it (believ*).")
                                 .arg(searched, scopeText_));
        clearResults();
        emit resultsShown();
        return;
    }
    clearResults();
    foundCount_ = result.count;
    hitVersions_ = hitVersions;
    allVersionsShown_ = !hitVersions.empty();
    appendHits(result.hits);
    showCount();
    emit resultsShown();
}

void SearchPanel::showCount()
{
    const QLocale english(QLocale::English);
    // The number as the English locale writes it ("1,234"), whatever the form.
    QString count = tr("%1 verses", nullptr, foundCount_).arg(english.toString(foundCount_));
    if (allVersionsShown_)
        count = tr("%1 in %2 versions").arg(count).arg(otherVersions_.size() + 1);
    // Further pages come for one version; a search of all shows its first.
    if (shownCount() < foundCount_)
        count += allVersionsShown_ ? tr(" (the first %1 shown)").arg(english.toString(shownCount()))
                                   : tr(" (the first %1 shown; scroll for more)").arg(english.toString(shownCount()));
    countLabel_->setText(count);
}

void SearchPanel::appendHits(const std::vector<SearchHit>& hits)
{
    if (hits.empty())
        return;
    const bool firstPage = shownVerses_.empty();
    QString html;
    QStringList references;
    for (const SearchHit& hit : hits) {
        const QString book = hit.book >= 1 && hit.book <= static_cast<int>(citedNames_.size())
                                 ? citedNames_[hit.book - 1]
                                 : QString::number(hit.book);
        QString reference = QStringLiteral("%1 %2:%3").arg(book, QString::number(hit.chapter), QString::number(hit.verse));
        // Every result names its version when all were searched.
        const std::size_t at = shownReferences_.size();
        if (at < hitVersions_.size())
            reference += QStringLiteral(" (%1)").arg(hitVersions_[at]);
        shownReferences_.push_back(reference);
        shownVerses_.push_back(hit.verseIndex);
        if (!firstPage) {
            references << reference;
            continue;
        }
        html += QStringLiteral("<p><a href=\"#v%1\"><b>%2</b></a> %3</p>")
                    .arg(hit.verseIndex)
                    .arg(reference.toHtmlEscaped())
                    .arg(QString::fromUtf8(hitHtml(hit.markedText)));
    }
    if (firstPage) {
        // The first page as HTML: the viewer lays out a whole new document
        // a screenful at a time, so the first results show at once.
        resultsViewer_->loadFromString(html);
        return;
    }
    appendParagraphs(hits, references);
}

void SearchPanel::appendParagraphs(const std::vector<SearchHit>& hits, const QStringList& references)
{
    // Below the results shown, each result a paragraph of its own (the copy's
    // references count on it), leaving the reader's place and selection be.
    // The paragraphs are written straight into the document in the formats
    // the first page's HTML gave its first result: reading the page as HTML
    // again would cost more than laying it out.
    QTextDocument* doc = resultsViewer_->document();
    const QTextBlock model = doc->firstBlock();
    QTextCharFormat linkFormat;
    QTextCharFormat textFormat = model.charFormat();
    if (QTextBlock::iterator part = model.begin(); !part.atEnd()) {
        linkFormat = part.fragment().charFormat();
        if (!(++part).atEnd())
            textFormat = part.fragment().charFormat();
    }
    QTextCharFormat wordFormat = textFormat;
    wordFormat.setFontWeight(QFont::Bold);
    const QTextBlockFormat blockFormat = model.blockFormat();

    const QScrollBar* bar = resultsViewer_->verticalScrollBar();
    const int place = bar->value();
    QTextCursor end(doc);
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    for (std::size_t i = 0; i < hits.size(); ++i) {
        end.insertBlock(blockFormat, textFormat);
        QTextCharFormat link = linkFormat;
        link.setAnchorHref(QStringLiteral("#v%1").arg(hits[i].verseIndex));
        end.insertText(references[static_cast<qsizetype>(i)], link);
        end.insertText(QStringLiteral(" "), textFormat);
        // The matched words between their marks, in bold.
        const QString text = QString::fromUtf8(hits[i].markedText).simplified();
        qsizetype from = 0;
        bool word = false;
        for (qsizetype at = 0; at <= text.size(); ++at) {
            if (at < text.size() && text[at] != QLatin1Char(kHitStart) && text[at] != QLatin1Char(kHitEnd))
                continue;
            if (at > from)
                end.insertText(text.mid(from, at - from), word ? wordFormat : textFormat);
            if (at < text.size())
                word = text[at] == QLatin1Char(kHitStart);
            from = at + 1;
        }
    }
    end.endEditBlock();
    resultsViewer_->verticalScrollBar()->setValue(place);
}

} // namespace kovara::ui
