#pragma once
// What both halves of the SWORD plug-in read from a module's configuration.
#include "core/sword/sword_backend.h"

#include <swmodule.h>

#include <string>

namespace kovara::core {

inline SwordModuleType typeOf(const char* type)
{
    const std::string t = type ? type : "";
    if (t == "Biblical Texts")
        return SwordModuleType::Bible;
    if (t == "Commentaries")
        return SwordModuleType::Commentary;
    if (t == "Lexicons / Dictionaries")
        return SwordModuleType::Dictionary;
    return SwordModuleType::Other;
}

// A configuration entry, empty when the module has none.
inline std::string entry(const sword::SWModule& module, const char* key)
{
    const char* value = module.getConfigEntry(key);
    return value ? value : "";
}

} // namespace kovara::core
