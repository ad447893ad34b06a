#pragma once
// The side bar: a column of headed groups, each a list of flat buttons bound
// to QActions. A button shares its action's caption, enabled state and
// handler, so the side bar never runs code of its own. Groups are always open
// and cannot be closed.
#include <QFrame>
#include <QString>

class QAction;
class QToolButton;
class QVBoxLayout;

namespace kovara::ui {

class TGroupBarGroup : public QFrame {
    Q_OBJECT
public:
    TGroupBarGroup(const QString& caption, QWidget* parent = nullptr);

    QString Caption() const;

    // Appends a button for action; bold shows the caption in bold.
    QToolButton* AddAction(QAction* action, bool bold = false);
    // Inserts a button at position (0 = first entry; past the end appends).
    QToolButton* InsertAction(int position, QAction* action, bool bold = false);
    // Removes (and deletes) the button of action; the action itself is kept.
    void RemoveAction(QAction* action);

    // The actions of the entries, top to bottom.
    QList<QAction*> EntryActions() const;
    // The button of action, or null.
    QToolButton* ButtonFor(const QAction* action) const;

private:
    QVBoxLayout* entries_;
};

class TGroupBar : public QFrame {
    Q_OBJECT
public:
    explicit TGroupBar(QWidget* parent = nullptr);

    // Appends a group headed caption; objectName names the group.
    TGroupBarGroup* AddGroup(const QString& objectName, const QString& caption);
    QList<TGroupBarGroup*> Groups() const;

private:
    QVBoxLayout* groups_;
};

} // namespace kovara::ui
