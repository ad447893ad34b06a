#pragma once
// One value kept in settings.ini: its section, its key and the value a missing
// or unreadable key gives. Every key the program keeps is declared once, in
// core/settings/settings_keys.h, and read and written only through its
// declaration, so a key's spelling and type live in one place.
//
// bool is written "1"/"0" and read as an integer (anything but 0 is true);
// int is written in decimal and read in decimal or hexadecimal ("0x", "$");
// text is written as it is. An integer read from the file is brought into
// its range [lowest, highest] (the whole int range unless declared), so a
// hand-edited or damaged value cannot blank a page or put a window out of
// reach.
#include "core/settings/ini_file.h"

#include <algorithm>
#include <climits>
#include <string>
#include <type_traits>

namespace kovara::core {

template <class T>
struct Setting {
    static_assert(std::is_same_v<T, bool> || std::is_same_v<T, int> || std::is_same_v<T, std::string>,
                  "settings.ini keeps booleans, integers and text");

    const char* section;
    const char* key;
    T fallback;
    // The range of an int setting; unused for the other types.
    int lowest = INT_MIN;
    int highest = INT_MAX;

    T read(const IniFile& ini) const { return read(ini, fallback); }
    // With a fallback known only at run time (a window's current edge).
    T read(const IniFile& ini, const T& otherwise) const
    {
        if constexpr (std::is_same_v<T, bool>)
            return ini.readBool(section, key, otherwise);
        else if constexpr (std::is_same_v<T, int>)
            return std::clamp(ini.readInteger(section, key, otherwise), lowest, highest);
        else
            return ini.readString(section, key, otherwise);
    }
    // Raises "Unable to write to %s" when the file cannot be written.
    void write(IniFile& ini, const T& value) const
    {
        if constexpr (std::is_same_v<T, bool>)
            ini.writeBool(section, key, value);
        else if constexpr (std::is_same_v<T, int>)
            ini.writeInteger(section, key, value);
        else
            ini.writeString(section, key, value);
    }
    // True when the file holds the key, whatever its value.
    bool exists(const IniFile& ini) const { return ini.valueExists(section, key); }
};

} // namespace kovara::core
