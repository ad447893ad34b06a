#include "core/prayer/prayer_preview.h"

namespace kovara::core {

namespace {
// The length in bytes of the character that starts at text[i]: the whole
// sequence when a well-formed UTF-8 sequence starts there, otherwise 1.
std::size_t charLength(const std::string& text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else
        return 1;
    if (i + length > text.size())
        return 1;
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 1;
    return length;
}
} // namespace

std::string makePrayerPreview(const std::string& plainTextCrLf)
{
    const std::string trimmed = trim(plainTextCrLf);
    std::string preview;
    preview.reserve(trimmed.size());
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        if (trimmed[i] == '\r' && i + 1 < trimmed.size() && trimmed[i + 1] == '\n') {
            preview += ' ';
            ++i;
        } else {
            preview += trimmed[i];
        }
    }

    // Walk the characters; remember where the 97th ends in case the text
    // turns out to be longer than 100.
    std::size_t chars = 0, cut = 0;
    for (std::size_t i = 0; i < preview.size(); i += charLength(preview, i)) {
        if (chars == kPreviewMaxChars - 3)
            cut = i;
        if (++chars > kPreviewMaxChars)
            return preview.substr(0, cut) + "...";
    }
    return preview;
}

void savePrayerContent(PrayerStore& store, std::int32_t prayerIndex, const std::string& title,
                       const std::string& topic, const StoredStatus& status, const std::string& plainTextCrLf,
                       const std::function<std::string()>& writeDocument, const std::optional<PrayerAnswer>& answer,
                       const std::optional<PrayerNotes>& notes)
{
    PrayerSave save;
    save.previewText = makePrayerPreview(plainTextCrLf);
    save.textData = save.previewText.empty() ? std::string() : writeDocument();
    save.plainText = save.previewText.empty() ? std::string() : plainTextCrLf;
    save.title = trim(title);
    save.topic = trim(topic);
    save.status = status;
    save.touchEditTime = true;
    save.answer = answer;
    save.notes = notes;
    store.savePrayer(prayerIndex, save);
}

} // namespace kovara::core
