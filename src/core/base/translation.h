#pragma once
// The texts the core writes for the reader (statuses, day lines, messages,
// the fixed words of generated pages) are English in the code and reach the
// reader through translatedText(context, text). The build's lupdate reads
// translatedText as QCoreApplication::translate, so these texts are in the
// program's catalogue with the UI's; texts kept in tables are marked with
// QT_TRANSLATE_NOOP(context, text), which does nothing here. The UI installs
// the function that looks a text up; until then every text stays English.
// No Qt here.
#include <string>

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace kovara::core {

// Returns text in the reader's language (UTF-8); context names the part of
// the program it belongs to, as in the catalogue.
using TextTranslator = std::string (*)(const char* context, const char* text);

// Installs translator for every later call of translatedText, from any thread;
// nullptr goes back to English.
void setTextTranslator(TextTranslator translator);

// text in the reader's language, or text itself when no translator is
// installed or it has no translation.
std::string translatedText(const char* context, const char* text);

} // namespace kovara::core
