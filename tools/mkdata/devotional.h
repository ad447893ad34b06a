#pragma once
#include <string>

namespace kovara::mkdata {

// Reads the day-by-day verse list at versePath (lines "Rmmdd <text>", the
// quoted verse followed by its reference) and writes devotional.kova2 to
// outPath: table faithsCheckbook with one HTML entry per calendar day, 29
// February included, quoting the verses from the bible.kova2 at biblePath.
// Raises kovara::core::Exception on a list that misses a day, an unknown book or a
// reference the Bible does not have.
void buildDevotional(const std::string& versePath, const std::string& biblePath, const std::string& outPath);

} // namespace kovara::mkdata
