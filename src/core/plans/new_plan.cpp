#include "core/plans/new_plan.h"

#include "core/base/files.h"
#include "core/base/translation.h"
#include "core/content/bible_store.h"

#include <algorithm>
#include <cmath>

namespace kovara::core {

const char* const kLessThanOneVersePerDay = QT_TRANSLATE_NOOP("kovara::core::NewPlan",
    "Based on the completion date you have chosen, this plan would have less than one verse per day. A reading plan "
    "must have at least one verse per day. Please adjust your completion date.");
const char* const kNewPlanNameCaption = QT_TRANSLATE_NOOP("kovara::core::NewPlan", "New Reading Plan Name");
const char* const kNewPlanNamePrompt =
    QT_TRANSLATE_NOOP("kovara::core::NewPlan", "Enter a name for your new reading plan:");
const char* const kBlankPlanName =
    QT_TRANSLATE_NOOP("kovara::core::NewPlan", "Sorry, you cannot have an blank plan name. Please specify a plan name.");
const char* const kDuplicatePlanName =
    QT_TRANSLATE_NOOP("kovara::core::NewPlan", "Sorry, there is already a plan with that name. Please specify a different plan name.");

std::string templateTableOf(NewPlanKind kind)
{
    switch (kind) {
    case NewPlanKind::SevenTypes:
        return "sevenTypes";
    case NewPlanKind::OtNtDaily:
        return "otntDaily";
    default:
        return "";
    }
}

std::string defaultPlanName(NewPlanKind kind)
{
    return kind == NewPlanKind::SevenTypes || kind == NewPlanKind::OtNtDaily ? translatedText("kovara::core::NewPlan", "Bible in a Year")
                                                                                : translatedText("kovara::core::NewPlan", "Custom Reading Plan");
}

void checkNewPlanSources(const BibleStore* bible, const std::string& planFileName)
{
    if (!bible)
        throw Exception("Bible not assigned to checkNewPlanSources");
    if (!fileExists(planFileName))
        throw Exception("Reading plan file " + planFileName + " not found.");
}

CustomStretch CustomStretch::firstBook(const BibleStore& bible)
{
    CustomStretch s;
    s.endChapter = std::max(1, bible.chapterCount(1));
    return s;
}

void CustomStretch::changeStartBook(int book, const BibleStore& bible)
{
    startBook = book;
    startChapter = 1;
    if (endBook < startBook) {
        endBook = startBook;
        endChapter = std::max(1, bible.chapterCount(endBook));
    }
}

void CustomStretch::changeEndBook(int book, const BibleStore& bible)
{
    endBook = book;
    endChapter = std::max(1, bible.chapterCount(endBook));
    if (endBook < startBook) {
        startBook = endBook;
        startChapter = 1;
    }
}

void CustomStretch::changeStartChapter(int chapter)
{
    startChapter = chapter;
    if (startBook == endBook && endChapter < startChapter)
        endChapter = startChapter;
}

void CustomStretch::changeEndChapter(int chapter)
{
    endChapter = chapter;
    if (startBook == endBook && endChapter < startChapter)
        startChapter = endChapter;
}

int CustomStretch::startVerseIndex(const BibleStore& bible) const
{
    return bible.verseIndex(startBook, startChapter, 1);
}

int CustomStretch::endVerseIndex(const BibleStore& bible) const
{
    return bible.verseIndex(endBook, endChapter, bible.chapterLengths(endBook, endChapter));
}

sys_days clampCompletionDate(sys_seconds chosen, sys_seconds now)
{
    return std::max(dayOf(chosen), dayOf(now));
}

CustomPlanFigures customPlanFigures(int first, int last, sys_days today, sys_days completion)
{
    CustomPlanFigures f;
    f.first = first;
    f.last = last;
    f.total = last - first + 1;
    f.days = static_cast<int>(std::chrono::abs(completion - today).count()) + 1;
    f.perDay = f.total / f.days;
    f.rest = f.total % f.days;
    return f;
}

std::string customPerDayText(const CustomPlanFigures& f)
{
    if (f.perDay < 1)
        return translatedText("kovara::core::NewPlan", "Less than one verse");
    // total / days rounded to the nearest whole number, halves to the even one.
    int n = f.perDay;
    if (2 * f.rest > f.days || (2 * f.rest == f.days && n % 2 == 1))
        ++n;
    if (f.rest == 0)
        return translatedCount("kovara::core::NewPlan", "%n verses", nullptr, n);
    return translatedCount("kovara::core::NewPlan", "About %n verses", nullptr, n);
}

std::string customDetailsText(const CustomPlanFigures& f)
{
    return withArgs(translatedText("kovara::core::NewPlan", "(%1 total verses; %2 days; %3 per day.)"), f.total, f.days, customPerDayText(f));
}

std::vector<std::string> customPlanDays(const CustomPlanFigures& f)
{
    if (f.perDay < 1)
        throw Exception(translatedText("kovara::core::NewPlan", kLessThanOneVersePerDay));
    std::vector<std::string> days;
    int next = f.first;
    int rest = f.rest;
    for (int i = 1; i <= f.days; ++i) {
        int end = next + f.perDay - 1;
        if (rest > 0) {
            ++end;
            --rest;
        }
        if (end > f.last || (i == f.days && end < f.last))
            end = f.last;
        days.push_back(format("%d-%d", next, end));
        next = end + 1;
    }
    return days;
}

std::string proposePlanName(const std::string& base, const std::function<bool(const std::string&)>& titleExists)
{
    std::string proposal = base;
    for (int n = 2; titleExists(proposal); ++n)
        proposal = format("%s %d", base, n);
    return proposal;
}

std::string planNameRefusal(const std::string& trimmedName, const std::function<bool(const std::string&)>& titleExists)
{
    if (trimmedName.empty())
        return translatedText("kovara::core::NewPlan", kBlankPlanName);
    if (titleExists(trimmedName))
        return translatedText("kovara::core::NewPlan", kDuplicatePlanName);
    return "";
}

std::optional<std::string> askPlanName(const std::string& proposal,
                                       const std::function<std::optional<std::string>(const std::string&)>& prompt,
                                       const std::function<void(const std::string&)>& notify,
                                       const std::function<bool(const std::string&)>& titleExists)
{
    std::string prefill = proposal;
    for (;;) {
        const std::optional<std::string> typed = prompt(prefill);
        if (!typed)
            return std::nullopt;
        const std::string name = trim(*typed);
        const std::string refusal = planNameRefusal(name, titleExists);
        if (refusal.empty())
            return name;
        notify(refusal);
        prefill = name;
    }
}

} // namespace kovara::core
