#pragma once
// The narrow interface through which frames, dialogs and subsystem controllers
// reach the application: stores, preferences, dialogs, the clock and page
// switching. The main window implements it; no frame includes the main window.
//
// The plan store and the prayer store are replaced by backup and restore, so a
// caller asks for them at each use and never keeps the reference.
#include <string>

namespace kovara {
class Clock;
class TKOVABible;
class TKOVADevotional;
class TKOVAPreferences;
class TKOVAPrayerTracker;
class TKOVAReadPlans;
} // namespace kovara

namespace kovara::ui {

class Dialogs;

enum class Page { Welcome, Devotional, BibleRead, PlanManager, PrayerTracker };

class Shell {
public:
    virtual ~Shell() = default;

    virtual TKOVAPreferences& Preferences() = 0;
    virtual TKOVABible& Bible() = 0;
    virtual TKOVADevotional& Devotional() = 0;
    virtual TKOVAReadPlans& ReadPlans() = 0;
    virtual TKOVAPrayerTracker& PrayerTracker() = 0;

    virtual Dialogs& GetDialogs() = 0;
    virtual const Clock& GetClock() = 0;

    // Folders with a trailing separator.
    virtual const std::string& ProgramFolder() const = 0;
    virtual const std::string& UserDataFolder() const = 0;

    virtual void ShowPage(Page page) = 0;
    virtual Page CurrentPage() const = 0;
};

} // namespace kovara::ui
