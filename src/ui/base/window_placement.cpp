#include "ui/base/window_placement.h"
#include "ui/base/core_names.h"

#include "core/settings/settings_keys.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kovara::ui {

void saveWindowPlacement(const QWidget& window, IniFile& ini, const core::settings::WindowPlacementKeys& keys)
{
    // normalGeometry() is the rectangle the window returns to when it is no
    // longer maximized; while it is not maximized that is its geometry.
    QRect rect = window.normalGeometry();
    if (!rect.isValid())
        rect = window.geometry();
    IniFile::Batch batch(ini); // one write of the file for the six keys
    keys.maximized.write(ini, window.isMaximized() ? 1 : 0);
    keys.left.write(ini, rect.x());
    keys.top.write(ini, rect.y());
    keys.right.write(ini, rect.x() + rect.width());
    keys.bottom.write(ini, rect.y() + rect.height());
    keys.saved.write(ini, true);
    batch.commit();
}

void restoreWindowPlacement(QWidget& window, const IniFile& ini, const core::settings::WindowPlacementKeys& keys)
{
    if (!keys.maximized.exists(ini) && !keys.left.exists(ini) && !keys.top.exists(ini) && !keys.right.exists(ini) &&
        !keys.bottom.exists(ini) && !keys.saved.exists(ini))
        return;

    const QRect current = window.geometry();
    const int left = keys.left.read(ini, current.x());
    const int top = keys.top.read(ini, current.y());
    const int right = keys.right.read(ini, current.x() + current.width());
    const int bottom = keys.bottom.read(ini, current.y() + current.height());
    // An empty or inverted rectangle keeps the current size.
    QRect rect(left, top, right > left ? right - left : current.width(), bottom > top ? bottom - top : current.height());

    const QScreen* screen = QGuiApplication::screenAt(rect.topLeft());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
        if (screen)
            rect.moveTopLeft(screen->geometry().topLeft());
    }
    // A window larger than its screen would have its far edges out of reach.
    if (screen)
        rect.setSize(rect.size().boundedTo(screen->availableGeometry().size()));
    window.setGeometry(rect);
    if (keys.maximized.read(ini) == 1)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

QSize firstWindowSize(const QWidget& window, QSize classic)
{
    if (const QScreen* screen = window.screen()) {
        const QSize available = screen->availableGeometry().size();
        return classic.expandedTo(available * 2 / 3).boundedTo(available);
    }
    return classic;
}

} // namespace kovara::ui
