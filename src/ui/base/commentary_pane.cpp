#include "ui/base/commentary_pane.h"
#include "ui/base/core_names.h"

#include "core/content/bible_store.h"
#include "core/content/reference_parser.h"
#include "core/sword/sword_backend.h"
#include "ui/base/html_viewer.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

namespace kovara::ui {

CommentaryPane::CommentaryPane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("commentaryPane"));
    list_ = new QComboBox;
    list_->setObjectName(QStringLiteral("commentaryList"));
    list_->setAccessibleName(tr("Commentary"));
    connect(list_, qOverload<int>(&QComboBox::activated), this, [this](int index) { choose(index); });
    message_ = new QLabel;
    message_->setObjectName(QStringLiteral("commentaryMessage"));
    message_->setTextFormat(Qt::PlainText);
    message_->setWordWrap(true);
    message_->hide();
    viewer_ = new HtmlViewer;
    viewer_->setObjectName(QStringLiteral("commentaryViewer"));
    viewer_->setAccessibleName(tr("Commentary"));
    // A whole psalm's entry is long; shaping took most of its layout.
    viewer_->setPlainShaping(true);
    connect(viewer_, &HtmlViewer::linkClicked, this, &CommentaryPane::linkClicked);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->addWidget(list_);
    layout->addWidget(message_);
    layout->addWidget(viewer_, 1);
}

CommentaryPane::~CommentaryPane() = default;

bool CommentaryPane::activate()
{
    if (!tried_) {
        tried_ = true;
        try {
            sword_ = loadSwordBackend();
            for (const SwordModuleInfo& module : sword_->modules())
                if (module.type == SwordModuleType::Commentary) {
                    list_->addItem(QString::fromStdString(module.description));
                    modules_.push_back(module.name);
                }
        } catch (const std::exception& e) {
            sword_.reset();
            showMessage(QString::fromUtf8(e.what()));
            return false;
        }
        if (modules_.empty()) {
            showMessage(tr("No commentary of the SWORD library is installed on this computer."));
            return false;
        }
    }
    if (!sword_ || modules_.empty())
        return false;
    showEntry();
    return showsEntry();
}

QStringList CommentaryPane::names() const
{
    QStringList names;
    for (int i = 0; i < list_->count(); ++i)
        names << list_->itemText(i);
    return names;
}

bool CommentaryPane::choose(int index)
{
    if (index < 0 || index >= list_->count())
        return false;
    list_->setCurrentIndex(index);
    showEntry();
    return showsEntry();
}

bool CommentaryPane::showsEntry() const
{
    return message_->isHidden();
}

void CommentaryPane::follow(const BibleStore& bible, int book, int chapter, int verse)
{
    const bool same = &bible == bible_ && book == book_ && chapter == chapter_ && verse == verse_;
    bible_ = &bible;
    book_ = book;
    chapter_ = chapter;
    verse_ = verse;
    if (!same)
        showEntry();
}

void CommentaryPane::showMessage(const QString& message)
{
    shown_.clear();
    message_->setText(message);
    message_->setVisible(!message.isEmpty());
    if (!message.isEmpty())
        viewer_->loadFromString(QString());
}

void CommentaryPane::showEntry()
{
    if (isHidden() || !sword_ || list_->currentIndex() < 0 || !bible_ || book_ < 1 || book_ > BibleStore::kMaxBooks ||
        verse_ < 1)
        return;
    const std::string& module = modules_[static_cast<std::size_t>(list_->currentIndex())];
    try {
        std::string entry;
        int from = verse_;
        for (; from >= 1 && entry.empty(); --from)
            entry = sword_->commentaryEntry(module, book_, chapter_, from);
        ++from;
        // The entry shown already (a long one, as a whole psalm's) is not laid
        // out again while the reader moves through the verses it covers.
        const QString shown =
            QStringLiteral("%1 %2.%3.%4").arg(QString::fromStdString(module)).arg(book_).arg(chapter_).arg(from);
        if (!entry.empty() && shown == shown_)
            return;
        showMessage({});
        shown_ = entry.empty() ? QString() : shown;
        if (entry.empty()) {
            viewer_->loadFromString(
                tr("<p><i>%1 has nothing on %2.</i></p>")
                    .arg(list_->currentText().toHtmlEscaped(),
                         QString::fromUtf8(referenceText(PassageRef{book_, chapter_, 0, chapter_, 0}, *bible_))
                             .toHtmlEscaped()));
            return;
        }
        const QString heading =
            QString::fromUtf8(referenceText(PassageRef{book_, chapter_, from, chapter_, from}, *bible_));
        viewer_->loadFromString(QStringLiteral("<p><b>%1</b></p>").arg(heading.toHtmlEscaped()) +
                                QString::fromUtf8(entry));
    } catch (const std::exception& e) {
        showMessage(QString::fromUtf8(e.what()));
    }
}

} // namespace kovara::ui
