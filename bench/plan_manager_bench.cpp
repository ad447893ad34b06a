// Times the reading-plan work a user waits for: creating a one-year plan from
// the shipped templates, and filling the plan manager with a plan of one verse
// a day over the whole Bible (31,102 days). Runs on the offscreen platform
// against the content databases of the build folder.
#include "app/ini_file.h"
#include "app/kova_prefs.h"
#include "base/datetime.h"
#include "content/kova_bible.h"
#include "plans/kova_readplan.h"
#include "ui/app/dialogs.h"
#include "ui/plans/framePlanManager.h"
#include "ui/plans/plan_controller.h"
#include "ui/shell.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

using namespace kovara;
using namespace kovara::ui;

class BenchShell : public Shell {
public:
    explicit BenchShell(const std::string& folder)
        : ini_(folder + "settings.ini"), prefs_(ini_),
          bible_(std::string(KOVARA_BUILD_DIR) + "/bible.kova2", "King James Version", "KJV"),
          plans_(folder + "userreadplans.kova2", clock_), program_(std::string(KOVARA_BUILD_DIR) + "/"),
          folder_(folder)
    {
    }
    TKOVAPreferences& Preferences() override { return prefs_; }
    TKOVABible& Bible() override { return bible_; }
    TKOVADevotional& Devotional() override { throw std::logic_error("not used"); }
    TKOVAReadPlans& ReadPlans() override { return plans_; }
    TKOVAPrayerTracker& PrayerTracker() override { throw std::logic_error("not used"); }
    Dialogs& GetDialogs() override { return dialogs_; }
    const Clock& GetClock() override { return clock_; }
    const std::string& ProgramFolder() const override { return program_; }
    const std::string& UserDataFolder() const override { return folder_; }
    void ShowPage(Page) override {}
    Page CurrentPage() const override { return Page::PlanManager; }

private:
    SystemClock clock_;
    TIniFile ini_;
    TKOVAPreferences prefs_;
    TKOVABible bible_;
    TKOVAReadPlans plans_;
    QtDialogs dialogs_;
    std::string program_;
    std::string folder_;
};

double Milliseconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    BenchShell shell(dir.path().toStdString() + "/");
    QWidget window;
    PlanController controller(shell, &window);
    TKOVAReadPlans& plans = shell.ReadPlans();

    QElapsedTimer timer;
    timer.start();
    const auto year = LoadTemplateVerses(shell.ProgramFolder() + "readplans.kova2", "otntDaily");
    const int yearPlan = plans.AddPlan("Bible in a Year", year, shell.GetClock().Today());
    controller.RefreshPlanViews(yearPlan);
    std::printf("365-day plan: template read, plan created, views refreshed: %.1f ms\n", Milliseconds(timer));

    std::vector<std::string> verses;
    for (int v = 1; v <= 31102; ++v)
        verses.push_back(std::to_string(v) + "-" + std::to_string(v));
    timer.restart();
    const int wholeBible = plans.AddPlan("One Verse a Day", verses, shell.GetClock().Today());
    std::printf("31,102-day plan created: %.1f ms\n", Milliseconds(timer));

    // The passage texts alone: the Bible store's share of the fill.
    timer.restart();
    std::size_t length = 0;
    for (int day = 1; day <= plans.GetDayCount(wholeBible); ++day)
        length += shell.Bible().GetReferenceText(plans.GetDayVerses(wholeBible, day)).size();
    std::printf("31,102 reference texts alone (%zu bytes): %.1f ms\n", length, Milliseconds(timer));

    timer.restart();
    controller.PlanManager()->SetPlans(wholeBible);
    std::printf("plan manager filled with %d days: %.1f ms\n",
                controller.PlanManager()->RzCheckList1->topLevelItemCount(), Milliseconds(timer));
    timer.restart();
    controller.PlanManager()->ShowPlan(yearPlan);
    std::printf("switched back to the 365-day plan (clearing 31,102 lines): %.1f ms\n", Milliseconds(timer));
    return 0;
}
