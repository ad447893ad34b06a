#pragma once
// The texts the core writes for the reader (statuses, day lines, messages,
// the fixed words of generated pages) are English in the code and reach the
// reader through translatedText(context, text), or translatedCount(context,
// text, nullptr, n) for a text about a number of things ("%n days"). The
// build's lupdate reads both as QCoreApplication::translate, so these texts
// are in the program's catalogue with the UI's; texts kept in tables are
// marked with QT_TRANSLATE_NOOP(context, text), which does nothing here. The
// UI installs the function that looks a text up; until then every text stays
// English.
//
// A context is the qualified name of the class the text belongs to, or of
// the file for free functions ("kovara::core::WelcomePage"), the form that
// Qt's tr() gives the UI's classes. Values go into a text as %1, %2, ...
// through withArgs, so that a translation may put them in another order.
// No Qt here.
#include <concepts>
#include <span>
#include <string>
#include <string_view>

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace kovara::core {

// Returns text in the reader's language (UTF-8); context names the part of
// the program it belongs to, as in the catalogue; disambiguation is nullptr
// or tells two equal texts apart. n < 0 for a text without a number;
// otherwise the form for n is chosen and every %n in it replaced by n.
using TextTranslator = std::string (*)(const char* context, const char* text, const char* disambiguation, int n);

// Installs translator for every later call of translatedText and
// translatedCount, from any thread; nullptr goes back to English.
void setTextTranslator(TextTranslator translator);

// text in the reader's language, or text itself when no translator is
// installed or it has no translation.
std::string translatedText(const char* context, const char* text);

// text (which holds %n) in the reader's language in the form for n ("1 day"
// or "2 days"), with %n replaced by n. Without a translator the English
// forms of the program's English catalogue are used; a text that has none
// there only has its %n replaced. disambiguation is nullptr or as in the
// catalogue.
std::string translatedCount(const char* context, const char* text, const char* disambiguation, int n);

// text with %1, %2, ... %9 replaced by values[0], values[1], ... in one
// pass (a value that holds "%2" stays as it is). A %-digit beyond the
// values, and every other %, is kept.
std::string substituteArgs(std::string_view text, std::span<const std::string> values);

inline std::string argText(std::string_view value)
{
    return std::string(value);
}

template <std::integral Integer>
std::string argText(Integer value)
{
    return std::to_string(value);
}

// substituteArgs for strings and integers: withArgs(text, path, 3).
template <typename... Values>
std::string withArgs(std::string_view text, const Values&... values)
{
    const std::string texts[] = {argText(values)...};
    return substituteArgs(text, texts);
}

} // namespace kovara::core
