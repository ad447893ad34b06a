#pragma once
// What the reading-plan UI tests share: a small Shell over a temporary
// userreadplans.kova2, the Alpha/Beta Bible, a tiny template database, test
// preferences, scripted dialogs and a fixed clock; and a new-plan dialog whose
// "modal" run is a script instead of an event loop.
#include "app/kova_prefs.h"
#include "base/datetime.h"
#include "content/kova_bible.h"
#include "db/sqlite_db.h"
#include "fixtures.h"
#include "plans/kova_readplan.h"
#include "scripted_dialogs.h"
#include "test_preferences.h"
#include "ui/plans/formNewPlan.h"
#include "ui/shell.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kovara::ui::test {

// Template tables of four and three days, and an empty one.
inline void MakeTemplateDatabase(const std::string& fileName)
{
    sqlite3* db = nullptr;
    OpenDatabase(fileName, db);
    ExecSQL(db, "CREATE TABLE sevenTypes (day INTEGER, verses TEXT);"
                "INSERT INTO sevenTypes VALUES (2,'32-56'),(1,'1-31'),(3,'57-80'),(4,'81-102');"
                "CREATE TABLE otntDaily (day INTEGER, verses TEXT);"
                "INSERT INTO otntDaily VALUES (1,'1-10,81-85'),(2,'11-20,86-90'),(3,'21-31,91-102');"
                "CREATE TABLE emptyPlan (day INTEGER, verses TEXT);");
    CloseDatabase(db);
}

class PlanTestShell : public Shell {
public:
    // Noon of 2024-03-10: today is 2024-03-10.
    static constexpr TDateTime kNow = 45361.5;

    PlanTestShell()
    {
        kovara::test::MakeAlphaBetaBible(dir.File("bible.kova2"));
        MakeTemplateDatabase(dir.File("readplans.kova2"));
        bible = std::make_unique<TKOVABible>(dir.File("bible.kova2"), "Test Bible", "KJV");
        plans = std::make_unique<TKOVAReadPlans>(dir.File("userreadplans.kova2"), clock);
        folder = dir.Folder();
    }

    // Destroys the plan store and opens it again on the same file, as a
    // restore does.
    void ReopenPlans()
    {
        plans.reset();
        plans = std::make_unique<TKOVAReadPlans>(dir.File("userreadplans.kova2"), clock);
    }

    // A plan of n one-chapter-or-less days over verses 1.., started `daysAgo`
    // days before today.
    int AddPlan(const std::string& title, int days, int daysAgo)
    {
        std::vector<std::string> texts;
        for (int d = 0; d < days; ++d)
            texts.push_back(std::to_string(d + 1) + "-" + std::to_string(d + 1));
        return plans->AddPlan(title, texts, clock.Today() - daysAgo);
    }

    TKOVAPreferences& Preferences() override { return *prefs; }
    TKOVABible& Bible() override { return *bible; }
    TKOVADevotional& Devotional() override { throw std::logic_error("no devotional in plan tests"); }
    TKOVAReadPlans& ReadPlans() override { return *plans; }
    TKOVAPrayerTracker& PrayerTracker() override { throw std::logic_error("no prayers in plan tests"); }
    Dialogs& GetDialogs() override { return dialogs; }
    const Clock& GetClock() override { return clock; }
    const std::string& ProgramFolder() const override { return folder; }
    const std::string& UserDataFolder() const override { return folder; }
    void ShowPage(Page p) override { page = p; }
    Page CurrentPage() const override { return page; }

    kovara::test::TempDir dir;
    FixedClock clock{kNow};
    ScriptedDialogs dialogs;
    std::unique_ptr<TKOVAPreferences> prefs = MakeTestPreferences();
    std::unique_ptr<TKOVABible> bible;
    std::unique_ptr<TKOVAReadPlans> plans;
    std::string folder;
    Page page = Page::Welcome;
};

// The new-plan dialog with its modal run replaced by script, which works the
// controls as a user would (and clicks Create or Cancel).
class ScriptedNewPlanDlg : public TFormNewPlanDlg {
public:
    using TFormNewPlanDlg::TFormNewPlanDlg;
    std::function<void(ScriptedNewPlanDlg&)> script;
    int shown = 0;

protected:
    int RunModal() override
    {
        ++shown;
        setResult(QDialog::Rejected);
        if (script)
            script(*this);
        return result();
    }
};

} // namespace kovara::ui::test
