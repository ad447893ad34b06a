#include "core/sword/sword_backend.h"
#include "core/sword/sword_installer.h"

#include "core/base/exception.h"
#include "core/base/files.h"

#include <dlfcn.h>
#include <fmt/format.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace kovara::core {

namespace {
constexpr const char* kPluginName = "kovara_sword.so";

std::string programFolder()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return std::string();
    std::string exe(path, static_cast<std::size_t>(n));
    return exe.substr(0, exe.rfind('/') + 1);
}

std::vector<std::string> candidates()
{
    std::vector<std::string> paths;
    if (const char* env = std::getenv("KOVARA_SWORD_PLUGIN"); env && *env)
        paths.emplace_back(env);
    const std::string here = programFolder();
    if (!here.empty()) {
        paths.push_back(here + kPluginName);    // the build folder
        paths.push_back(here + "../" + kPluginName); // tests one folder down
#ifdef KOVARA_PLUGIN_FROM_BIN
        paths.push_back(here + KOVARA_PLUGIN_FROM_BIN + "/" + kPluginName); // installed
#endif
    }
    return paths;
}
} // namespace

// The plug-in's entry point named symbol; raises saying what is missing.
static void* pluginEntry(const char* symbol)
{
    std::string errors;
    for (const std::string& path : candidates()) {
        if (!fileExists(path))
            continue;
        // Never closed: objects it made may live until the program ends.
        // Opened again, the same library is handed back.
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            errors += fmt::format("\n{}", dlerror());
            continue;
        }
        if (void* entry = dlsym(handle, symbol))
            return entry;
        errors += fmt::format("\n{}: no entry point", path);
    }
    throw Exception(errors.empty()
                        ? std::string("Bibles and commentaries of the SWORD library cannot be read: Kovara's SWORD "
                                      "support (kovara_sword.so) is not installed.")
                        : "Bibles and commentaries of the SWORD library cannot be read:" + errors);
}

std::unique_ptr<SwordBackend> loadSwordBackend()
{
    using Create = SwordBackend* (*)();
    return std::unique_ptr<SwordBackend>(reinterpret_cast<Create>(pluginEntry("kovaraCreateSwordBackend"))());
}

std::unique_ptr<SwordInstaller> loadSwordInstaller(const std::string& swordHome)
{
    using Create = SwordInstaller* (*)(const char*);
    auto create = reinterpret_cast<Create>(pluginEntry("kovaraCreateSwordInstaller"));
    return std::unique_ptr<SwordInstaller>(create(swordHome.c_str()));
}

std::string userSwordFolder()
{
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.sword/";
}

} // namespace kovara::core
