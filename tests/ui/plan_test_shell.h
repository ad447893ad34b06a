#pragma once
// What the reading-plan UI tests share: a small Shell over a temporary
// userreadplans.kova2, the Alpha/Beta Bible, a tiny template database, test
// preferences, scripted scripted and a fixed fixedClock; and a new-plan dialog whose
// "modal" run is a script instead of an event loop.
#include "ui/base/core_names.h"
#include "core/app/preferences.h"
#include "core/base/datetime.h"
#include "core/content/bible_store.h"
#include "core/db/sqlite_db.h"
#include "fixtures.h"
#include "core/plans/plan_store.h"
#include "scripted_dialogs.h"
#include "test_preferences.h"
#include "ui/plans/new_plan_dialog.h"
#include "ui/base/shell.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kovara::ui::test {

// Template tables of four and three days, and an empty one.
inline void makeTemplateDatabase(const std::string& fileName)
{
    sqlite3* db = nullptr;
    openDatabase(fileName, db);
    execSQL(db, "CREATE TABLE sevenTypes (day INTEGER, verses TEXT);"
                "INSERT INTO sevenTypes VALUES (2,'32-56'),(1,'1-31'),(3,'57-80'),(4,'81-102');"
                "CREATE TABLE otntDaily (day INTEGER, verses TEXT);"
                "INSERT INTO otntDaily VALUES (1,'1-10,81-85'),(2,'11-20,86-90'),(3,'21-31,91-102');"
                "CREATE TABLE emptyPlan (day INTEGER, verses TEXT);");
    closeDatabase(db);
}

class PlanTestShell : public Shell {
public:
    // Noon of 2024-03-10: today is 2024-03-10.
    static inline const sys_seconds kNow = makeMoment(2024, 3, 10, 12, 0, 0);

    PlanTestShell()
    {
        kovara::test::makeAlphaBetaBible(dir.file("bible.kova2"));
        makeTemplateDatabase(dir.file("readplans.kova2"));
        bible_ = std::make_unique<BibleStore>(dir.file("bible.kova2"), "Test Bible", "KJV");
        plans = std::make_unique<PlanStore>(dir.file("userreadplans.kova2"), fixedClock);
        folder = dir.folder();
    }

    // Destroys the plan store and opens it again on the same file, as a
    // restore does.
    void reopenPlans()
    {
        plans.reset();
        plans = std::make_unique<PlanStore>(dir.file("userreadplans.kova2"), fixedClock);
    }

    // A plan of n one-chapter-or-less days over verses 1.., started `daysAgo`
    // days before today; its position in the list right after.
    int addPlan(const std::string& title, int days, int daysAgo)
    {
        std::vector<std::string> texts;
        for (int d = 0; d < days; ++d)
            texts.push_back(std::to_string(d + 1) + "-" + std::to_string(d + 1));
        return plans->indexOf(plans->addPlan(title, texts, fixedClock.today() - std::chrono::days(daysAgo))).value();
    }
    // The id of the plan at that position now.
    PlanId id(int plan) const { return plans->id(plan); }

    Preferences& preferences() override { return *prefs; }
    BibleStore& bible() override { return *bible_; }
    DevotionalStore& devotional() override { throw std::logic_error("no devotional in plan tests"); }
    PlanStore& planStore() override { return *plans; }
    PrayerStore& prayerStore() override { throw std::logic_error("no prayers in plan tests"); }
    Dialogs& dialogs() override { return scripted; }
    const Clock& clock() override { return fixedClock; }
    const std::string& contentFolder() const override { return folder; }
    const std::string& userDataFolder() const override { return folder; }
    void showPage(Page p) override { page = p; }
    Page currentPage() const override { return page; }

    kovara::test::TempDir dir;
    FixedClock fixedClock{kNow};
    ScriptedDialogs scripted;
    std::unique_ptr<Preferences> prefs = makeTestPreferences();
    std::unique_ptr<BibleStore> bible_;
    std::unique_ptr<PlanStore> plans;
    std::string folder;
    Page page = Page::Welcome;
};

// The new-plan dialog with its modal run replaced by script, which works the
// controls as a user would (and clicks Create or Cancel).
class ScriptedNewPlanDlg : public NewPlanDialog {
public:
    using NewPlanDialog::NewPlanDialog;
    std::function<void(ScriptedNewPlanDlg&)> script;
    int shown = 0;

protected:
    int runModal() override
    {
        ++shown;
        setResult(QDialog::Rejected);
        if (script)
            script(*this);
        return result();
    }
};

} // namespace kovara::ui::test
