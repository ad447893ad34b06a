#pragma once
// What the new-plan dialog and startNewPlan need that is not a widget: the
// three kinds of plan, the custom stretch with its linked book and chapter
// choices, the custom plan's figures, summary line and day texts, the
// completion-date rule, and the choice and checking of the plan's name.
#include "core/base/datetime.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kovara::core {

class BibleStore;

enum class NewPlanKind { None, SevenTypes, OtNtDaily, Custom };

// "sevenTypes", "otntDaily", or empty text for the custom and no kind.
std::string templateTableOf(NewPlanKind kind);
// "Bible in a Year" for both one-year kinds, else "Custom Reading Plan".
std::string defaultPlanName(NewPlanKind kind);

// Raises "Bible not assigned to checkNewPlanSources" when bible is null, and
// "Reading plan file <path> not found." when no file is at planFileName. Run
// each time before the dialog is shown.
void checkNewPlanSources(const BibleStore* bible, const std::string& planFileName);

// The stretch a custom plan reads: from verse 1 of the start chapter to the
// last verse of the end chapter. The Change functions apply one choice and the
// rule that keeps the stretch non-empty.
struct CustomStretch {
    int startBook = 1;
    int startChapter = 1;
    int endBook = 1;
    int endChapter = 1;

    // The whole first book, as the dialog opens for the first time.
    static CustomStretch firstBook(const BibleStore& bible);
    // Start chapter becomes 1; an end book before it moves to it (and its
    // last chapter).
    void changeStartBook(int book, const BibleStore& bible);
    // End chapter becomes the book's last; a start book after it moves to it
    // (and chapter 1).
    void changeEndBook(int book, const BibleStore& bible);
    // Within one book, an end chapter before the start follows it.
    void changeStartChapter(int chapter);
    // Within one book, a start chapter after the end follows it.
    void changeEndChapter(int chapter);

    int startVerseIndex(const BibleStore& bible) const;
    int endVerseIndex(const BibleStore& bible) const;
};

// The completion date a custom plan gets for the chosen one: a day before
// today goes back to today. Only the days count: the result is a midnight
// (the dialog's date field holds no time of day). The dialog beeps when the
// user's date changed.
sys_days clampCompletionDate(sys_seconds chosen, sys_seconds now);

struct CustomPlanFigures {
    int first = 0;  // verse index of the first verse
    int last = 0;   // verse index of the last verse
    int total = 0;  // verses in the stretch
    int days = 0;   // one for today and one for every day up to the completion date
    int perDay = 0; // total / days
    int rest = 0;   // total mod days: the first `rest` days read one verse more
};

CustomPlanFigures customPlanFigures(int first, int last, sys_days today, sys_days completion);

// "Less than one verse", "One verse", "7 verses", "About one verse" or
// "About 3 verses"; the average is rounded with halves to the even neighbour.
std::string customPerDayText(const CustomPlanFigures& f);
// "(%d total verses; %d days; %s per day.)"
std::string customDetailsText(const CustomPlanFigures& f);

// The message shown when the stretch has fewer verses than the plan has days.
extern const char* const kLessThanOneVersePerDay;
// The day texts "first-last" of a custom plan, day 1 first. Raises
// kLessThanOneVersePerDay when a day would get no verse.
std::vector<std::string> customPlanDays(const CustomPlanFigures& f);

// base, or base followed by " 2", " 3", ... : the first that no plan has yet.
std::string proposePlanName(const std::string& base, const std::function<bool(const std::string&)>& titleExists);

extern const char* const kNewPlanNameCaption; // "New Reading Plan Name"
extern const char* const kNewPlanNamePrompt;  // "Enter a name for your new reading plan:"
extern const char* const kBlankPlanName;
extern const char* const kDuplicatePlanName;

// The refusal message for a name the user typed (already trimmed), or empty
// text when the name can be used.
std::string planNameRefusal(const std::string& trimmedName,
                            const std::function<bool(const std::string&)>& titleExists);

// Asks for the new plan's name until an acceptable one is given: prompt(prefill)
// shows the one-line prompt and returns the typed text, or nothing on Cancel;
// notify(message) shows a refusal. The typed text is trimmed of blanks and
// control characters, and each repeated prompt is prefilled with it. Returns
// the accepted name, or nothing when the user cancelled.
std::optional<std::string> askPlanName(const std::string& proposal,
                                       const std::function<std::optional<std::string>(const std::string&)>& prompt,
                                       const std::function<void(const std::string&)>& notify,
                                       const std::function<bool(const std::string&)>& titleExists);

} // namespace kovara::core
