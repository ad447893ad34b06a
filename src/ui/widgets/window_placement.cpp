#include "ui/widgets/window_placement.h"

#include "app/ini_file.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kovara::ui {

void SaveWindowPlacement(const QWidget& window, TIniFile& ini, const std::string& section)
{
    // normalGeometry() is the rectangle the window returns to when it is no
    // longer maximized; while it is not maximized that is its geometry.
    QRect rect = window.normalGeometry();
    if (!rect.isValid())
        rect = window.geometry();
    ini.WriteBool(section, "Maximized", window.isMaximized());
    ini.WriteInteger(section, "Left", rect.x());
    ini.WriteInteger(section, "Top", rect.y());
    ini.WriteInteger(section, "Right", rect.x() + rect.width());
    ini.WriteInteger(section, "Bottom", rect.y() + rect.height());
    ini.WriteBool(section, "Saved", true);
}

void RestoreWindowPlacement(QWidget& window, const TIniFile& ini, const std::string& section)
{
    bool any = false;
    for (const char* key : {"Maximized", "Left", "Top", "Right", "Bottom", "Saved"})
        any = any || ini.ValueExists(section, key);
    if (!any)
        return;

    const QRect current = window.geometry();
    const int left = ini.ReadInteger(section, "Left", current.x());
    const int top = ini.ReadInteger(section, "Top", current.y());
    const int right = ini.ReadInteger(section, "Right", current.x() + current.width());
    const int bottom = ini.ReadInteger(section, "Bottom", current.y() + current.height());
    // An empty or inverted rectangle keeps the current size.
    QRect rect(left, top, right > left ? right - left : current.width(), bottom > top ? bottom - top : current.height());

    if (QGuiApplication::screenAt(rect.topLeft()) == nullptr) {
        if (const QScreen* primary = QGuiApplication::primaryScreen())
            rect.moveTopLeft(primary->geometry().topLeft());
    }
    window.setGeometry(rect);
    if (ini.ReadInteger(section, "Maximized", 0) == 1)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

} // namespace kovara::ui
