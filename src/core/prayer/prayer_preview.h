#pragma once
// What the prayer editor stores when the user saves: the one-line preview of
// the text shown in the tracker's list, and the rule that a text holding only
// blanks and line breaks is stored as no text at all.
#include "core/prayer/prayer_store.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace kovara::core {

// The longest preview, in characters; a longer text keeps its first 97
// characters followed by "...".
inline constexpr std::size_t kPreviewMaxChars = 100;

// The preview of a plain text with CR LF line breaks (UTF-8): trimmed of
// characters with codes up to 32 at both ends, every CR LF pair turned into
// one blank, and cut as above. Characters are counted, not bytes, and a
// multi-byte sequence is never cut apart; a byte that is not part of valid
// UTF-8 counts as one character.
std::string makePrayerPreview(const std::string& plainTextCrLf);

// Saves an item's content as the editor does: title and topic trimmed, the
// status as given, the preview from plainTextCrLf, and the document bytes from
// writeDocument - called only when the preview is not empty, so an empty text
// stores NULL text and NULL preview. The last-edit time becomes now. The
// answer record and the notes are written with it when given; all of it, and
// the item's search entry, in one transaction.
void savePrayerContent(PrayerStore& store, std::int32_t prayerIndex, const std::string& title,
                       const std::string& topic, const StoredStatus& status, const std::string& plainTextCrLf,
                       const std::function<std::string()>& writeDocument,
                       const std::optional<PrayerAnswer>& answer = std::nullopt,
                       const std::optional<PrayerNotes>& notes = std::nullopt);

} // namespace kovara::core
