#pragma once
// Shared pieces of the fuzz programs: a scratch folder for readers that take
// file paths, and a check that stops the run when an expectation fails.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kovara::core::fuzz {

// A folder of this process's own, made on first use (in memory when the
// system has /dev/shm, so the readers' flushes cost nothing) and removed at
// exit. Ends with a path separator.
const std::string& scratchFolder();

// Replaces the file at path by the bytes given.
void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size);
void writeFile(const std::string& path, const std::string& bytes);

// Removes the file if it is there.
void removeFile(const std::string& path);

// Prints what was expected and aborts, so that libFuzzer keeps the input.
[[noreturn]] void fail(const std::string& what);

inline void expect(bool condition, const std::string& what)
{
    if (!condition)
        fail(what);
}

} // namespace kovara::core::fuzz
