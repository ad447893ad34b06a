#pragma once
// A Bible page over the shipped King James text, with the test preferences,
// for the tests of the page.
#include "ui/bible/bible_page.h"

#include "core/content/bible_store.h"
#include "fixtures.h"
#include "test_preferences.h"
#include "ui/base/html_viewer.h"
#include "ui/base/passage_view.h"

#include <QTextCursor>
#include <gtest/gtest.h>
#include <memory>

namespace kovara::ui::test {

class BiblePageFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        bible = new BibleStore(kovara::test::builtFile("bible.kova2"), "King James Version", "KJV");
    }
    static void TearDownTestSuite() { delete bible; }
    void SetUp() override
    {
        prefs = makeTestPreferences();
        page.setBible(*bible);
        page.assignPreferences(*prefs);
    }
    HtmlViewer* chapterViewer() const { return page.findChild<PassageView*>("biblePassageView")->viewer(); }
    // The text of the first highlight of the chapter; empty without one.
    QString highlighted() const
    {
        const auto selections = chapterViewer()->extraSelections();
        return selections.isEmpty() ? QString() : selections.front().cursor.selectedText();
    }

    inline static BibleStore* bible = nullptr;
    std::unique_ptr<Preferences> prefs;
    BiblePage page;
};

} // namespace kovara::ui::test
