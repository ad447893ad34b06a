// Fills a user data folder as the start-up scenario needs it: prayers.kova2
// with the given number of prayer items and userreadplans.kova2 with the given
// number of one-year plans, both made from the shipped content.
//
//   make_bench_data <program folder/> <user data folder/> <plans> <prayers>
#include "bench_data.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char* argv[])
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <program folder/> <user data folder/> <plans> <prayers>\n", argv[0]);
        return 2;
    }
    try {
        const std::string program = argv[1], user = argv[2];
        std::filesystem::create_directories(user);
        kovara::core::SystemClock clock;
        kovara::core::BibleStore bible(program + "bible.kova2", "King James Version", "KJV");
        kovara::core::bench::makePlanDatabase(user + "userreadplans.kova2", program, std::stoi(argv[3]), clock);
        kovara::core::bench::makePrayerDatabase(user + "prayers.kova2", bible, std::stoi(argv[4]), 2000);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
