// User text on its way into a generated page reads as text, never as markup.
#include "core/base/html_escape.h"

#include <gtest/gtest.h>

namespace kovara::core {
namespace {

TEST(HtmlEscapeTest, MarkupCharactersBecomeReferencesAndTheRestStays)
{
    const struct {
        const char* text;
        const char* escaped;
    } cases[] = {
        {"", ""},
        {"Whole Bible", "Whole Bible"},
        {"Whole <!-- Bible", "Whole &lt;!-- Bible"},
        {"Big <i>italic</i>", "Big &lt;i&gt;italic&lt;/i&gt;"},
        {"Tom & Jerry", "Tom &amp; Jerry"},
        {"&amp;", "&amp;amp;"}, // an entity typed by the user stays as typed
        {"say \"amen\"", "say &quot;amen&quot;"},
        {"it's", "it's"},
        {"Jesaja \xc3\xbc \xe2\x80\x93 <", "Jesaja \xc3\xbc \xe2\x80\x93 &lt;"}, // UTF-8 untouched
        {"\x96 Windows-1252 \x93", "\x96 Windows-1252 \x93"},                // so are stray bytes
    };
    for (const auto& c : cases)
        EXPECT_EQ(htmlEscape(c.text), c.escaped) << c.text;
    EXPECT_EQ(htmlEscape(std::string_view("a\0<", 3)), std::string("a\0&lt;", 6));
}

} // namespace
} // namespace kovara::core
