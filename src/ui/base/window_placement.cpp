#include "ui/base/window_placement.h"
#include "ui/base/core_names.h"

#include "core/settings/ini_file.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kovara::ui {

void saveWindowPlacement(const QWidget& window, IniFile& ini, const std::string& section)
{
    // normalGeometry() is the rectangle the window returns to when it is no
    // longer maximized; while it is not maximized that is its geometry.
    QRect rect = window.normalGeometry();
    if (!rect.isValid())
        rect = window.geometry();
    IniFile::Batch batch(ini); // one write of the file for the six keys
    ini.writeBool(section, "Maximized", window.isMaximized());
    ini.writeInteger(section, "Left", rect.x());
    ini.writeInteger(section, "Top", rect.y());
    ini.writeInteger(section, "Right", rect.x() + rect.width());
    ini.writeInteger(section, "Bottom", rect.y() + rect.height());
    ini.writeBool(section, "Saved", true);
    batch.commit();
}

void restoreWindowPlacement(QWidget& window, const IniFile& ini, const std::string& section)
{
    bool any = false;
    for (const char* key : {"Maximized", "Left", "Top", "Right", "Bottom", "Saved"})
        any = any || ini.valueExists(section, key);
    if (!any)
        return;

    const QRect current = window.geometry();
    const int left = ini.readInteger(section, "Left", current.x());
    const int top = ini.readInteger(section, "Top", current.y());
    const int right = ini.readInteger(section, "Right", current.x() + current.width());
    const int bottom = ini.readInteger(section, "Bottom", current.y() + current.height());
    // An empty or inverted rectangle keeps the current size.
    QRect rect(left, top, right > left ? right - left : current.width(), bottom > top ? bottom - top : current.height());

    if (QGuiApplication::screenAt(rect.topLeft()) == nullptr) {
        if (const QScreen* primary = QGuiApplication::primaryScreen())
            rect.moveTopLeft(primary->geometry().topLeft());
    }
    window.setGeometry(rect);
    if (ini.readInteger(section, "Maximized", 0) == 1)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

} // namespace kovara::ui
