#pragma once
// Pieces the passage frame and the devotional frame share: the header panel
// and the viewer's panel, and the viewer's two context-menu actions.
#include "ui/base/core_names.h"
#include <QFont>
#include <QWidget>

class QAction;
class QFrame;
class QLabel;

namespace kovara::core {
class Preferences;
}

namespace kovara::ui {

class HtmlViewer;

// The main window's font, which its pages inherit: Verdana, 8 points.
QFont windowFont();
// A header panel across the top (plain frame, window colour).
QFrame* makeHeaderPanel(QWidget* parent);
// A label in the header: size is relative to the application font (points
// added), bold/italic as asked.
QLabel* makeHeaderLabel(const QString& text, int extraPoints, bool bold, bool italic, QWidget* parent);
// The panel that holds the viewer and fills the rest of the frame; returns the
// viewer placed in it.
HtmlViewer* makeViewerPanel(QFrame*& panel, QWidget* parent);
// "Copy Selected Text" and "Select All" bound to viewer, shown by its context
// menu; copy is enabled only while something is selected.
void makeViewerActions(HtmlViewer* viewer, QAction*& copy, QAction*& selectAll, QWidget* parent);
// Panel colour and viewer defaults from prefs.
void applyDisplayPreferences(const Preferences& prefs, QFrame* panel, HtmlViewer* viewer);

// Lays out a frame as its header panel above its viewer panel, which takes
// the rest of the height.
void stackPanels(QWidget* frame, QWidget* top, QWidget* bottom);

} // namespace kovara::ui
