#include "core/base/translation.h"

#include <atomic>
#include <cstring>

namespace kovara::core {

namespace {

std::atomic<TextTranslator> installed{nullptr};

// The English forms of the texts about a number of things, from the
// program's English catalogue (translations/kovara_en.ts), made by the build.
struct EnglishForms {
    const char* context;
    const char* disambiguation; // "" for none
    const char* text;
    const char* one;
    const char* many;
};

constexpr EnglishForms kEnglishForms[] = {
#include "english_plurals.inc"
};

std::string replaceCount(std::string text, int n)
{
    const std::string number = std::to_string(n);
    for (std::size_t at = text.find("%n"); at != std::string::npos; at = text.find("%n", at + number.size()))
        text.replace(at, 2, number);
    return text;
}

} // namespace

void setTextTranslator(TextTranslator translator)
{
    installed.store(translator);
}

std::string translatedText(const char* context, const char* text)
{
    const TextTranslator translator = installed.load();
    return translator ? translator(context, text, nullptr, -1) : std::string(text);
}

std::string translatedCount(const char* context, const char* text, const char* disambiguation, int n)
{
    if (const TextTranslator translator = installed.load())
        return translator(context, text, disambiguation, n);
    for (const EnglishForms& forms : kEnglishForms)
        if (std::strcmp(forms.context, context) == 0 && std::strcmp(forms.text, text) == 0 &&
            std::strcmp(forms.disambiguation, disambiguation ? disambiguation : "") == 0)
            return replaceCount(n == 1 ? forms.one : forms.many, n);
    return replaceCount(text, n);
}

std::string substituteArgs(std::string_view text, std::span<const std::string> values)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(text[i + 1] - '1');
            if (index < values.size()) {
                result += values[index];
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

} // namespace kovara::core
