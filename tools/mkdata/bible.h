#pragma once
#include <string>

namespace kovara::mkdata {

// Reads the King James OSIS text at osisPath and writes bible.kova2 (tables
// bibleText and bookInfo) to outPath. Raises kovara::core::Exception on bad input.
void buildBible(const std::string& osisPath, const std::string& outPath);

} // namespace kovara::mkdata
