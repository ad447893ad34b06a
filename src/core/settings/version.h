#pragma once
#include <string>

namespace kovara::core {

// The file version text: four numbers joined by dots, compiled in from the
// build's project version.
inline std::string fileVersionText()
{
    return KOVARA_VERSION;
}

} // namespace kovara::core
