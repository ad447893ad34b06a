#pragma once
// A file written in full before it takes the place of its name. The content
// goes to a temporary file in the target's own folder (a hidden name of
// ".kovara-<pid>-<n>-<file name>", so that the file name's suffix stays for
// writers that choose a format by it); commit() flushes it to disk and renames
// it over the target, in one step. Until then the target keeps what it held,
// whatever happens to the program; a file never committed is removed.
//
// The name itself is replaced: when the target is a symbolic link, the link
// gives way to a file of its own and what it pointed at is left untouched. A
// regular file's permission bits carry over to its replacement; a new file
// gets the mode asked for less the umask (by default 0666, the user's default;
// the program's private files ask for 0600). A folder or any other kind of
// entry at the target is refused.
//
// No method throws: failures return false and error() says why, in English
// (strerror), for the caller to put into its own message.
#include <string>
#include <string_view>

namespace kovara::core {

// The permission bits of a new file that is not private (the umask applies).
constexpr unsigned kDefaultFileMode = 0666;
// The permission bits of the program's private files: the owner's alone.
constexpr unsigned kPrivateFileMode = 0600;

class AtomicFile {
public:
    // Creates the temporary file. ok() and error() tell whether that worked.
    explicit AtomicFile(std::string target, unsigned newFileMode = kDefaultFileMode);
    // Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& target() const { return target_; }
    // Where the content goes until commit(); another writer (a printer) may
    // open and write this path itself instead of calling write().
    const std::string& tempPath() const { return temp_; }

    // Appends data to the temporary file.
    bool write(std::string_view data);
    // Flushes the temporary file and renames it over the target. On failure
    // the temporary file is removed and the target is as it was.
    bool commit();
    // Removes the temporary file; the target is left as it was.
    void cancel();

private:
    bool fail(const std::string& what);

    std::string target_;
    std::string temp_;
    std::string error_;
    int fd_ = -1;
    bool committed_ = false;
};

// Writes data as the whole content of fileName through an AtomicFile.
// Returns false on failure, with the reason in *error when given.
// newFileMode as for AtomicFile.
bool writeFileAtomically(const std::string& fileName, std::string_view data, std::string* error = nullptr,
                         unsigned newFileMode = kDefaultFileMode);

} // namespace kovara::core
