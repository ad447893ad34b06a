#include "ui/prayer/version1_import.h"
#include "ui/base/error_guard.h"
#include "ui/prayer/prayer_search.h"
#include "ui/base/core_names.h"

#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"
#include "core/prayer/version1_reader.h"
#include "ui/base/dialogs.h"
#include "ui/prayer/rtf_codec.h"
#include "ui/base/shell.h"
#include <QCursor> // before the busy cursor, which needs the full type

#include "ui/base/busy_cursor.h"
#include "ui/base/dates.h"
#include "ui/base/text_codec.h"

#include <QTextDocument>
#include <filesystem>

namespace kovara::ui {

namespace {

void importPrayers(Shell& shell, const Version1PrayerItems& items,
                   const Version1PrayerDetails& texts)
{
    BusyCursor busy;
    PrayerStore& store = shell.prayerStore();
    // Each item is committed as it is written: a failure half way keeps the
    // items before it.
    for (const Version1Prayer& item : version1Prayers(items, texts)) {
        const std::int32_t index = store.newPrayerItem(item.created);
        PrayerSave save;
        save.title = item.title;
        save.topic = item.topic;
        save.previewText = item.preview;
        save.status = item.status;
        save.textData = version1TextDocument(item.text);
        // The whole text goes into the search index, decoded as the text
        // area shows it.
        save.plainText = save.textData.empty() ? std::string() : plainTextOfDocument(save.textData);
        save.touchEditTime = false;
        store.savePrayer(index, save);
    }
    shell.session().notifyPrayersChanged();
}

void importPlan(Shell& shell, const Version1Plan& old)
{
    BusyCursor busy;
    PlanStore& plans = shell.planStore();
    PlanId added;
    {
        const std::vector<std::string> days =
            loadTemplateVerses(shell.contentFolder() + "readplans.kova2", kVersion1PlanTemplate);
        added = plans.addPlan(kVersion1PlanTitle, days, *old.startDate);
    }
    const int index = plans.indexOf(added).value_or(-1);
    plans.markDaysDone(index, version1ReadDays(old));
    shell.session().notifyPlansChanged();
}

} // namespace

std::string version1TextDocument(const std::string& text)
{
    // A text that already is a rich-text document keeps its formatting,
    // colours included.
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    if (isRtf(bytes)) {
        QTextDocument doc;
        readRtf(bytes, doc);
        return writeRtf(doc).toStdString();
    }
    // The old program kept CR LF line ends; a paragraph per line either way.
    QString plain = fromBytes(text);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextDocument doc;
    doc.setPlainText(plain);
    return writeRtf(doc).toStdString();
}

void importVersion1Data(Shell& shell, const std::string& version1Folder)
{
    if (!shouldOfferVersion1Import(shell.prayerStore().countPrayers(std::nullopt),
                                   shell.planStore().planCount()))
        return;
    std::error_code ec;
    if (!std::filesystem::is_directory(version1Folder, ec))
        return;

    Dialogs& dialogs = shell.dialogs();

    // Both old prayer files are read, and checked, before anything is asked.
    // Yes is the default answer: importing adds to an empty journal and loses
    // nothing, and it is what nearly everyone coming from Kovara 1 wants.
    Version1PrayerItems items;
    Version1PrayerDetails texts;
    if (readVersion1Prayers(version1Folder, items, texts) && !items.empty() &&
        dialogs.confirm(fromBytes(version1PrayersQuestion(static_cast<int>(items.size()))), Dialogs::Answer::Yes))
        importPrayers(shell, items, texts);

    Version1Plan plan;
    if (readVersion1Plan(version1Folder, plan) && hasVersion1Plan(plan) &&
        dialogs.confirm(fromBytes(version1PlanQuestion(shortDateBytes(dayOf(*plan.startDate)))), Dialogs::Answer::Yes))
        importPlan(shell, plan);
}

void runImportOffer(bool& offerImport, Dialogs& dialogs, const std::function<bool()>& importData,
                    const std::function<void()>& savePreferences)
{
    static bool running = false;
    if (!offerImport || running)
        return;
    running = true;
    bool answered = true; // a failed import counts: its message was shown
    runGuarded(dialogs, [&] { answered = importData(); });
    running = false;
    if (!answered)
        return;
    offerImport = false;
    runGuarded(dialogs, savePreferences);
}

} // namespace kovara::ui
