#pragma once
#include <string>
#include <vector>

namespace kovara::core {

// Splits text into pieces at `delimiter` by the one rule used wherever a verse
// specification (or a list of chapter lengths) is read:
//  - characters with codes 1 to 32 are skipped before and after a piece and
//    also end an unquoted piece;
//  - a delimiter at the very start, two delimiters in a row and a delimiter at
//    the very end each yield an empty piece; empty text yields no pieces;
//  - a piece that starts with a double quote runs to the closing quote (a
//    doubled quote inside stands for one quote);
//  - a zero byte ends the text.
std::vector<std::string> splitDelimited(const std::string& text, char delimiter);

} // namespace kovara::core
