#include "core/base/translation.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kovara::core {
namespace {

TEST(TranslationTest, ValuesGoWhereTheirNumbersStand)
{
    struct Case {
        const char* text;
        std::vector<std::string> values;
        const char* expected;
    };
    const Case cases[] = {
        {"Unable to rename %1 to %2: %3", {"a.db", "b.db", "busy"}, "Unable to rename a.db to b.db: busy"},
        {"%2 before %1, %1 again", {"one", "two"}, "two before one, one again"},
        // a value is put in as it is, never read for placeholders itself
        {"%1 and %2", {"%2", "x"}, "%2 and x"},
        // a placeholder without a value and every other % stay
        {"%3 of 100% %%, %1", {"a"}, "%3 of 100% %%, a"},
        {"%", {"a"}, "%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(substituteArgs(c.text, c.values), c.expected) << c.text;
    EXPECT_EQ(withArgs("Day %1 of %2: %3", 3, 365, std::string("Genesis 5")), "Day 3 of 365: Genesis 5");
}

// Without a translator the English forms of the program's English catalogue
// are used (the core's own plural texts are in it).
TEST(TranslationTest, CountsReadInEnglishWithoutATranslator)
{
    struct Case {
        const char* context;
        const char* text;
        int n;
        const char* expected;
    };
    const Case cases[] = {
        {"kovara::core::NewPlan", "%n verses", 1, "One verse"},
        {"kovara::core::NewPlan", "%n verses", 2, "2 verses"},
        {"kovara::core::NewPlan", "%n verses", 0, "0 verses"},
        {"kovara::core::ReferenceParser", "%1 has %n chapters", 1, "%1 has 1 chapter"},
        {"kovara::core::ReferenceParser", "%1 has %n chapters", 21, "%1 has 21 chapters"},
        // the same text in another context is not that message
        {"kovara::core::WelcomePage", "%n verses", 1, "1 verses"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(translatedCount(c.context, c.text, nullptr, c.n), c.expected) << c.text << " " << c.n;
}

std::string echoTranslator(const char* context, const char* text, const char* disambiguation, int n)
{
    return std::string(context) + "|" + text + "|" + (disambiguation ? disambiguation : "-") + "|" + std::to_string(n);
}

TEST(TranslationTest, AnInstalledTranslatorIsAskedWithTheCount)
{
    setTextTranslator(&echoTranslator);
    EXPECT_EQ(translatedText("kovara::core::A", "Plain"), "kovara::core::A|Plain|-|-1");
    EXPECT_EQ(translatedCount("kovara::core::NewPlan", "%n verses", nullptr, 1), "kovara::core::NewPlan|%n verses|-|1");
    setTextTranslator(nullptr);
    EXPECT_EQ(translatedText("kovara::core::A", "Plain"), "Plain");
}

} // namespace
} // namespace kovara::core
