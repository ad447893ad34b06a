#include "core/settings/ini_file.h"

#include "core/base/atomic_file.h"
#include "core/base/exception.h"
#include "core/base/translation.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace kovara::core {
namespace {

namespace fs = std::filesystem;

// Written back with the line ends it was read with.
using IniText = IniFile::Text;

// Reads the whole file. Returns false when it does not exist or cannot be read.
bool loadIni(const std::string& fileName, IniText& text)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return false;
    const std::string data = buffer.str();
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t end = data.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = data.size();
        std::string line = data.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            if (text.lines.empty())
                text.crlf = true;
        }
        text.lines.push_back(std::move(line));
        start = last ? end : end + 1;
    }
    return true;
}

bool sameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// "[name]" (blanks allowed around it and inside the brackets).
bool parseSection(const std::string& line, std::string& name)
{
    const std::string t = trim(line);
    if (t.empty() || t.front() != '[')
        return false;
    const std::size_t close = t.find(']');
    if (close == std::string::npos)
        return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

// "key=value"; lines starting with ';' are comments.
bool parseKey(const std::string& line, std::string& key, std::string& value)
{
    const std::string t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return false;
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos)
        return false;
    key = trim(t.substr(0, eq));
    value = trim(t.substr(eq + 1));
    return !key.empty();
}

// Where a key sits in the text: the line of the key, or failing that the line
// after which it belongs (the last non-blank line of the section's first
// occurrence). Both are -1 when absent.
struct KeyPlace {
    long keyLine = -1;
    long insertAfter = -1;
    std::string value;
};

KeyPlace findKey(const IniText& text, const std::string& section, const std::string& key)
{
    KeyPlace place;
    bool inSection = false;
    bool firstOccurrence = false;
    std::string name, k, v;
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        const std::string& line = text.lines[i];
        if (parseSection(line, name)) {
            inSection = sameName(name, section);
            firstOccurrence = inSection && place.insertAfter < 0;
            if (firstOccurrence)
                place.insertAfter = static_cast<long>(i);
            continue;
        }
        if (!inSection)
            continue;
        if (parseKey(line, k, v) && sameName(k, key)) {
            place.keyLine = static_cast<long>(i);
            place.value = v;
            return place;
        }
        if (firstOccurrence && !trim(line).empty())
            place.insertAfter = static_cast<long>(i);
    }
    return place;
}

// The text as the file holds it, each line ended as the file ends its first.
std::string joinLines(const IniText& text)
{
    const char* eol = text.crlf ? "\r\n" : "\n";
    std::string data;
    for (const std::string& line : text.lines)
        data += line + eol;
    return data;
}

} // namespace

bool IniFile::loadText(Text& text) const
{
    if (batchDepth_ > 0) {
        text = batchText_;
        return true;
    }
    return loadIni(fileName_, text);
}

std::string IniFile::readString(const std::string& section, const std::string& key, const std::string& defaultValue) const
{
    IniText text;
    if (!loadText(text))
        return defaultValue;
    const KeyPlace place = findKey(text, section, key);
    return place.keyLine >= 0 ? place.value : defaultValue;
}

int IniFile::readInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    const std::string value = readString(section, key, std::string());
    if (value.empty())
        return defaultValue;
    try {
        return strToInt(value);
    } catch (const Exception&) {
        return defaultValue;
    }
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::valueExists(const std::string& section, const std::string& key) const
{
    IniText text;
    return loadText(text) && findKey(text, section, key).keyLine >= 0;
}

void IniFile::writeString(const std::string& section, const std::string& key, const std::string& value)
{
    std::optional<Batch> own;
    if (batchDepth_ == 0)
        own.emplace(*this);
    IniText& text = batchText_;

    // A line break inside a value would end the line and could start a new
    // section, so breaks are stored as blanks.
    std::string clean = value;
    for (char& c : clean)
        if (c == '\r' || c == '\n')
            c = ' ';
    const std::string line = key + "=" + clean;

    const KeyPlace place = findKey(text, section, key);
    if (place.keyLine >= 0) {
        text.lines[static_cast<std::size_t>(place.keyLine)] = line;
    } else if (place.insertAfter >= 0) {
        text.lines.insert(text.lines.begin() + place.insertAfter + 1, line);
    } else {
        while (!text.lines.empty() && trim(text.lines.back()).empty())
            text.lines.pop_back();
        if (!text.lines.empty())
            text.lines.push_back(std::string());
        text.lines.push_back("[" + section + "]");
        text.lines.push_back(line);
    }
    if (own)
        own->commit();
}

IniFile::Batch::Batch(IniFile& ini) : ini_(ini)
{
    if (ini_.batchDepth_ == 0) {
        IniText text;
        ini_.batchOriginal_.reset();
        if (loadIni(ini_.fileName_, text)) {
            ini_.batchOriginal_ = joinLines(text);
        } else {
            // A file that exists but cannot be read must not be replaced by
            // the few keys written now.
            std::error_code ec;
            if (fs::exists(ini_.fileName_, ec))
                throw Exception(withArgs(translatedText("kovara::core::IniFile", "Unable to write to %1"), ini_.fileName_));
        }
        ini_.batchText_ = std::move(text);
    }
    ++ini_.batchDepth_;
}

IniFile::Batch::~Batch()
{
    if (!open_)
        return;
    try {
        commit();
    } catch (...) {
        // Nothing can be reported from a destructor; commit() reports.
    }
}

void IniFile::Batch::commit()
{
    if (!open_)
        return;
    open_ = false;
    ini_.endBatch();
}

void IniFile::endBatch()
{
    if (--batchDepth_ > 0)
        return;
    const std::string data = joinLines(batchText_);
    batchText_ = IniText();
    // Every write is flushed to disk, which takes a noticeable moment: the
    // same text is not written again (the preferences are saved at shutdown
    // and once more as their object goes).
    if (batchOriginal_ && *batchOriginal_ == data)
        return;
    // A file of its own replaces whatever the name held, a symbolic link
    // included: what a link points at is never written. A new file is the
    // user's alone, as the rest of the user data.
    if (!writeFileAtomically(fileName_, data, nullptr, kPrivateFileMode))
        throw Exception(withArgs(translatedText("kovara::core::IniFile", "Unable to write to %1"), fileName_));
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(const std::string& section, const std::string& key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

} // namespace kovara::core
