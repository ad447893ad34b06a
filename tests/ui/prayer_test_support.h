#pragma once
// What the prayer page tests share: a shell over a temporary prayers.kova2
// with a fixed clock, scripted dialogs and test preferences; and the prayer
// editor with its modal step played by the test.
#include "base/datetime.h"
#include "base/exception.h"
#include "fixtures.h"
#include "prayer/kova_prayertracker.h"
#include "scripted_dialogs.h"
#include "test_preferences.h"
#include "ui/prayer/formEditPrayer.h"
#include "ui/shell.h"

#include <functional>
#include <memory>
#include <string>

namespace kovara::ui::test {

class PrayerShell : public Shell {
public:
    PrayerShell() : store(std::make_unique<TKOVAPrayerTracker>(dir.File("prayers.kova2"), &clock)) {}

    TKOVAPreferences& Preferences() override { return *prefs; }
    TKOVABible& Bible() override { throw Exception("no Bible in this test"); }
    TKOVADevotional& Devotional() override { throw Exception("no devotional in this test"); }
    TKOVAReadPlans& ReadPlans() override { throw Exception("no plans in this test"); }
    TKOVAPrayerTracker& PrayerTracker() override { return *store; }
    Dialogs& GetDialogs() override { return dialogs; }
    const Clock& GetClock() override { return clock; }
    const std::string& ProgramFolder() const override { return folder; }
    const std::string& UserDataFolder() const override { return folder; }
    void ShowPage(Page p) override { page = p; }
    Page CurrentPage() const override { return page; }

    // Stands for a backup or restore: the store is freed and made anew.
    void ReopenStore()
    {
        store.reset();
        store = std::make_unique<TKOVAPrayerTracker>(dir.File("prayers.kova2"), &clock);
    }

    // An item as the editor would have saved it, without touching its edit
    // time; rtf empty means no text.
    std::int32_t Add(const std::string& title, const std::string& topic, const std::string& status,
                     const std::string& rtf = {})
    {
        const std::int32_t index = store->NewPrayerItem(0);
        store->UpdatePrayer(index, title, topic, rtf.empty() ? "" : title, status, rtf, false);
        return index;
    }

    kovara::test::TempDir dir;
    std::string folder = dir.Folder();
    FixedClock clock{EncodeDateTime(2024, 5, 1, 9, 15, 0)};
    std::unique_ptr<TKOVAPreferences> prefs = MakeTestPreferences();
    ScriptedDialogs dialogs;
    std::unique_ptr<TKOVAPrayerTracker> store;
    Page page = Page::Welcome;
};

// The editor shown without a modal loop: RunModal shows the window, lets the
// test act as the user and expects the window to be closed by then.
class ScriptedEditor : public TFormPrayerEdit {
public:
    using TFormPrayerEdit::TFormPrayerEdit;

    std::function<void(ScriptedEditor&)> user;
    int shown = 0;

    int RunModal() override
    {
        ++shown;
        show();
        if (user)
            user(*this);
        EXPECT_FALSE(isVisible()) << "the editor was left open";
        hide();
        return result();
    }
};

} // namespace kovara::ui::test
