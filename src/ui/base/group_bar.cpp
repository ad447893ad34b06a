#include "ui/base/group_bar.h"
#include "ui/base/core_names.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QActionEvent>
#include <QLabel>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace kovara::ui {

namespace {
constexpr const char* kCaptionName = "groupCaption";

// A side bar group is a grouping to assistive technology (a plain frame would
// be read as a border), named after its caption; its entries are its
// children, buttons named after their commands.
QAccessibleInterface* groupAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("kovara::ui::GroupBarGroup") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
    return nullptr;
}

constexpr int kTextMargin = 6;

// A flat button that shows its action's caption as the menus show it. A plain
// QToolButton shows the action's icon text, which drops the "..." that tells
// the user a dialog follows.
class GroupBarButton : public QToolButton {
public:
    using QToolButton::QToolButton;

    void showCaption()
    {
        if (const QAction* action = defaultAction())
            setText(sideBarCaption(action->text()));
    }

    // Any width the bar gives is fine: a long caption is cut short with "…".
    QSize minimumSizeHint() const override { return QSize(24, QToolButton::minimumSizeHint().height()); }

protected:
    // The caption from the left edge, cut short with "…" when it is wider
    // than the button (a plan's title can be of any length); the tooltip
    // holds it in full.
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawComplexControl(QStyle::CC_ToolButton, option);
        const QRect room = rect().adjusted(kTextMargin, 0, -kTextMargin, 0);
        const QString caption = QString(text()).replace(QStringLiteral("&&"), QStringLiteral("&"));
        painter.drawItemText(room, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                             fontMetrics().elidedText(caption, Qt::ElideRight, room.width()), QPalette::ButtonText);
    }

    void actionEvent(QActionEvent* event) override
    {
        QToolButton::actionEvent(event);
        if (event->type() == QEvent::ActionChanged && event->action() == defaultAction())
            showCaption();
    }
};

} // namespace

QString sideBarCaption(const QString& actionText)
{
    QString caption;
    caption.reserve(actionText.size());
    for (qsizetype i = 0; i < actionText.size(); ++i) {
        if (actionText[i] != QLatin1Char('&')) {
            caption += actionText[i];
        } else if (i + 1 < actionText.size() && actionText[i + 1] == QLatin1Char('&')) {
            caption += QLatin1String("&&"); // a shown "&", not an Alt letter
            ++i;
        }
    }
    return caption;
}

GroupBarGroup::GroupBarGroup(const QString& caption, QWidget* parent) : QFrame(parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(groupAccessible), true);
    (void)factoryInstalled;
    setAccessibleName(caption);
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
    header->setWordWrap(true); // a long caption takes a second line
    layout->addWidget(header);

    entries_ = new QVBoxLayout;
    entries_->setContentsMargins(4, 2, 4, 0);
    entries_->setSpacing(0);
    layout->addLayout(entries_);
}

QString GroupBarGroup::caption() const
{
    const auto* header = findChild<QLabel*>(QString::fromLatin1(kCaptionName), Qt::FindDirectChildrenOnly);
    return header ? header->text() : QString();
}

QToolButton* GroupBarGroup::addCommand(QAction* action, bool bold)
{
    return insertCommand(entries_->count(), action, bold);
}

QToolButton* GroupBarGroup::insertCommand(int position, QAction* action, bool bold)
{
    auto* button = new GroupBarButton(this);
    button->setDefaultAction(action);
    button->showCaption();
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setCursor(Qt::PointingHandCursor);
    QFont f = button->font();
    f.setBold(bold);
    button->setFont(f);
    if (position < 0 || position > entries_->count())
        position = entries_->count();
    // A new widget joins the end of the window's Tab chain; move it to its
    // place, after the entry above it (or before the one below it).
    QWidget* above = position > 0 ? entries_->itemAt(position - 1)->widget() : nullptr;
    QWidget* below = position < entries_->count() ? entries_->itemAt(position)->widget() : nullptr;
    entries_->insertWidget(position, button);
    if (!above && below) {
        // The nearest widget before the entry below that Tab stops at (Qt
        // leaves the order alone for one it never stops at).
        for (QWidget* w = below->previousInFocusChain(); w != below && w != button; w = w->previousInFocusChain()) {
            if (w->focusPolicy() & Qt::TabFocus) {
                above = w;
                break;
            }
        }
    }
    if (above)
        setTabOrder(above, button);
    return button;
}

void GroupBarGroup::removeCommand(QAction* action)
{
    if (QToolButton* button = buttonFor(action)) {
        entries_->removeWidget(button);
        delete button;
    }
}

QList<QAction*> GroupBarGroup::entryActions() const
{
    QList<QAction*> actions;
    for (int i = 0; i < entries_->count(); ++i)
        if (auto* button = qobject_cast<QToolButton*>(entries_->itemAt(i)->widget()))
            actions.append(button->defaultAction());
    return actions;
}

QToolButton* GroupBarGroup::buttonFor(const QAction* action) const
{
    for (int i = 0; i < entries_->count(); ++i)
        if (auto* button = qobject_cast<QToolButton*>(entries_->itemAt(i)->widget()))
            if (button->defaultAction() == action)
                return button;
    return nullptr;
}

GroupBar::GroupBar(QWidget* parent) : QFrame(parent)
{
    groups_ = new QVBoxLayout(this);
    groups_->setContentsMargins(4, 4, 4, 4);
    groups_->setSpacing(6);
    groups_->addStretch(1);
}

GroupBarGroup* GroupBar::addGroup(const QString& objectName, const QString& caption)
{
    auto* group = new GroupBarGroup(caption, this);
    group->setObjectName(objectName);
    // Before the closing stretch, so groups stack from the top.
    groups_->insertWidget(groups_->count() - 1, group);
    return group;
}

QList<GroupBarGroup*> GroupBar::groups() const
{
    QList<GroupBarGroup*> groups;
    for (int i = 0; i < groups_->count(); ++i)
        if (auto* group = qobject_cast<GroupBarGroup*>(groups_->itemAt(i)->widget()))
            groups.append(group);
    return groups;
}

void GroupBar::markCurrent(const QAction* action)
{
    for (const GroupBarGroup* group : groups())
        for (const QAction* entry : group->entryActions()) {
            QToolButton* button = group->buttonFor(entry);
            const bool current = entry == action;
            if (!button || button->property("current").toBool() == current)
                continue;
            button->setProperty("current", current);
            button->setStyleSheet(current ? QStringLiteral("QToolButton { background: palette(highlight); "
                                                           "color: palette(highlighted-text); border-radius: 3px; }")
                                          : QString());
        }
}

} // namespace kovara::ui
