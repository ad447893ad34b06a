#pragma once
#include <string>

namespace kovara::mkdata {

// Writes readplans.kova2 to outPath with the two one-year plan templates,
// sized from the chapter lengths of the bible.kova2 at biblePath:
//  - sevenTypes, 364 days: day 1 Law, 2 History, 3 Psalms, 4 Poetry,
//    5 Prophecy, 6 Gospels, 7 Epistles, repeating; each type's books are cut
//    at chapter ends into 52 portions of near-equal verse count;
//  - otntDaily, 365 days: each day one Old Testament portion and one New
//    Testament portion ("a-b,c-d") of near-equal verse count, cut at a chapter
//    end wherever one lies close to the even cut.
// Each template reads every verse once, in order. Raises kovara::core::Exception on
// bad input.
void buildReadPlans(const std::string& biblePath, const std::string& outPath);

} // namespace kovara::mkdata
