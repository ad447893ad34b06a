#include "core/content/reference_parser.h"

#include "core/base/exception.h"
#include "core/base/translation.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

namespace kovara::core {
namespace {

// Full English names in Bible order, lower case without spaces; a name
// matches any book whose full name it starts (when only one does).
constexpr std::array<std::string_view, 66> kFullNames = {
    "genesis",       "exodus",         "leviticus",     "numbers",       "deuteronomy",  "joshua",
    "judges",        "ruth",           "1samuel",       "2samuel",       "1kings",       "2kings",
    "1chronicles",   "2chronicles",    "ezra",          "nehemiah",      "esther",       "job",
    "psalms",        "proverbs",       "ecclesiastes",  "songofsolomon", "isaiah",       "jeremiah",
    "lamentations",  "ezekiel",        "daniel",        "hosea",         "joel",         "amos",
    "obadiah",       "jonah",          "micah",         "nahum",         "habakkuk",     "zephaniah",
    "haggai",        "zechariah",      "malachi",       "matthew",       "mark",         "luke",
    "john",          "acts",           "romans",        "1corinthians",  "2corinthians", "galatians",
    "ephesians",     "philippians",    "colossians",    "1thessalonians", "2thessalonians", "1timothy",
    "2timothy",      "titus",          "philemon",      "hebrews",       "james",        "1peter",
    "2peter",        "1john",          "2john",         "3john",         "jude",         "revelation"};

// Short forms that are not the start of the full name, or that would be
// ambiguous as a start ("phil", "jud").
struct Alias {
    std::string_view name;
    int book;
};
constexpr Alias kAliases[] = {
    {"gn", 1},      {"ex", 2},      {"lv", 3},       {"nm", 4},       {"nu", 4},      {"dt", 5},
    {"jos", 6},     {"jdg", 7},     {"jg", 7},       {"rth", 8},      {"ru", 8},      {"1sa", 9},
    {"1sm", 9},     {"2sa", 10},    {"2sm", 10},     {"1kgs", 11},    {"1ki", 11},    {"2kgs", 12},
    {"2ki", 12},    {"1chr", 13},   {"1ch", 13},     {"2chr", 14},    {"2ch", 14},    {"ne", 16},
    {"est", 17},    {"jb", 18},     {"ps", 19},      {"psa", 19},     {"pss", 19},    {"psalm", 19},
    {"pr", 20},     {"prv", 20},    {"qoh", 21},     {"ecc", 21},     {"song", 22},   {"songofsongs", 22},
    {"sos", 22},    {"canticles", 22}, {"is", 23},   {"je", 24},      {"lam", 25},    {"ezk", 26},
    {"eze", 26},    {"dn", 27},     {"ho", 28},      {"jl", 29},      {"am", 30},     {"ob", 31},
    {"jnh", 32},    {"jon", 32},    {"mi", 33},      {"na", 34},      {"hab", 35},    {"zep", 36},
    {"hg", 37},     {"zec", 38},    {"mal", 39},     {"mt", 40},      {"mk", 41},     {"mrk", 41},
    {"mr", 41},     {"lk", 42},     {"jn", 43},      {"ac", 44},      {"rm", 45},     {"ro", 45},
    {"1co", 46},    {"2co", 47},    {"ga", 48},      {"php", 50},     {"phil", 50},   {"1th", 52},
    {"2th", 53},    {"1ti", 54},    {"2ti", 55},     {"ti", 56},      {"phm", 57},    {"phlm", 57},
    {"jas", 59},    {"jm", 59},     {"1pe", 60},     {"1pt", 60},     {"2pe", 61},    {"2pt", 61},
    {"1jn", 62},    {"1jo", 62},    {"2jn", 63},     {"2jo", 63},     {"3jn", 64},    {"3jo", 64},
    {"jud", 65},    {"jde", 65},    {"re", 66},      {"rv", 66},      {"apocalypse", 66},
    {"revelations", 66}};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return std::string(s);
}

// The name as a key: lower case, spaces and dots gone, a leading "I", "II",
// "III", "First", "Second", "Third" written as a digit.
std::string nameKey(const std::string& name)
{
    std::string words;
    for (char c : name)
        words += (c == '.') ? ' ' : lower(c);
    words = trim(words);
    static const std::pair<std::string_view, char> ordinals[] = {
        {"iii ", '3'}, {"ii ", '2'},     {"i ", '1'},     {"third ", '3'}, {"second ", '2'},
        {"first ", '1'}, {"3rd ", '3'}, {"2nd ", '2'}, {"1st ", '1'}};
    for (const auto& [word, digit] : ordinals)
        if (words.starts_with(word)) {
            words = std::string(1, digit) + words.substr(word.size());
            break;
        }
    std::string key;
    for (char c : words)
        if (c != ' ')
            key += c;
    return key;
}

// A number at text[pos], moving pos past it; nothing when there is none or it
// is absurdly long.
std::optional<int> readNumber(const std::string& text, size_t& pos)
{
    const size_t start = pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    if (pos == start || pos - start > 4)
        return std::nullopt;
    return std::stoi(text.substr(start, pos - start));
}

ReferenceResult failure(std::string message)
{
    ReferenceResult result;
    result.error = std::move(message);
    return result;
}

const char* const kHowTo = QT_TRANSLATE_NOOP("kovara::core::ReferenceParser", "Type a reference such as \"John 3:16\"");

} // namespace

int findBookByName(const std::string& name)
{
    const std::string key = nameKey(name);
    if (key.empty())
        return 0;
    for (int book = 1; book <= 66; ++book)
        if (kFullNames[book - 1] == key)
            return book;
    for (const Alias& alias : kAliases)
        if (alias.name == key)
            return alias.book;
    int found = 0;
    for (int book = 1; book <= 66; ++book)
        if (kFullNames[book - 1].starts_with(key)) {
            if (found != 0)
                return 0;
            found = book;
        }
    // "1" alone or "1c" starts several books and is caught above; a bare
    // digit never names a book.
    return (key.size() == 1 && isDigit(key[0])) ? 0 : found;
}

namespace {

// Letters people put after a verse number: "3v16" for the colon, "16a" for
// part of the verse, "16ff" for the verses that follow (the verse is opened).
// Returns rest with "v" and "vv" between numbers as ':' and the others gone;
// any other letter is left for the caller to refuse.
std::string verseLetters(const std::string& rest)
{
    std::string out;
    for (size_t i = 0; i < rest.size();) {
        if (!isAlpha(rest[i]) || out.empty() || !isDigit(out.back())) {
            out += rest[i++];
            continue;
        }
        size_t end = i;
        while (end < rest.size() && isAlpha(rest[end]))
            ++end;
        std::string letters;
        for (size_t j = i; j < end; ++j)
            letters += lower(rest[j]);
        const bool numberNext = end < rest.size() && isDigit(rest[end]);
        const bool endNext = end == rest.size() || rest[end] == '-';
        if ((letters == "v" || letters == "vv") && numberNext)
            out += ':';
        else if (!(endNext && (letters == "a" || letters == "b" || letters == "c" || letters == "f" || letters == "ff")))
            out += rest.substr(i, end - i);
        i = end;
    }
    return out;
}

// One reference with its book ("John 3:16-18"); see parseReference.
ReferenceResult parseOne(const std::string& text, const BibleStore& bible)
{
    const std::string input = trim(text);
    if (input.empty())
        return failure(translatedText("kovara::core::ReferenceParser", kHowTo));

    // The book: an optional leading number, then letters, spaces and dots up
    // to the first digit after a letter.
    size_t pos = 0;
    while (pos < input.size() && (isDigit(input[pos]) || input[pos] == ' ' || input[pos] == '.'))
        ++pos;
    if (pos == input.size() || !isAlpha(input[pos]))
        return failure(translatedText("kovara::core::ReferenceParser", kHowTo));
    while (pos < input.size() && !isDigit(input[pos]))
        ++pos;
    const std::string bookText = trim(input.substr(0, pos));
    std::string typedBook = bookText;
    while (!typedBook.empty() && (typedBook.back() == '.' || typedBook.back() == ' '))
        typedBook.pop_back();
    const int book = findBookByName(bookText);
    if (book == 0)
        return failure(withArgs(translatedText("kovara::core::ReferenceParser", "No book called \"%1\""), typedBook));

    // The numbers: C, C:V, C:V-V, C:V-C:V, C-C. A dot between digits stands
    // for the colon ("3.16"), and so do spaces between two numbers ("Gen 1 1");
    // other spaces are dropped. An en dash stands for the hyphen.
    std::string rest;
    for (size_t i = pos; i < input.size(); ++i) {
        const char c = input[i];
        if (c != ' ') {
            rest += c;
            continue;
        }
        size_t next = i;
        while (next < input.size() && input[next] == ' ')
            ++next;
        if (!rest.empty() && isDigit(rest.back()) && next < input.size() && isDigit(input[next]))
            rest += ':';
        i = next - 1;
    }
    for (std::string_view dash : {"\xE2\x80\x93", "\xE2\x80\x94"})
        for (size_t at; (at = rest.find(dash)) != std::string::npos;)
            rest.replace(at, dash.size(), "-");
    std::replace(rest.begin(), rest.end(), '.', ':');
    rest = verseLetters(rest);

    const std::string name = bible.longBookName(book);
    const int chapters = bible.chapterCount(book);
    PassageRef passage;
    passage.book = book;
    // Whether the text names verses; verse 0 is then refused rather than read
    // as the whole chapter.
    bool versesAsked = false;
    if (rest.empty()) {
        passage.chapter = passage.endChapter = 1;
    } else {
        size_t at = 0;
        const auto first = readNumber(rest, at);
        if (!first)
            return failure(translatedText("kovara::core::ReferenceParser", kHowTo));
        std::optional<int> firstVerse;
        if (at < rest.size() && rest[at] == ':') {
            ++at;
            firstVerse = readNumber(rest, at);
            if (!firstVerse)
                return failure(translatedText("kovara::core::ReferenceParser", kHowTo));
        }
        std::optional<int> second, secondVerse;
        if (at < rest.size() && rest[at] == '-') {
            ++at;
            second = readNumber(rest, at);
            if (!second)
                return failure(translatedText("kovara::core::ReferenceParser", kHowTo));
            if (at < rest.size() && rest[at] == ':') {
                ++at;
                secondVerse = readNumber(rest, at);
                if (!secondVerse)
                    return failure(translatedText("kovara::core::ReferenceParser", kHowTo));
            }
        }
        if (at != rest.size())
            return failure(translatedText("kovara::core::ReferenceParser", kHowTo));

        if (chapters == 1 && !firstVerse && !second && *first == 1) {
            // "Philemon 1": readers mean the chapter, not its first verse.
            passage.chapter = passage.endChapter = 1;
        } else if (chapters == 1 && !firstVerse && !(second && secondVerse)) {
            // "Jude 3", "Jude 3-5": verses of the only chapter.
            passage.chapter = passage.endChapter = 1;
            passage.verse = *first;
            passage.endVerse = second ? *second : *first;
            versesAsked = true;
        } else if (!firstVerse) {
            // "Gen 1", "Gen 1-3" or "Gen 1-2:3".
            passage.chapter = *first;
            passage.endChapter = second ? *second : *first;
            if (secondVerse) {
                passage.verse = 1;
                passage.endVerse = *secondVerse;
                versesAsked = true;
            }
        } else {
            versesAsked = true;
            passage.chapter = *first;
            passage.verse = *firstVerse;
            if (secondVerse) {
                passage.endChapter = *second;
                passage.endVerse = *secondVerse;
            } else {
                passage.endChapter = *first;
                passage.endVerse = second ? *second : *firstVerse;
            }
        }
    }

    for (int chapter : {passage.chapter, passage.endChapter})
        if (chapter < 1 || chapter > chapters)
            return failure(
                withArgs(translatedCount("kovara::core::ReferenceParser", "%1 has %n chapters", nullptr, chapters), name));
    const std::pair<int, int> ends[] = {{passage.chapter, passage.verse}, {passage.endChapter, passage.endVerse}};
    for (const auto& [chapter, verse] : ends) {
        const int verses = bible.chapterLengths(book, chapter);
        if (versesAsked && (verse < 1 || verse > verses))
            return failure(withArgs(translatedText("kovara::core::ReferenceParser", "%1 %2 has %3 verses"), name, chapter, verses));
    }
    if (passage.endChapter < passage.chapter ||
        (passage.endChapter == passage.chapter && passage.endVerse < passage.verse))
        return failure(withArgs(translatedText("kovara::core::ReferenceParser", "The passage ends before it starts: \"%1\""), input));

    ReferenceResult result;
    result.ok = true;
    result.passage = passage;
    return result;
}

// Whether a part of a list names its own book ("Rom 8:28", "1 Cor 13")
// rather than more chapters and verses of the book before.
bool namesBook(const std::string& part)
{
    size_t at = 0;
    while (at < part.size() && (isDigit(part[at]) || part[at] == ' ' || part[at] == '.'))
        ++at;
    if (at == part.size() || !isAlpha(part[at]))
        return false;
    // "16a", "16ff", "3v16" are verses, not a book.
    std::string letters;
    while (at < part.size() && isAlpha(part[at]))
        letters += lower(part[at++]);
    return !(letters == "a" || letters == "b" || letters == "c" || letters == "f" || letters == "ff" ||
             letters == "v" || letters == "vv");
}

// text without a version name at its end ("John 3:16 KJV", "John 3:16
// (KJV)") when the name is the Bible's own abbreviation or title.
std::string withoutVersion(const std::string& text, const BibleStore& bible)
{
    std::string input = trim(text);
    std::string tail;
    for (const std::string& name : {bible.abbreviation(), bible.title()}) {
        if (name.empty())
            continue;
        for (const std::string& form : {name, "(" + name + ")"}) {
            if (input.size() <= form.size())
                continue;
            const size_t at = input.size() - form.size();
            const char before = input[at - 1];
            if (before != ' ' && !isDigit(before) && before != ',')
                continue;
            bool same = true;
            for (size_t i = 0; i < form.size() && same; ++i)
                same = lower(input[at + i]) == lower(form[i]);
            if (same)
                return trim(input.substr(0, at));
        }
    }
    return input;
}

} // namespace

ReferenceResult parseReference(const std::string& text, const BibleStore& bible)
{
    const std::string input = withoutVersion(text, bible);
    // A list: parts after a comma go on in the chapter before (or the book
    // before, after a whole chapter), parts after a semicolon name chapters
    // of the book before; a part with a book of its own stands alone.
    std::vector<std::pair<char, std::string>> parts;
    size_t start = 0;
    char separator = 0;
    for (size_t i = 0; i <= input.size(); ++i)
        if (i == input.size() || input[i] == ',' || input[i] == ';') {
            parts.emplace_back(separator, trim(input.substr(start, i - start)));
            if (i < input.size())
                separator = input[i];
            start = i + 1;
        }
    ReferenceResult result = parseOne(parts.front().second, bible);
    if (!result.ok || parts.size() == 1)
        return result;
    const std::string bookName = bible.longBookName(result.passage.book);
    PassageRef previous = result.passage;
    for (size_t i = 1; i < parts.size(); ++i) {
        const auto& [sep, part] = parts[i];
        if (part.empty())
            return failure(translatedText("kovara::core::ReferenceParser", kHowTo));
        std::string full;
        if (namesBook(part))
            full = part;
        else if (sep == ',' && previous.verse != 0 && part.find_first_of(":.v") == std::string::npos)
            full = bookName + " " + std::to_string(previous.endChapter) + ":" + part;
        else
            full = bible.longBookName(previous.book) + " " + part;
        const ReferenceResult next = parseOne(full, bible);
        if (!next.ok)
            return next;
        previous = next.passage;
        result.more.push_back(previous);
    }
    return result;
}

std::string referenceText(const PassageRef& p, const BibleStore& bible)
{
    std::string text = format("%s %d", bible.longBookName(p.book), p.chapter);
    if (p.verse == 0)
        return p.endChapter != p.chapter ? text + format("-%d", p.endChapter) : text;
    text += format(":%d", p.verse);
    if (p.endChapter != p.chapter)
        text += format("-%d:%d", p.endChapter, p.endVerse);
    else if (p.endVerse != p.verse)
        text += format("-%d", p.endVerse);
    return text;
}

std::string citedBookName(int book, const std::string& longName)
{
    constexpr int kPsalms = 19;
    return book == kPsalms && longName == "Psalms" ? std::string("Psalm") : longName;
}

std::string citationText(const PassageRef& p, const BibleStore& bible)
{
    const std::string text = referenceText(p, bible);
    const std::string name = bible.longBookName(p.book);
    if (p.endChapter != p.chapter || text.compare(0, name.size(), name) != 0)
        return text;
    return citedBookName(p.book, name) + text.substr(name.size());
}

namespace {
constexpr std::string_view kLinkScheme = "bible:";
} // namespace

std::string passageLink(const PassageRef& p)
{
    std::string link = format("%s%d.%d", std::string(kLinkScheme), p.book, p.chapter);
    if (p.verse == 0)
        return link;
    link += format(".%d", p.verse);
    const int last = p.endChapter == p.chapter ? p.endVerse : 0;
    if (last > p.verse)
        link += format("-%d", last);
    return link;
}

bool parsePassageLink(const std::string& link, PassageRef& passage)
{
    if (link.compare(0, kLinkScheme.size(), kLinkScheme) != 0)
        return false;
    // book.chapter[.verse[-verse]], every number a positive integer.
    int numbers[4] = {0, 0, 0, 0};
    std::size_t count = 0;
    std::size_t at = kLinkScheme.size();
    const char separators[] = {'.', '.', '-'};
    while (true) {
        std::size_t digits = 0;
        long value = 0;
        while (at < link.size() && link[at] >= '0' && link[at] <= '9' && digits < 6) {
            value = value * 10 + (link[at] - '0');
            ++at;
            ++digits;
        }
        if (digits == 0 || value == 0)
            return false;
        numbers[count++] = static_cast<int>(value);
        if (at == link.size())
            break;
        if (count == 4 || link[at] != separators[count - 1])
            return false;
        ++at;
    }
    if (count < 2)
        return false;
    PassageRef result;
    result.book = numbers[0];
    result.chapter = result.endChapter = numbers[1];
    result.verse = numbers[2];
    result.endVerse = count == 4 ? numbers[3] : numbers[2];
    if (result.endVerse < result.verse)
        return false;
    passage = result;
    return true;
}

} // namespace kovara::core
