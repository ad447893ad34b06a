// Verse specifications as stored in plans: the splitting rule, the runs, and
// the readable reference text on a small two-book Bible made once at start.
#include "core/base/delimited.h"
#include "core/base/exception.h"
#include "core/content/bible_store.h"
#include "fixtures.h"
#include "fuzz_support.h"

#include <memory>

using namespace kovara::core;

namespace {
std::unique_ptr<BibleStore> bible;

bool isBlank(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

// Without quotes no piece may hold a blank or the delimiter.
void checkSplit(const std::string& text, char delimiter)
{
    const std::vector<std::string> pieces = splitDelimited(text, delimiter);
    const std::string upToZero = text.substr(0, text.find('\0'));
    if (upToZero.find('"') != std::string::npos)
        return;
    std::size_t characters = 0;
    for (const std::string& piece : pieces) {
        characters += piece.size();
        for (char c : piece)
            fuzz::expect(c != delimiter && !isBlank(c) && c != '\0', "a piece holds a delimiter or blank");
    }
    fuzz::expect(characters <= upToZero.size(), "pieces longer than the text");
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::string file = fuzz::scratchFolder() + "bible.kova2";
    kovara::test::makeAlphaBetaBible(file);
    bible = std::make_unique<BibleStore>(file, "Alpha Beta", "AB");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string spec(reinterpret_cast<const char*>(data), size);
    checkSplit(spec, ',');
    checkSplit(spec, '-');
    try {
        parseVerseSpec(spec);
    } catch (const Exception&) {
    }
    for (bool shortNames : {false, true}) {
        try {
            bible->referenceText(spec, shortNames);
        } catch (const Exception&) {
            // Not a number, or a verse the Bible does not have: both are reported.
        }
    }
    return 0;
}
