#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace kovara::core::fuzz {

namespace fs = std::filesystem;

namespace {
std::string makeScratchFolder()
{
    std::error_code ec;
    const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path folder = base / ("kovara-fuzz-" + std::to_string(::getpid()));
    fs::remove_all(folder, ec);
    fs::create_directories(folder);
    return folder.string() + "/";
}
} // namespace

const std::string& scratchFolder()
{
    // Never destroyed, so that the clean-up at exit can still use it.
    static const std::string* folder = [] {
        const auto* made = new std::string(makeScratchFolder());
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(fs::path(scratchFolder()), ignored);
        });
        return made;
    }();
    return *folder;
}

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out)
        fail("cannot write the scratch file " + path);
}

void writeFile(const std::string& path, const std::string& bytes)
{
    writeFile(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void removeFile(const std::string& path)
{
    std::error_code ec;
    fs::remove(path, ec);
}

void fail(const std::string& what)
{
    std::fprintf(stderr, "\n*** expectation failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace kovara::core::fuzz
