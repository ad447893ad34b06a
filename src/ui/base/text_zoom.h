#pragma once
// Zoom of the views that show Scripture and the devotional: Ctrl+plus,
// Ctrl+minus and Ctrl+0 (back to 100 %) and Ctrl+wheel make their text larger
// or smaller in steps of 10 %. The zoom is one for all of them, kept in the
// preferences (textZoom), so a view zoomed on one page shows the others at
// the same size.
#include "ui/base/core_names.h"
#include <QObject>

class QWidget;

namespace kovara::core {
class Preferences;
} // namespace kovara::core

namespace kovara::ui {

class HtmlViewer;

class TextZoom : public QObject {
public:
    static constexpr int kSmallest = 50;
    static constexpr int kLargest = 300;
    static constexpr int kStep = 10;

    // Zooms viewer. The keys act while keyOwner (the page that shows the
    // viewer) is shown in the active window; Ctrl+wheel over the viewer.
    TextZoom(HtmlViewer* viewer, QWidget* keyOwner);
    ~TextZoom() override;

    // Keeps prefs (not owned; must outlive this object or be replaced) and
    // sets the viewer's text at its zoom. Call again after anything that sets
    // the viewer's font from the preferences.
    void apply(Preferences& prefs);

    // Change the zoom of every view; nothing before apply has given the
    // preferences.
    void zoomIn() { zoomTo(percent() + kStep); }
    void zoomOut() { zoomTo(percent() - kStep); }
    void resetZoom() { zoomTo(100); }
    // The zoom in percent (100 until the preferences are known).
    int percent() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void zoomTo(int percent);
    // Sets the viewer's font from the kept preferences.
    void applyToViewer();

    HtmlViewer* viewer_;
    Preferences* prefs_ = nullptr;
    int wheelTurned_ = 0; // Ctrl+wheel turns not yet a whole step (120)
};

} // namespace kovara::ui
