#pragma once
// The side bar: a column of headed groups, each a list of flat buttons bound
// to QActions. A button shares its action's caption, enabled state and
// handler, so the side bar never runs code of its own. Groups are always open
// and cannot be closed.
#include "ui/base/core_names.h"
#include <QFrame>
#include <QString>

class QAction;
class QToolButton;
class QVBoxLayout;

namespace kovara::ui {

// An entry's caption as its button shows it: the action's text without the
// "&" that marks a menu's Alt letter ("&&" stays, and shows as one "&"). The
// side bar has no Alt letters of its own, so the menus keep theirs.
QString sideBarCaption(const QString& actionText);

class GroupBarGroup : public QFrame {
    Q_OBJECT
public:
    GroupBarGroup(const QString& caption, QWidget* parent = nullptr);

    QString caption() const;

    // Appends a button for action; bold shows the caption in bold.
    QToolButton* addCommand(QAction* action, bool bold = false);
    // Inserts a button at position (0 = first entry; past the end appends).
    // Tab reaches it in its place top to bottom, however late it came.
    QToolButton* insertCommand(int position, QAction* action, bool bold = false);
    // Removes (and deletes) the button of action; the action itself is kept.
    void removeCommand(QAction* action);

    // The actions of the entries, top to bottom.
    QList<QAction*> entryActions() const;
    // The button of action, or null.
    QToolButton* buttonFor(const QAction* action) const;

private:
    QVBoxLayout* entries_;
};

class GroupBar : public QFrame {
    Q_OBJECT
public:
    explicit GroupBar(QWidget* parent = nullptr);

    // Appends a group headed caption; objectName names the group.
    GroupBarGroup* addGroup(const QString& objectName, const QString& caption);
    QList<GroupBarGroup*> groups() const;
    // Marks the entry of action as the page shown (its button highlighted,
    // its "current" property true) and no other; null marks none.
    void markCurrent(const QAction* action);

private:
    QVBoxLayout* groups_;
};

} // namespace kovara::ui
