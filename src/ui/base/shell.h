#pragma once
// The narrow interface through which frames, dialogs and subsystem controllers
// reach the application: stores, preferences, dialogs, the clock and page
// switching. The main window implements it; no frame includes the main window.
//
// The plan store and the prayer store are replaced by backup and restore, so a
// caller asks for them at each use and never keeps the reference.
#include "ui/base/core_names.h"
#include "ui/base/observable_session.h"
#include <string>

namespace kovara::core {
class Clock;
class BibleStore;
class DevotionalStore;
class Preferences;
class PrayerStore;
class PlanStore;
} // namespace kovara::core

namespace kovara::ui {

class Dialogs;

enum class Page { Welcome, Devotional, Reading, PlanManager, PrayerTracker, Bible, PrayToday };

class Shell {
public:
    virtual ~Shell() = default;

    virtual Preferences& preferences() = 0;
    virtual BibleStore& bible() = 0;
    virtual DevotionalStore& devotional() = 0;
    virtual PlanStore& planStore() = 0;
    virtual PrayerStore& prayerStore() = 0;

    virtual Dialogs& dialogs() = 0;
    virtual const Clock& clock() = 0;

    // Folders with a trailing separator.
    virtual const std::string& contentFolder() const = 0;
    virtual const std::string& userDataFolder() const = 0;

    virtual void showPage(Page page) = 0;
    virtual Page currentPage() const = 0;

    // Where changes to the user's data are announced and listened for.
    ObservableSession& session() { return session_; }

private:
    ObservableSession session_;
};

} // namespace kovara::ui
