#pragma once
// A commentary of the SWORD library beside a passage: a list of the
// installed commentaries, a line that says why none shows, and the chosen
// one's entry for a verse, read live through the SWORD plug-in. The plug-in
// is loaded the first time the pane is activated, never before. The Bible
// page and the reading page each hold one.
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;

namespace kovara::core {
class BibleStore;
class SwordBackend;
} // namespace kovara::core

namespace kovara::ui {

class HtmlViewer;

class CommentaryPane : public QWidget {
    Q_OBJECT
public:
    explicit CommentaryPane(QWidget* parent = nullptr);
    ~CommentaryPane() override;

    // Loads the SWORD plug-in (the first time) and lists its commentaries.
    // Returns whether one can show; otherwise the pane says why (no
    // plug-in, no commentary installed).
    bool activate();
    // The commentaries offered, by description.
    QStringList names() const;
    // Shows the commentary at index of that list for the place given last.
    // Returns whether its entry shows; otherwise the pane says why.
    bool choose(int index);

    // Shows the chosen commentary's entry for book, chapter and verse (KJV
    // numbering, book 1-66; bible names the place in the heading): the
    // nearest entry at or before the verse, as a commentary often speaks of
    // several verses at their first. An entry already shown is not laid out
    // again. While the pane is hidden the place is only kept, for when it
    // shows; nothing shows before activate has found a commentary, or for
    // books outside the 66. bible must outlive the place (or be given anew).
    void follow(const core::BibleStore& bible, int book, int chapter, int verse);
    // The verse whose entry was asked for last; 0 when none.
    int verse() const { return verse_; }
    // Whether an entry (or the note that the commentary has none) shows,
    // not a message.
    bool showsEntry() const;

signals:
    // A scripture reference of the entry was clicked ("bible:19.23.1").
    void linkClicked(const QString& href);

private:
    void showMessage(const QString& message);
    void showEntry();

    QComboBox* list_;
    QLabel* message_;
    HtmlViewer* viewer_;
    std::unique_ptr<core::SwordBackend> sword_;
    std::vector<std::string> modules_; // beside the list's entries
    bool tried_ = false;
    const core::BibleStore* bible_ = nullptr;
    int book_ = 0;
    int chapter_ = 0;
    int verse_ = 0;
    QString shown_; // the module and place of the entry shown
};

} // namespace kovara::ui
