#include "ui/base/page_frame.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "ui/base/colors.h"
#include "ui/base/html_viewer.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace kovara::ui {

QFont windowFont()
{
    return {QStringLiteral("Verdana"), 8};
}

QFrame* makeHeaderPanel(QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    return panel;
}

QLabel* makeHeaderLabel(const QString& text, int extraPoints, bool bold, bool italic, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    if (extraPoints != 0 && font.pointSize() > 0)
        font.setPointSize(font.pointSize() + extraPoints);
    font.setBold(bold);
    font.setItalic(italic);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    return label;
}

HtmlViewer* makeViewerPanel(QFrame*& panel, QWidget* parent)
{
    panel = new QFrame(parent);
    panel->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* viewer = new HtmlViewer(panel);
    viewer->setFrameShape(QFrame::NoFrame);
    layout->addWidget(viewer);
    return viewer;
}

void makeViewerActions(HtmlViewer* viewer, QAction*& copy, QAction*& selectAll, QWidget* parent)
{
    copy = new QAction(QCoreApplication::translate("kovara::ui::PageFrame", "Copy Selected Text"), parent);
    copy->setObjectName(QStringLiteral("copyAction"));
    copy->setEnabled(false);
    QObject::connect(copy, &QAction::triggered, viewer, [viewer] { viewer->copySelection(); });
    selectAll = new QAction(QCoreApplication::translate("kovara::ui::PageFrame", "Select All"), parent);
    selectAll->setObjectName(QStringLiteral("selectAllAction"));
    QObject::connect(selectAll, &QAction::triggered, viewer, [viewer] { viewer->selectWholePage(); });
    // A new page drops the selection, so loading re-evaluates the rule too.
    const auto update = [viewer, copy] { copy->setEnabled(viewer->selectionLength() > 0); };
    QObject::connect(viewer, &QTextEdit::selectionChanged, copy, update);
    QObject::connect(viewer, &QTextEdit::textChanged, copy, update);
    // The keys are the viewer's own (it handles them while it has the focus);
    // the actions carry them so the menu shows them.
    copy->setShortcut(QKeySequence::Copy);
    selectAll->setShortcut(QKeySequence::SelectAll);
    for (QAction* action : {copy, selectAll}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        viewer->addAction(action);
    }
    viewer->setContextActions({copy, selectAll});
}

void applyDisplayPreferences(const Preferences& prefs, QFrame* panel, HtmlViewer* viewer)
{
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, pageBackColor(prefs));
    panel->setPalette(p);
    viewer->applyDisplayPreferences(prefs);
}

void stackPanels(QWidget* frame, QWidget* top, QWidget* bottom)
{
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(bottom, 1);
}

} // namespace kovara::ui
