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
// beside it, flushed to disk and then renamed over it, so the file on disk is
// always either the old or the new version. Unknown sections and keys and
// their order survive every write. Many keys saved together go through a
// Batch: one write and one flush for all of them.
#include <optional>
#include <string>
#include <vector>

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

    // Writes go straight to the file, unless it already holds exactly that
    // text. The section is appended when missing and the key appended to its
    // section when missing. Raises Exception
    // "Unable to write to %s" (the file's path) when the file cannot be
    // written; the file is then left as it was.
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    // Decimal, signed.
    void writeInteger(const std::string& section, const std::string& key, int value);
    // "1" or "0".
    void writeBool(const std::string& section, const std::string& key, bool value);

    // Collects the writes made through ini while it lives and writes the file
    // once, at commit(). Reads through the same IniFile see the collected
    // values. Batches may nest; only the outermost one writes.
    class Batch {
    public:
        // Reads the file. Raises "Unable to write to %s" when it exists but
        // cannot be read.
        explicit Batch(IniFile& ini);
        // Without commit() (an exception on the way), still writes what was
        // collected; a failure is swallowed here.
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Writes the collected keys; nothing when the file already holds
        // exactly that text. Raises "Unable to write to %s"; the file is then
        // left as it was.
        void commit();

    private:
        IniFile& ini_;
        bool open_ = true;
    };

    // The file as lines without their line ends, and whether it used CR LF.
    struct Text {
        std::vector<std::string> lines;
        bool crlf = false;
    };

private:
    void endBatch();
    // The text reads and writes work on: the batch's while one is open, else
    // the file's. Returns false when the file does not exist or cannot be read.
    bool loadText(Text& text) const;

    std::string fileName_;
    int batchDepth_ = 0;
    Text batchText_;
    // The file's text when the batch began; unset when there was no file.
    std::optional<std::string> batchOriginal_;
};

} // namespace kovara::core
