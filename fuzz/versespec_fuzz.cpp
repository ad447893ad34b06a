// Verse specifications as stored in plans: the splitting rule, the runs, and
// the readable reference text on a small two-book Bible made once at start.
#include "base/delimited.h"
#include "base/exception.h"
#include "content/kova_bible.h"
#include "fixtures.h"
#include "fuzz_support.h"

#include <memory>

using namespace kovara;

namespace {
std::unique_ptr<TKOVABible> bible;

bool IsBlank(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

// Without quotes no piece may hold a blank or the delimiter.
void CheckSplit(const std::string& text, char delimiter)
{
    const std::vector<std::string> pieces = SplitDelimited(text, delimiter);
    const std::string upToZero = text.substr(0, text.find('\0'));
    if (upToZero.find('"') != std::string::npos)
        return;
    std::size_t characters = 0;
    for (const std::string& piece : pieces) {
        characters += piece.size();
        for (char c : piece)
            fuzz::Expect(c != delimiter && !IsBlank(c) && c != '\0', "a piece holds a delimiter or blank");
    }
    fuzz::Expect(characters <= upToZero.size(), "pieces longer than the text");
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::string file = fuzz::ScratchFolder() + "bible.kova2";
    test::MakeAlphaBetaBible(file);
    bible = std::make_unique<TKOVABible>(file, "Alpha Beta", "AB");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string spec(reinterpret_cast<const char*>(data), size);
    CheckSplit(spec, ',');
    CheckSplit(spec, '-');
    try {
        ParseVerseSpec(spec);
    } catch (const Exception&) {
    }
    for (bool shortNames : {false, true}) {
        try {
            bible->GetReferenceText(spec, shortNames);
        } catch (const Exception&) {
            // Not a number, or a verse the Bible does not have: both are reported.
        }
    }
    return 0;
}
