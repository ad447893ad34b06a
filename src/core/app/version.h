#pragma once
#include <string>

namespace kovara {

// The file version text: four numbers joined by dots, compiled in from the
// build's project version.
inline std::string FileVersionText()
{
    return KOVARA_VERSION;
}

} // namespace kovara
