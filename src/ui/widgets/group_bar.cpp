#include "ui/widgets/group_bar.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace kovara::ui {

namespace {
constexpr const char* kCaptionName = "GroupCaption";
}

TGroupBarGroup::TGroupBarGroup(const QString& caption, QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(0);

    auto* header = new QLabel(caption, this);
    header->setObjectName(QString::fromLatin1(kCaptionName));
    QFont headerFont = header->font();
    headerFont.setBold(true);
    header->setFont(headerFont);
    header->setAutoFillBackground(true);
    header->setBackgroundRole(QPalette::Mid);
    header->setForegroundRole(QPalette::BrightText);
    header->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(header);

    entries_ = new QVBoxLayout;
    entries_->setContentsMargins(4, 2, 4, 0);
    entries_->setSpacing(0);
    layout->addLayout(entries_);
}

QString TGroupBarGroup::Caption() const
{
    const auto* header = findChild<QLabel*>(QString::fromLatin1(kCaptionName), Qt::FindDirectChildrenOnly);
    return header ? header->text() : QString();
}

QToolButton* TGroupBarGroup::AddAction(QAction* action, bool bold)
{
    return InsertAction(entries_->count(), action, bold);
}

QToolButton* TGroupBarGroup::InsertAction(int position, QAction* action, bool bold)
{
    auto* button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setCursor(Qt::PointingHandCursor);
    QFont f = button->font();
    f.setBold(bold);
    button->setFont(f);
    if (position < 0 || position > entries_->count())
        position = entries_->count();
    entries_->insertWidget(position, button);
    return button;
}

void TGroupBarGroup::RemoveAction(QAction* action)
{
    if (QToolButton* button = ButtonFor(action)) {
        entries_->removeWidget(button);
        delete button;
    }
}

QList<QAction*> TGroupBarGroup::EntryActions() const
{
    QList<QAction*> actions;
    for (int i = 0; i < entries_->count(); ++i)
        if (auto* button = qobject_cast<QToolButton*>(entries_->itemAt(i)->widget()))
            actions.append(button->defaultAction());
    return actions;
}

QToolButton* TGroupBarGroup::ButtonFor(const QAction* action) const
{
    for (int i = 0; i < entries_->count(); ++i)
        if (auto* button = qobject_cast<QToolButton*>(entries_->itemAt(i)->widget()))
            if (button->defaultAction() == action)
                return button;
    return nullptr;
}

TGroupBar::TGroupBar(QWidget* parent) : QFrame(parent)
{
    groups_ = new QVBoxLayout(this);
    groups_->setContentsMargins(4, 4, 4, 4);
    groups_->setSpacing(6);
    groups_->addStretch(1);
}

TGroupBarGroup* TGroupBar::AddGroup(const QString& objectName, const QString& caption)
{
    auto* group = new TGroupBarGroup(caption, this);
    group->setObjectName(objectName);
    // Before the closing stretch, so groups stack from the top.
    groups_->insertWidget(groups_->count() - 1, group);
    return group;
}

QList<TGroupBarGroup*> TGroupBar::Groups() const
{
    QList<TGroupBarGroup*> groups;
    for (int i = 0; i < groups_->count(); ++i)
        if (auto* group = qobject_cast<TGroupBarGroup*>(groups_->itemAt(i)->widget()))
            groups.append(group);
    return groups;
}

} // namespace kovara::ui
