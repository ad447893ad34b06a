#pragma once
// settings.ini: a plain INI text file with exact section and key names.
//
// A line "[name]" opens a section; a line "key=value" sets a key in the
// section above it. Names are matched without regard to ASCII case, blanks
// around names and values are ignored, and every other line (comments, blank
// lines, anything unrecognised) is kept as it is.
//
// Nothing is cached: each read opens the file, and each write reads the file,
// changes the one key and writes the whole file back through a temporary file
// beside it that is then renamed over it, so the file on disk is always either
// the old or the new version. Unknown sections and keys and their order
// survive every write.
#include <string>

namespace kovara::core {

class IniFile {
public:
    explicit IniFile(std::string fileName) : fileName_(std::move(fileName)) {}

    const std::string& fileName() const { return fileName_; }

    // Reading never fails: a missing or unreadable file, section or key gives
    // the default.
    std::string readString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // Decimal, or hexadecimal after "0x" or "$" (all 32 bits may be used, so
    // "$FF000005" reads as a negative value). A value that is not a number
    // gives the default.
    int readInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // Read as an integer: anything but 0 is true.
    bool readBool(const std::string& section, const std::string& key, bool defaultValue) const;
    // True when the section holds the key (whatever its value).
    bool valueExists(const std::string& section, const std::string& key) const;

    // Writes go straight to the file. The section is appended when missing and
    // the key appended to its section when missing. Raises Exception
    // "Unable to write to %s" (the file's path) when the file cannot be
    // written; the file is then left as it was.
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    // Decimal, signed.
    void writeInteger(const std::string& section, const std::string& key, int value);
    // "1" or "0".
    void writeBool(const std::string& section, const std::string& key, bool value);

private:
    std::string fileName_;
};

} // namespace kovara::core
