#pragma once
// Getting more Bibles and commentaries: the SWORD repositories ("remote
// sources") listed in <sword home>/InstallMgr/InstallMgr.conf, the modules
// each offers, and installing them into and removing them from the reader's
// own SWORD folder (~/.sword). It lives in the same plug-in as SwordBackend,
// so libsword is loaded only when the reader opens the download dialog.
//
// Only refreshSourceList, refresh and install use the network; everything
// else reads what the last refresh left on disk. All calls but cancel() are
// made from one thread at a time; cancel() may come from any thread and stops
// the transfer under way.
#include "core/sword/sword_backend.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kovara::core {

struct SwordSource {
    std::string caption;   // the name the reader knows it by; unique
    std::string type;      // "HTTP", "HTTPS", "FTP" or "SFTP"
    std::string host;      // "example.org" or "127.0.0.1:8080"
    std::string directory; // "/pub/sword/raw"
};

struct SwordRemoteModule {
    SwordModuleInfo info;
    std::int64_t size = 0;        // bytes when installed, from the module's InstallSize; 0 when unknown
    bool installed = false;       // some version is in the reader's library
    bool inUserFolder = false;    // ... in the reader's own folder, where Kovara can remove it
    bool newer = false;           // the source offers a newer version than the one installed
    std::string installedVersion; // empty when not installed
};

class SwordInstaller {
public:
    virtual ~SwordInstaller() = default;

    // done/total bytes of the transfer under way (total 0 while unknown) and
    // what is being fetched.
    using Progress = std::function<void(std::int64_t done, std::int64_t total, const std::string& what)>;
    virtual void setProgress(Progress progress) = 0;

    virtual std::vector<SwordSource> sources() = 0;
    // Raises with a message for the reader when the caption is empty or
    // taken, the type unknown, or the host empty.
    virtual void addSource(const SwordSource& source) = 0;
    virtual void removeSource(const std::string& caption) = 0;
    // Fetches SWORD's own list of the standard repositories and adds those
    // not listed yet. Network.
    virtual void refreshSourceList() = 0;

    // Fetches the source's list of modules. Network. Returns false when
    // cancelled; raises with a message when the source cannot be reached or
    // sends something that is not a module list.
    virtual bool refresh(const std::string& caption) = 0;
    // The modules of the source as last fetched (nothing before the first
    // refresh), by name; without the network.
    virtual std::vector<SwordRemoteModule> modules(const std::string& caption) = 0;

    // Installs (or updates) a module from a source into the reader's folder.
    // Network. Returns false when cancelled; what was fetched of it is then
    // removed again. Raises with a message on failure, leaving no part of the
    // module behind.
    virtual bool install(const std::string& caption, const std::string& module) = 0;
    // Removes a module from the reader's folder. Raises when it is not there
    // (for example installed by the system's packages).
    virtual void remove(const std::string& module) = 0;

    virtual void cancel() = 0;
};

// The installer over the SWORD folder swordHome ("<home>/.sword/"), made
// when missing, from the plug-in (see loadSwordBackend). Raises Exception
// when the plug-in cannot be loaded.
std::unique_ptr<SwordInstaller> loadSwordInstaller(const std::string& swordHome);

// The reader's own SWORD folder: $HOME/.sword/.
std::string userSwordFolder();

} // namespace kovara::core

// The plug-in's entry point for the installer.
extern "C" kovara::core::SwordInstaller* kovaraCreateSwordInstaller(const char* swordHome);
