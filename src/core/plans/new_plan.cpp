#include "plans/new_plan.h"

#include "content/kova_bible.h"

#include <cmath>
#include <filesystem>

namespace kovara {

const char* const kLessThanOneVersePerDay =
    "Based on the completion date you have chosen, this plan would have less than one verse per day. A reading plan "
    "must have at least one verse per day. Please adjust your completion date.";
const char* const kNewPlanNameCaption = "New Reading Plan Name";
const char* const kNewPlanNamePrompt = "Enter a name for your new reading plan:";
const char* const kBlankPlanName = "Sorry, you cannot have an blank plan name. Please specify a plan name.";
const char* const kDuplicatePlanName =
    "Sorry, there is already a plan with that name. Please specify a different plan name.";

std::string TemplateTableOf(TNewPlanKind kind)
{
    switch (kind) {
    case TNewPlanKind::SevenTypes:
        return "sevenTypes";
    case TNewPlanKind::OtNtDaily:
        return "otntDaily";
    default:
        return "";
    }
}

std::string DefaultPlanName(TNewPlanKind kind)
{
    return kind == TNewPlanKind::SevenTypes || kind == TNewPlanKind::OtNtDaily ? "Bible in a Year"
                                                                                : "Custom Reading Plan";
}

void CheckNewPlanSources(const TKOVABible* bible, const std::string& planFileName)
{
    if (!bible)
        throw Exception("Bible not assigned to TFormNewPlanDlg");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(planFileName, ec))
        throw Exception("Reading plan file " + planFileName + " not found.");
}

TCustomStretch TCustomStretch::FirstBook(const TKOVABible& bible)
{
    TCustomStretch s;
    s.endChapter = std::max(1, bible.GetChapterCount(1));
    return s;
}

void TCustomStretch::ChangeStartBook(int book, const TKOVABible& bible)
{
    startBook = book;
    startChapter = 1;
    if (endBook < startBook) {
        endBook = startBook;
        endChapter = std::max(1, bible.GetChapterCount(endBook));
    }
}

void TCustomStretch::ChangeEndBook(int book, const TKOVABible& bible)
{
    endBook = book;
    endChapter = std::max(1, bible.GetChapterCount(endBook));
    if (endBook < startBook) {
        startBook = endBook;
        startChapter = 1;
    }
}

void TCustomStretch::ChangeStartChapter(int chapter)
{
    startChapter = chapter;
    if (startBook == endBook && endChapter < startChapter)
        endChapter = startChapter;
}

void TCustomStretch::ChangeEndChapter(int chapter)
{
    endChapter = chapter;
    if (startBook == endBook && endChapter < startChapter)
        startChapter = endChapter;
}

int TCustomStretch::StartVerseIndex(const TKOVABible& bible) const
{
    return bible.GetVerseIndex(startBook, startChapter, 1);
}

int TCustomStretch::EndVerseIndex(const TKOVABible& bible) const
{
    return bible.GetVerseIndex(endBook, endChapter, bible.ChapterLengths(endBook, endChapter));
}

TDateTime ClampCompletionDate(TDateTime chosen, TDateTime today)
{
    return DateOf(chosen) < DateOf(today) ? today : chosen;
}

TCustomPlanFigures CustomPlanFigures(int first, int last, TDateTime today, TDateTime completion)
{
    TCustomPlanFigures f;
    f.first = first;
    f.last = last;
    f.total = last - first + 1;
    f.days = static_cast<int>(std::trunc(std::fabs(completion - today))) + 1;
    f.perDay = f.total / f.days;
    f.rest = f.total % f.days;
    return f;
}

std::string CustomPerDayText(const TCustomPlanFigures& f)
{
    if (f.perDay < 1)
        return "Less than one verse";
    // total / days rounded to the nearest whole number, halves to the even one.
    int n = f.perDay;
    if (2 * f.rest > f.days || (2 * f.rest == f.days && n % 2 == 1))
        ++n;
    if (f.rest == 0)
        return n == 1 ? "One verse" : Format("%d verses", n);
    return n == 1 ? "About one verse" : Format("About %d verses", n);
}

std::string CustomDetailsText(const TCustomPlanFigures& f)
{
    return Format("(%d total verses; %d days; %s per day.)", f.total, f.days, CustomPerDayText(f));
}

std::vector<std::string> CustomPlanDays(const TCustomPlanFigures& f)
{
    if (f.perDay < 1)
        throw Exception(kLessThanOneVersePerDay);
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
        days.push_back(Format("%d-%d", next, end));
        next = end + 1;
    }
    return days;
}

std::string ProposePlanName(const std::string& base, const std::function<bool(const std::string&)>& titleExists)
{
    std::string proposal = base;
    for (int n = 2; titleExists(proposal); ++n)
        proposal = Format("%s %d", base, n);
    return proposal;
}

std::string PlanNameRefusal(const std::string& trimmedName, const std::function<bool(const std::string&)>& titleExists)
{
    if (trimmedName.empty())
        return kBlankPlanName;
    if (titleExists(trimmedName))
        return kDuplicatePlanName;
    return "";
}

std::optional<std::string> AskPlanName(const std::string& proposal,
                                       const std::function<std::optional<std::string>(const std::string&)>& prompt,
                                       const std::function<void(const std::string&)>& notify,
                                       const std::function<bool(const std::string&)>& titleExists)
{
    std::string prefill = proposal;
    for (;;) {
        const std::optional<std::string> typed = prompt(prefill);
        if (!typed)
            return std::nullopt;
        const std::string name = Trim(*typed);
        const std::string refusal = PlanNameRefusal(name, titleExists);
        if (refusal.empty())
            return name;
        notify(refusal);
        prefill = name;
    }
}

} // namespace kovara
