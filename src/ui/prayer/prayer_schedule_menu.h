#pragma once
// The "Comes Up" menu of a prayer item: how often it comes up on the prayer
// list (every day, Monday to Friday, once a week, once a month, or in turn).
// Choosing one sets it from today and announces the change.
#include "ui/base/core_names.h"

#include <QMenu>
#include <cstdint>
#include <functional>

namespace kovara::ui {

class Shell;

class PrayerScheduleMenu : public QMenu {
    Q_OBJECT
public:
    // item gives the index of the item the menu is for (0 for none, which
    // disables the entries).
    PrayerScheduleMenu(Shell& shell, std::function<std::int32_t()> item, QWidget* parent = nullptr);

private:
    // Checks the entry of the item's schedule when the menu opens.
    void showSchedule();

    Shell& shell_;
    std::function<std::int32_t()> item_;
    QList<QAction*> entries_;
};

} // namespace kovara::ui
