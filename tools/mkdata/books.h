#pragma once
// The 66 books in canonical order: their OSIS identifiers and the English
// short and long names written into bookInfo.
#include <array>

namespace kovara::mkdata {

struct BookName {
    const char* osis;
    const char* shortName;
    const char* longName;
};

extern const std::array<BookName, 66> kBooks;

// 1-based book number for an OSIS identifier, 0 when unknown.
int bookNumberOf(const char* osisId);

} // namespace kovara::mkdata
