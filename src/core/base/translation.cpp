#include "core/base/translation.h"

#include <atomic>

namespace kovara::core {

namespace {

std::atomic<TextTranslator> installed{nullptr};

} // namespace

void setTextTranslator(TextTranslator translator)
{
    installed.store(translator);
}

std::string translatedText(const char* context, const char* text)
{
    const TextTranslator translator = installed.load();
    return translator ? translator(context, text) : std::string(text);
}

} // namespace kovara::core
