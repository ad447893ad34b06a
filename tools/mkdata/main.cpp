// mkdata: builds the read-only content databases that ship beside Kovara.
//   mkdata bible <kjv.xml> <bible.kova2>
//   mkdata devotional <daily.verse> <bible.kova2> <devotional.kova2>
//   mkdata readplans <bible.kova2> <readplans.kova2>
#include "bible.h"
#include "devotional.h"
#include "readplans.h"

#include "core/base/exception.h"

#include <cstdio>
#include <cstring>
#include <exception>

int main(int argc, char* argv[])
{
    try {
        if (argc == 4 && !std::strcmp(argv[1], "bible")) {
            kovara::mkdata::buildBible(argv[2], argv[3]);
            return 0;
        }
        if (argc == 5 && !std::strcmp(argv[1], "devotional")) {
            kovara::mkdata::buildDevotional(argv[2], argv[3], argv[4]);
            return 0;
        }
        if (argc == 4 && !std::strcmp(argv[1], "readplans")) {
            kovara::mkdata::buildReadPlans(argv[2], argv[3]);
            return 0;
        }
        std::fprintf(stderr, "usage: mkdata bible <kjv.xml> <bible.kova2>\n"
                             "       mkdata devotional <daily.verse> <bible.kova2> <devotional.kova2>\n"
                             "       mkdata readplans <bible.kova2> <readplans.kova2>\n");
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkdata: %s\n", e.what());
        return 1;
    }
}
