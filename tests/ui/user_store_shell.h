#pragma once
// A shell over both user stores in a temporary folder that, like the main
// window, can free and recreate them (the UserStoreHost side), and counts the
// view rebuilds it is asked for. File scripted and messages are scripted.
#include "ui/base/core_names.h"
#include "core/app/user_session.h"
#include "core/base/datetime.h"
#include "core/base/exception.h"
#include "fixtures.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"
#include "scripted_dialogs.h"
#include "test_preferences.h"
#include "ui/app/backup_commands.h"
#include "ui/base/shell.h"

#include <memory>
#include <string>
#include <vector>

namespace kovara::ui::test {

// Records what the file scripted were opened with.
class RecordingDialogs : public ScriptedDialogs {
public:
    QString chooseSaveFile(const QString& title, const QString& filter, const QString& initialPath) override
    {
        lastFilter = filter;
        lastInitialPath = initialPath;
        return ScriptedDialogs::chooseSaveFile(title, filter, initialPath);
    }
    QString chooseOpenFile(const QString& title, const QString& filter, const QString& initialPath) override
    {
        lastFilter = filter;
        lastInitialPath = initialPath;
        return ScriptedDialogs::chooseOpenFile(title, filter, initialPath);
    }
    QString lastFilter, lastInitialPath;
};

class UserStoreShell : public Shell, public UserStoreHost {
public:
    UserStoreShell()
    {
        openUserStores();
        followSession();
    }

    // Shell
    Preferences& preferences() override { return *prefs; }
    BibleStore& bible() override { throw Exception("no Bible in this test"); }
    DevotionalStore& devotional() override { throw Exception("no devotional in this test"); }
    PlanStore& planStore() override { return userSession.planStore(); }
    PrayerStore& prayerStore() override { return userSession.prayerStore(); }
    Dialogs& dialogs() override { return scripted; }
    const Clock& clock() override { return fixedClock; }
    const std::string& contentFolder() const override { return folder; }
    const std::string& userDataFolder() const override { return folder; }
    void showPage(Page p) override { page = p; }
    Page currentPage() const override { return page; }

    // UserStoreHost
    void closeUserStores() override
    {
        ++closed;
        userSession.close();
    }
    void openUserStores() override { userSession.openRetrying(openWaitMs); }
    // What the main window does on the session's signals, recorded.
    void followSession()
    {
        QObject::connect(&session(), &ObservableSession::storesReplaced, [this] {
            refreshedOn.push_back(0);
            buildWelcomePage();
        });
        QObject::connect(&session(), &ObservableSession::plansChanged, [this] {
            refreshedOn.push_back(0);
            buildWelcomePage();
        });
        QObject::connect(&session(), &ObservableSession::prayersChanged, [this] { buildWelcomePage(); });
    }
    void buildWelcomePage()
    {
        ++welcomeBuilt;
        page = Page::Welcome;
    }

    // A prayer item under title, with no text.
    std::int32_t addPrayer(const std::string& title)
    {
        const std::int32_t index = prayerStore().newPrayerItem();
        prayerStore().updatePrayer(index, title, "", "", PrayerStatus::Active, "", false);
        return index;
    }
    // The live items' titles in title order, joined by commas.
    std::string prayerTitles()
    {
        const PrayerHeaders headers = prayerStore().prayerHeaders(std::nullopt, "prayerTitle");
        std::string titles;
        for (const auto& h : headers)
            titles += (titles.empty() ? "" : ",") + h.prayerTitle;
        return titles;
    }
    // The plans' titles in plan order, joined by commas.
    std::string planTitles()
    {
        std::string titles;
        for (int p = 0; p < planStore().planCount(); ++p)
            titles += (titles.empty() ? "" : ",") + planStore().planTitle(p);
        return titles;
    }

    kovara::test::TempDir dir;
    std::string folder = dir.folder();
    FixedClock fixedClock{makeMoment(2024, 5, 1, 9, 15, 0)};
    std::unique_ptr<Preferences> prefs = makeTestPreferences();
    RecordingDialogs scripted;
    UserSession userSession{folder, fixedClock};
    int openWaitMs = 3000;
    Page page = Page::PrayerTracker;
    int closed = 0;
    int welcomeBuilt = 0;
    std::vector<int> refreshedOn;
};

} // namespace kovara::ui::test
