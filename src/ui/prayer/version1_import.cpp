#include "ui/prayer/version1_import.h"

#include "app/data_folders.h"
#include "plans/kova_readplan.h"
#include "prayer/kova_prayertracker.h"
#include "prayer/kova_version1import.h"
#include "ui/app/backup_commands.h"
#include "ui/app/dialogs.h"
#include "ui/prayer/rtf_codec.h"
#include "ui/shell.h"
#include <QCursor> // before the busy cursor, which needs the full type

#include "ui/widgets/busy_cursor.h"
#include "ui/widgets/dates.h"
#include "ui/widgets/text_codec.h"

#include <QStandardPaths>
#include <QTextDocument>
#include <filesystem>

namespace kovara::ui {

namespace {

// For a shell that cannot rebuild views: the stores stay as they are and the
// welcome page is simply made current.
class PageOnlyHost : public UserStoreHost {
public:
    explicit PageOnlyHost(Shell& shell) : shell_(shell) {}
    void CloseUserStores() override {}
    void OpenUserStores() override {}
    void RefreshPlanViews(int) override {}
    void BuildWelcomePage() override { shell_.ShowPage(Page::Welcome); }

private:
    Shell& shell_;
};

void ImportPrayers(Shell& shell, UserStoreHost& host, const TKOVA1PrayerItems& items,
                   const TKOVA1PrayerDetails& texts)
{
    BusyCursor busy;
    TKOVAPrayerTracker& store = shell.PrayerTracker();
    // Each item is committed as it is written: a failure half way keeps the
    // items before it.
    for (const TVersion1Prayer& item : Version1Prayers(items, texts)) {
        const std::int32_t index = store.NewPrayerItem(item.Created);
        store.UpdatePrayer(index, item.Title, item.Topic, item.Preview, item.Status,
                           Version1TextDocument(item.Text), false);
    }
    host.BuildWelcomePage();
}

void ImportPlan(Shell& shell, UserStoreHost& host, const TKOVA1Plan& old)
{
    BusyCursor busy;
    TKOVAReadPlans& plans = shell.ReadPlans();
    int index = 0;
    {
        const std::vector<std::string> days =
            LoadTemplateVerses(shell.ProgramFolder() + "readplans.kova2", kVersion1PlanTemplate);
        index = plans.AddPlan(kVersion1PlanTitle, days, old.StartDate);
    }
    for (int day : Version1ReadDays(old))
        plans.SetDayDone(index, day, true);
    host.RefreshPlanViews(0);
    host.BuildWelcomePage();
}

} // namespace

std::string Version1TextDocument(const std::string& text)
{
    // The old program kept CR LF line ends; a paragraph per line either way.
    QString plain = FromBytes(text);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextDocument doc;
    doc.setPlainText(plain);
    return WriteRtf(doc).toStdString();
}

void ImportVersion1Data(Shell& shell)
{
    const std::string appData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
    // Without a per-user folder there is no old folder to look in.
    if (appData.empty())
        return;
    if (auto* host = dynamic_cast<UserStoreHost*>(&shell)) {
        ImportVersion1Data(shell, *host, Version1FolderFor(appData));
    } else {
        PageOnlyHost pageOnly(shell);
        ImportVersion1Data(shell, pageOnly, Version1FolderFor(appData));
    }
}

void ImportVersion1Data(Shell& shell, UserStoreHost& host, const std::string& version1Folder)
{
    if (!ShouldOfferVersion1Import(shell.PrayerTracker().CountPrayers(kPrayerFilterAny),
                                   shell.ReadPlans().GetPlanCount()))
        return;
    std::error_code ec;
    if (!std::filesystem::is_directory(version1Folder, ec))
        return;

    Dialogs& dialogs = shell.GetDialogs();

    // Both old prayer files are read, and checked, before anything is asked.
    TKOVA1PrayerItems items;
    TKOVA1PrayerDetails texts;
    if (ReadVersion1Prayers(version1Folder, items, texts) && !items.empty() &&
        dialogs.Confirm(FromBytes(Version1PrayersQuestion(static_cast<int>(items.size())))))
        ImportPrayers(shell, host, items, texts);

    TKOVA1Plan plan;
    if (ReadVersion1Plan(version1Folder, plan) && HasVersion1Plan(plan) &&
        dialogs.Confirm(FromBytes(Version1PlanQuestion(ShortDateBytes(plan.StartDate)))))
        ImportPlan(shell, host, plan);
}

} // namespace kovara::ui
