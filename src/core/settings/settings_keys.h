#pragma once
// Every key the program reads from or writes to settings.ini, with its
// section and default. The file keeps the names and spellings of earlier
// versions, so none of them may change.
#include "core/settings/setting.h"

#include <array>
#include <string>

namespace kovara::core::settings {

// Preferences (core/app/preferences.h), written together in this order.
inline constexpr Setting<bool> kParagraphMode{"Bible Display", "ParagraphMode", true};
inline constexpr Setting<int> kSplitPercent{"Prayer Tracker", "SplitPercent", 45, 0, 100};
// Colours as 0x00BBGGRR, or a window-system colour (see ColorValue).
inline constexpr Setting<int> kTextBackColor{"Global Display", "TextBackColor", 0xF0FBFF};
inline constexpr Setting<int> kTextFontColor{"Global Display", "TextFontColor", 0};
inline const Setting<std::string> kTextFontName{"Global Display", "TextFontName", "Verdana"};
// In points, within the sizes the Preferences dialog offers.
inline constexpr int kMinTextFontSize = 5;
inline constexpr int kMaxTextFontSize = 25;
inline constexpr Setting<int> kTextFontSize{"Global Display", "TextFontSize", 10, kMinTextFontSize, kMaxTextFontSize};
// The zoom of the passage views in percent of the text font size.
inline constexpr Setting<int> kTextZoom{"Global Display", "TextZoom", 100, 50, 300};
inline const Setting<std::string> kLastBackupFile{"Directories and Files", "LastBackupFile", ""};
inline const Setting<std::string> kLastRestoreFile{"Directories and Files", "LastRestoreFile", ""};
inline constexpr Setting<int> kLastFaithsCheckbookRead{"Devotional Info", "LastFaithsCheckbookRead", 0, 0};
inline constexpr Setting<bool> kOfferImport1x{"Misc", "OfferImport1x", true};

// The daily reminder (core/plans/reading_reminder.h). The time is "HH:MM";
// empty (missing) keeps the reminder's default time.
inline constexpr Setting<bool> kReminderEnabled{"Reminder", "Enabled", false};
inline const Setting<std::string> kReminderTime{"Reminder", "Time", ""};
inline constexpr Setting<bool> kReminderStartAtLogin{"Reminder", "StartAtLogin", false};
// The daily reminder to pray through today's prayer list
// (core/prayer/prayer_reminder.h), off by default; the time as above.
inline constexpr Setting<bool> kPrayerReminderEnabled{"Prayer Reminder", "Enabled", false};
inline const Setting<std::string> kPrayerReminderTime{"Prayer Reminder", "Time", ""};

// Keeping plans and prayers in step through a synced folder (off by
// default). The computer id is made at first use; settings.ini is never part
// of a backup, so a restored backup on another computer gets an id of its
// own. LastExchange is the local time of the last exchange, "YYYY-MM-DD HH:MM".
inline constexpr Setting<bool> kSyncEnabled{"Sync", "Enabled", false};
inline const Setting<std::string> kSyncFolder{"Sync", "Folder", ""};
inline const Setting<std::string> kSyncComputerName{"Sync", "ComputerName", ""};
inline const Setting<std::string> kSyncComputerId{"Sync", "ComputerId", ""};
inline const Setting<std::string> kSyncLastExchange{"Sync", "LastExchange", ""};

// The chapter the Bible page showed last.
inline constexpr Setting<int> kBibleBook{"Bible Page", "Book", 1, 1};
inline constexpr Setting<int> kBibleChapter{"Bible Page", "Chapter", 1, 1};
// The share of the Bible page's height, in percent, that the chapter takes
// above the search.
inline constexpr Setting<int> kBibleSplitPercent{"Bible Page", "SplitPercent", 60, 10, 90};

// The reader agreed that Kovara may connect to SWORD's repositories.
inline constexpr Setting<bool> kSwordInternetAllowed{"SWORD", "InternetAllowed", false};

// A window's placement: its normal rectangle in screen pixels (Right and
// Bottom just past the last column and row) and whether it was maximized
// (written 1 or 0; only 1 maximizes). The edges' defaults are the window's
// current ones, given where they are read. The edges are kept within
// kMaxWindowCoordinate of the origin (far beyond any screen: the window is then
// brought onto one where it is placed), so their differences cannot overflow.
inline constexpr int kMaxWindowCoordinate = 100000;

struct WindowPlacementKeys {
    Setting<int> maximized;
    Setting<int> left;
    Setting<int> top;
    Setting<int> right;
    Setting<int> bottom;
    Setting<bool> saved;
};

constexpr WindowPlacementKeys windowPlacement(const char* section)
{
    constexpr int kMin = -kMaxWindowCoordinate, kMax = kMaxWindowCoordinate;
    return {{section, "Maximized", 0},
            {section, "Left", 0, kMin, kMax},
            {section, "Top", 0, kMin, kMax},
            {section, "Right", 0, kMin, kMax},
            {section, "Bottom", 0, kMin, kMax},
            {section, "Saved", false}};
}

inline constexpr WindowPlacementKeys kMainWindowPlacement = windowPlacement("Main Window State");
inline constexpr WindowPlacementKeys kPrayerEditorPlacement = windowPlacement("Prayer Edit Window State");

// The colour dialog's sixteen custom colours, as six hexadecimal digits
// (RRGGBB, upper case); an empty or unreadable slot keeps its colour.
inline const std::array<Setting<std::string>, 16> kCustomColors{{
    {"Custom Colors", "ColorA", ""}, {"Custom Colors", "ColorB", ""}, {"Custom Colors", "ColorC", ""},
    {"Custom Colors", "ColorD", ""}, {"Custom Colors", "ColorE", ""}, {"Custom Colors", "ColorF", ""},
    {"Custom Colors", "ColorG", ""}, {"Custom Colors", "ColorH", ""}, {"Custom Colors", "ColorI", ""},
    {"Custom Colors", "ColorJ", ""}, {"Custom Colors", "ColorK", ""}, {"Custom Colors", "ColorL", ""},
    {"Custom Colors", "ColorM", ""}, {"Custom Colors", "ColorN", ""}, {"Custom Colors", "ColorO", ""},
    {"Custom Colors", "ColorP", ""},
}};

} // namespace kovara::core::settings
