#pragma once
// The passage view's widgets, found by their object names, for tests that
// read its labels and viewer and use its context-menu entries.
#include "ui/base/html_viewer.h"
#include "ui/base/passage_view.h"

#include <QAction>
#include <QFrame>
#include <QLabel>

namespace kovara::ui::test {

struct PassageControls {
    explicit PassageControls(const PassageView& view)
        : captionLabel(view.findChild<QLabel*>("passageCaptionLabel")),
          titleLabel(view.findChild<QLabel*>("passageTitleLabel")),
          dayLabel(view.findChild<QLabel*>("passageDayLabel")),
          viewerPanel(view.findChild<QFrame*>("passageViewerPanel")),
          viewer(view.findChild<HtmlViewer*>("passageViewer")),
          copyAction(view.findChild<QAction*>("copyAction")),
          selectAllAction(view.findChild<QAction*>("selectAllAction"))
    {
    }

    QLabel* captionLabel; // "Bible Reading Plan", "The Bible"
    QLabel* titleLabel;
    QLabel* dayLabel;
    QFrame* viewerPanel;
    HtmlViewer* viewer;
    QAction* copyAction;
    QAction* selectAllAction;
};

} // namespace kovara::ui::test
