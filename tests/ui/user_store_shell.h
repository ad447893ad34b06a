#pragma once
// A shell over both user stores in a temporary folder that, like the main
// window, can free and recreate them (the UserStoreHost side), and counts the
// view rebuilds it is asked for. File dialogs and messages are scripted.
#include "app/user_session.h"
#include "base/datetime.h"
#include "base/exception.h"
#include "fixtures.h"
#include "plans/kova_readplan.h"
#include "prayer/kova_prayertracker.h"
#include "scripted_dialogs.h"
#include "test_preferences.h"
#include "ui/app/backup_commands.h"
#include "ui/shell.h"

#include <memory>
#include <string>
#include <vector>

namespace kovara::ui::test {

// Records what the file dialogs were opened with.
class RecordingDialogs : public ScriptedDialogs {
public:
    QString ChooseSaveFile(const QString& title, const QString& filter, const QString& initialPath) override
    {
        lastFilter = filter;
        lastInitialPath = initialPath;
        return ScriptedDialogs::ChooseSaveFile(title, filter, initialPath);
    }
    QString ChooseOpenFile(const QString& title, const QString& filter, const QString& initialPath) override
    {
        lastFilter = filter;
        lastInitialPath = initialPath;
        return ScriptedDialogs::ChooseOpenFile(title, filter, initialPath);
    }
    QString lastFilter, lastInitialPath;
};

class UserStoreShell : public Shell, public UserStoreHost {
public:
    UserStoreShell() { OpenUserStores(); }

    // Shell
    TKOVAPreferences& Preferences() override { return *prefs; }
    TKOVABible& Bible() override { throw Exception("no Bible in this test"); }
    TKOVADevotional& Devotional() override { throw Exception("no devotional in this test"); }
    TKOVAReadPlans& ReadPlans() override { return session.Plans(); }
    TKOVAPrayerTracker& PrayerTracker() override { return session.Prayers(); }
    Dialogs& GetDialogs() override { return dialogs; }
    const Clock& GetClock() override { return clock; }
    const std::string& ProgramFolder() const override { return folder; }
    const std::string& UserDataFolder() const override { return folder; }
    void ShowPage(Page p) override { page = p; }
    Page CurrentPage() const override { return page; }

    // UserStoreHost
    void CloseUserStores() override
    {
        ++closed;
        session.Close();
    }
    void OpenUserStores() override { session.OpenRetrying(openWaitMs); }
    void RefreshPlanViews(int plan) override { refreshedOn.push_back(plan); }
    void BuildWelcomePage() override
    {
        ++welcomeBuilt;
        page = Page::Welcome;
    }

    // A prayer item under title, with no text.
    std::int32_t AddPrayer(const std::string& title)
    {
        const std::int32_t index = PrayerTracker().NewPrayerItem(0);
        PrayerTracker().UpdatePrayer(index, title, "", "", kPrayerActive, "", false);
        return index;
    }
    // The live items' titles in title order, joined by commas.
    std::string PrayerTitles()
    {
        TPrayerHeaderRecArray headers;
        PrayerTracker().GetPrayerHeaders(kPrayerFilterAny, "prayerTitle", headers);
        std::string titles;
        for (const auto& h : headers)
            titles += (titles.empty() ? "" : ",") + h.prayerTitle;
        return titles;
    }
    // The plans' titles in plan order, joined by commas.
    std::string PlanTitles()
    {
        std::string titles;
        for (int p = 0; p < ReadPlans().GetPlanCount(); ++p)
            titles += (titles.empty() ? "" : ",") + ReadPlans().GetPlanTitle(p);
        return titles;
    }

    kovara::test::TempDir dir;
    std::string folder = dir.Folder();
    FixedClock clock{EncodeDateTime(2024, 5, 1, 9, 15, 0)};
    std::unique_ptr<TKOVAPreferences> prefs = MakeTestPreferences();
    RecordingDialogs dialogs;
    UserSession session{folder, clock};
    int openWaitMs = 3000;
    Page page = Page::PrayerTracker;
    int closed = 0;
    int welcomeBuilt = 0;
    std::vector<int> refreshedOn;
};

} // namespace kovara::ui::test
