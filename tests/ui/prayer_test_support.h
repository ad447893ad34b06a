#pragma once
// What the prayer page tests share: a shell over a temporary prayers.kova2
// with a fixed fixedClock, scripted scripted and test preferences; and the prayer
// editor with its modal step played by the test.
#include "ui/base/core_names.h"
#include "core/base/datetime.h"
#include "core/base/exception.h"
#include "fixtures.h"
#include "core/prayer/prayer_store.h"
#include "scripted_dialogs.h"
#include "test_preferences.h"
#include "ui/prayer/prayer_editor.h"
#include "ui/base/shell.h"

#include <functional>
#include <memory>
#include <string>

namespace kovara::ui::test {

class PrayerShell : public Shell {
public:
    PrayerShell() : store(std::make_unique<PrayerStore>(dir.file("prayers.kova2"), &fixedClock)) {}

    Preferences& preferences() override { return *prefs; }
    BibleStore& bible() override { throw Exception("no Bible in this test"); }
    DevotionalStore& devotional() override { throw Exception("no devotional in this test"); }
    PlanStore& planStore() override { throw Exception("no plans in this test"); }
    PrayerStore& prayerStore() override { return *store; }
    Dialogs& dialogs() override { return scripted; }
    const Clock& clock() override { return fixedClock; }
    const std::string& contentFolder() const override { return folder; }
    const std::string& userDataFolder() const override { return folder; }
    void showPage(Page p) override { page = p; }
    Page currentPage() const override { return page; }

    // Stands for a backup or restore: the store is freed and made anew.
    void reopenStore()
    {
        store.reset();
        store = std::make_unique<PrayerStore>(dir.file("prayers.kova2"), &fixedClock);
    }

    // An item as the editor would have saved it, without touching its edit
    // time; rtf empty means no text.
    std::int32_t add(const std::string& title, const std::string& topic, const std::string& status,
                     const std::string& rtf = {})
    {
        const std::int32_t index = store->newPrayerItem(0);
        store->updatePrayer(index, title, topic, rtf.empty() ? "" : title, status, rtf, false);
        return index;
    }

    kovara::test::TempDir dir;
    std::string folder = dir.folder();
    FixedClock fixedClock{encodeDateTime(2024, 5, 1, 9, 15, 0)};
    std::unique_ptr<Preferences> prefs = makeTestPreferences();
    ScriptedDialogs scripted;
    std::unique_ptr<PrayerStore> store;
    Page page = Page::Welcome;
};

// The editor shown without a modal loop: runModal shows the window, lets the
// test act as the user and expects the window to be closed by then.
class ScriptedEditor : public PrayerEditor {
public:
    using PrayerEditor::PrayerEditor;

    std::function<void(ScriptedEditor&)> user;
    int shown = 0;

    int runModal() override
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
