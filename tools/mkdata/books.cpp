#include "books.h"

#include <cstring>

namespace kovara::mkdata {

const std::array<BookName, 66> kBooks = {{
    {"Gen", "Gen", "Genesis"},           {"Exod", "Exod", "Exodus"},
    {"Lev", "Lev", "Leviticus"},         {"Num", "Num", "Numbers"},
    {"Deut", "Deut", "Deuteronomy"},     {"Josh", "Josh", "Joshua"},
    {"Judg", "Judg", "Judges"},          {"Ruth", "Ruth", "Ruth"},
    {"1Sam", "1 Sam", "1 Samuel"},       {"2Sam", "2 Sam", "2 Samuel"},
    {"1Kgs", "1 Kings", "1 Kings"},      {"2Kgs", "2 Kings", "2 Kings"},
    {"1Chr", "1 Chron", "1 Chronicles"}, {"2Chr", "2 Chron", "2 Chronicles"},
    {"Ezra", "Ezra", "Ezra"},            {"Neh", "Neh", "Nehemiah"},
    {"Esth", "Esth", "Esther"},          {"Job", "Job", "Job"},
    {"Ps", "Ps", "Psalms"},              {"Prov", "Prov", "Proverbs"},
    {"Eccl", "Eccl", "Ecclesiastes"},    {"Song", "Song", "Song of Solomon"},
    {"Isa", "Isa", "Isaiah"},            {"Jer", "Jer", "Jeremiah"},
    {"Lam", "Lam", "Lamentations"},      {"Ezek", "Ezek", "Ezekiel"},
    {"Dan", "Dan", "Daniel"},            {"Hos", "Hos", "Hosea"},
    {"Joel", "Joel", "Joel"},            {"Amos", "Amos", "Amos"},
    {"Obad", "Obad", "Obadiah"},         {"Jonah", "Jonah", "Jonah"},
    {"Mic", "Mic", "Micah"},             {"Nah", "Nah", "Nahum"},
    {"Hab", "Hab", "Habakkuk"},          {"Zeph", "Zeph", "Zephaniah"},
    {"Hag", "Hag", "Haggai"},            {"Zech", "Zech", "Zechariah"},
    {"Mal", "Mal", "Malachi"},           {"Matt", "Matt", "Matthew"},
    {"Mark", "Mark", "Mark"},            {"Luke", "Luke", "Luke"},
    {"John", "John", "John"},            {"Acts", "Acts", "Acts"},
    {"Rom", "Rom", "Romans"},            {"1Cor", "1 Cor", "1 Corinthians"},
    {"2Cor", "2 Cor", "2 Corinthians"},  {"Gal", "Gal", "Galatians"},
    {"Eph", "Eph", "Ephesians"},         {"Phil", "Phil", "Philippians"},
    {"Col", "Col", "Colossians"},        {"1Thess", "1 Thess", "1 Thessalonians"},
    {"2Thess", "2 Thess", "2 Thessalonians"}, {"1Tim", "1 Tim", "1 Timothy"},
    {"2Tim", "2 Tim", "2 Timothy"},      {"Titus", "Titus", "Titus"},
    {"Phlm", "Philem", "Philemon"},      {"Heb", "Heb", "Hebrews"},
    {"Jas", "James", "James"},           {"1Pet", "1 Pet", "1 Peter"},
    {"2Pet", "2 Pet", "2 Peter"},        {"1John", "1 John", "1 John"},
    {"2John", "2 John", "2 John"},       {"3John", "3 John", "3 John"},
    {"Jude", "Jude", "Jude"},            {"Rev", "Rev", "Revelation"},
}};

int bookNumberOf(const char* osisId)
{
    for (std::size_t i = 0; i < kBooks.size(); ++i)
        if (std::strcmp(kBooks[i].osis, osisId) == 0)
            return static_cast<int>(i) + 1;
    return 0;
}

} // namespace kovara::mkdata
