// The installer half of the SWORD plug-in (see sword_installer.h): libsword's
// InstallMgr over the reader's SWORD folder.
#include "core/sword/sword_installer.h"
#include "core/sword/plugin/module_entries.h"

#include <filemgr.h>
#include <installmgr.h>
#include <remotetrans.h>
#include <swmgr.h>
#include <swmodule.h>
#include <swversion.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <stdexcept>

namespace kovara::core {
namespace {

namespace fs = std::filesystem;

std::string versionOf(const sword::SWModule& module)
{
    const std::string version = entry(module, "Version");
    return version.empty() ? "1.0" : version;
}

SwordModuleInfo infoOf(const sword::SWModule& module)
{
    SwordModuleInfo info;
    info.name = module.getName();
    info.description = module.getDescription() ? module.getDescription() : "";
    info.language = module.getLanguage() ? module.getLanguage() : "";
    info.abbreviation = entry(module, "Abbreviation");
    if (info.abbreviation.empty())
        info.abbreviation = info.name;
    info.version = versionOf(module);
    info.type = typeOf(module.getType());
    info.versification = entry(module, "Versification");
    return info;
}

// A copy of a source's module list (its local shadow folder) taken before
// a refresh; restore puts it back, otherwise the copy goes with the object.
class KeptList {
public:
    explicit KeptList(std::filesystem::path folder) : folder_(std::move(folder))
    {
        while (!folder_.empty() && folder_.filename().empty())
            folder_ = folder_.parent_path(); // "…/uid/" names the folder "uid"
        copy_ = folder_;
        copy_ += ".kept";
        std::error_code error;
        std::filesystem::remove_all(copy_, error);
        if (std::filesystem::exists(folder_, error))
            std::filesystem::copy(folder_, copy_, std::filesystem::copy_options::recursive, error);
        held_ = !error && std::filesystem::exists(copy_, error);
    }
    ~KeptList()
    {
        std::error_code error;
        std::filesystem::remove_all(copy_, error);
    }
    KeptList(const KeptList&) = delete;
    KeptList& operator=(const KeptList&) = delete;

    void restore(sword::InstallSource& source)
    {
        if (!held_)
            return;
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
        std::filesystem::rename(copy_, folder_, error);
        source.flush();
    }

private:
    std::filesystem::path folder_;
    std::filesystem::path copy_;
    bool held_ = false;
};

// Passes InstallMgr's byte counts on to the reader's progress.
class Reporter : public sword::StatusReporter {
public:
    SwordInstaller::Progress progress;
    std::string what;

    void preStatus(long totalBytes, long completedBytes, const char* message) override
    {
        what = message ? message : "";
        if (progress)
            progress(completedBytes, totalBytes, what);
    }
    void update(unsigned long totalBytes, unsigned long completedBytes) override
    {
        if (progress)
            progress(static_cast<std::int64_t>(completedBytes), static_cast<std::int64_t>(totalBytes), what);
    }
};

// The reader was asked before the dialog connects (Kovara's own question),
// so libsword's console question never comes up.
class Installer : public sword::InstallMgr {
public:
    Installer(const char* privatePath, sword::StatusReporter* reporter) : InstallMgr(privatePath, reporter) {}
    bool isUserDisclaimerConfirmed() const override { return true; }
};

const char* const kTypes[] = {"HTTP", "HTTPS", "FTP", "SFTP"};

class SwordInstallerImpl : public SwordInstaller {
public:
    explicit SwordInstallerImpl(std::string home) : home_(std::move(home))
    {
        if (home_.empty() || home_.back() != '/')
            home_ += '/';
        // InstallMgr keeps its list of sources and each source's module list
        // here; the library's own folders must exist for SWMgr to use them.
        std::error_code ignored;
        fs::create_directories(home_ + "InstallMgr", ignored);
        fs::create_directories(home_ + "mods.d", ignored);
        fs::create_directories(home_ + "modules", ignored);
        const std::string conf = home_ + "InstallMgr/InstallMgr.conf";
        if (!fs::exists(conf)) {
            // An empty list: SWORD's standard sources come with
            // refreshSourceList, so nothing is fetched unasked.
            sword::SWConfig config(conf.c_str());
            config["General"]["PassiveFTP"] = "true";
            config.save();
        }
        manager_ = std::make_unique<Installer>((home_ + "InstallMgr").c_str(), &reporter_);
        // A source that does not answer is given up on instead of waiting
        // for ever.
        manager_->setTimeoutMillis(20000);
    }

    void setProgress(Progress progress) override { reporter_.progress = std::move(progress); }

    std::vector<SwordSource> sources() override
    {
        std::vector<SwordSource> list;
        for (const auto& [caption, source] : manager_->sources)
            list.push_back({source->caption.c_str(), source->type.c_str(), source->source.c_str(),
                            source->directory.c_str()});
        return list;
    }

    void addSource(const SwordSource& source) override
    {
        if (source.caption.empty() || source.caption.find('|') != std::string::npos)
            throw std::runtime_error("A source needs a name without \"|\".");
        if (manager_->sources.count(source.caption.c_str()))
            throw std::runtime_error("There is already a source named \"" + source.caption + "\".");
        bool known = false;
        for (const char* type : kTypes)
            known = known || source.type == type;
        if (!known)
            throw std::runtime_error("\"" + source.type + "\" is not a kind of source SWORD knows (HTTP, HTTPS, FTP or SFTP).");
        if (source.host.empty() || source.host.find_first_of("|/ ") != std::string::npos)
            throw std::runtime_error("A source needs a host name such as example.org, without \"/\".");
        auto* is = new sword::InstallSource(source.type.c_str());
        is->caption = source.caption.c_str();
        is->source = source.host.c_str();
        is->directory = (source.directory.empty() ? std::string("/") : source.directory).c_str();
        // The source's module list is kept in a folder named by its uid.
        is->uid = is->source;
        is->localShadow = (home_ + "InstallMgr/" + source.host).c_str();
        manager_->sources[is->caption] = is;
        manager_->saveInstallConf();
    }

    void removeSource(const std::string& caption) override
    {
        auto it = manager_->sources.find(caption.c_str());
        if (it == manager_->sources.end())
            return;
        delete it->second;
        manager_->sources.erase(it);
        manager_->saveInstallConf();
    }

    void refreshSourceList() override
    {
        cancelled_ = false;
        if (manager_->refreshRemoteSourceConfiguration() != 0 && !cancelled_)
            throw std::runtime_error("The list of SWORD's standard sources could not be fetched: there is no "
                                     "connection, or the list's server did not answer.");
        // The list fetched replaces the sources in memory and on disk; read
        // them back as saved.
        manager_->readInstallConf();
    }

    bool refresh(const std::string& caption) override
    {
        sword::InstallSource* is = source(caption);
        cancelled_ = false;
        // libsword drops the list it has before fetching the new one; a
        // source that is down or sends garbage would leave none. The earlier
        // list is kept aside and put back then.
        KeptList kept(is->localShadow.c_str());
        const int result = manager_->refreshRemoteSource(is);
        is->flush();
        if (cancelled_) {
            kept.restore(*is);
            return false;
        }
        if (result != 0) {
            kept.restore(*is);
            throw std::runtime_error("The source \"" + caption + "\" (" + std::string(is->source.c_str()) +
                                     ") could not be reached or sent no list of modules.");
        }
        // A list that libsword cannot read leaves no module in its manager.
        if (is->getMgr()->getModules().empty()) {
            kept.restore(*is);
            throw std::runtime_error("The source \"" + caption + "\" sent something that is not a list of SWORD modules.");
        }
        return true;
    }

    std::vector<SwordRemoteModule> modules(const std::string& caption) override
    {
        sword::InstallSource* is = source(caption);
        std::vector<SwordRemoteModule> list;
        sword::SWMgr* remote = is->getMgr();
        if (!remote)
            return list;
        sword::SWMgr library; // every folder the reader's SWORD programs read
        sword::SWMgr own(home_.c_str(), true, nullptr, false, false);
        for (const auto& [name, module] : remote->getModules()) {
            SwordRemoteModule offered;
            offered.info = infoOf(*module);
            const std::string size = entry(*module, "InstallSize");
            offered.size = size.empty() ? 0 : std::atoll(size.c_str());
            sword::SWModule* installed = library.getModule(name.c_str());
            if (sword::SWModule* mine = own.getModule(name.c_str())) {
                installed = mine;
                offered.inUserFolder = true;
            }
            if (installed) {
                offered.installed = true;
                offered.installedVersion = versionOf(*installed);
                offered.newer = sword::SWVersion(offered.info.version.c_str()) >
                              sword::SWVersion(offered.installedVersion.c_str());
            }
            list.push_back(std::move(offered));
        }
        return list;
    }

    bool install(const std::string& caption, const std::string& module) override
    {
        sword::InstallSource* is = source(caption);
        sword::SWMgr* remote = is->getMgr();
        if (!remote || !remote->getModule(module.c_str()))
            throw std::runtime_error("The source \"" + caption + "\" offers no module " + module +
                                     ": refresh its list first.");
        cancelled_ = false;
        sword::SWMgr own(home_.c_str(), true, nullptr, false, false);
        // An update replaces the old files.
        if (own.getModule(module.c_str()))
            manager_->removeModule(&own, module.c_str());
        const int result = manager_->installModule(&own, nullptr, module.c_str(), is);
        if (cancelled_ || result != 0) {
            // Nothing half-installed stays behind.
            sword::SWMgr after(home_.c_str(), true, nullptr, false, false);
            if (after.getModule(module.c_str()))
                manager_->removeModule(&after, module.c_str());
            removeConf(module);
            if (cancelled_)
                return false;
            throw std::runtime_error("The module " + module + " could not be fetched from \"" + caption +
                                     "\": the source did not answer or sent broken files.");
        }
        return true;
    }

    void remove(const std::string& module) override
    {
        sword::SWMgr own(home_.c_str(), true, nullptr, false, false);
        if (!own.getModule(module.c_str()))
            throw std::runtime_error("The module " + module +
                                     " is not in your own SWORD folder: it was installed with the system's "
                                     "packages, and is removed with the package manager.");
        if (manager_->removeModule(&own, module.c_str()) != 0)
            throw std::runtime_error("The module " + module + " could not be removed from " + home_ + ".");
    }

    void cancel() override
    {
        cancelled_ = true;
        manager_->terminate();
    }

private:
    sword::InstallSource* source(const std::string& caption)
    {
        auto it = manager_->sources.find(caption.c_str());
        if (it == manager_->sources.end())
            throw std::runtime_error("There is no source named \"" + caption + "\".");
        return it->second;
    }

    // The module's configuration file, which a failed install may leave.
    void removeConf(const std::string& module)
    {
        std::error_code ignored;
        for (const auto& file : fs::directory_iterator(home_ + "mods.d", ignored)) {
            sword::SWConfig conf(file.path().c_str());
            if (conf.getSections().find(module.c_str()) != conf.getSections().end())
                fs::remove(file.path(), ignored);
        }
    }

    std::string home_;
    Reporter reporter_;
    std::unique_ptr<Installer> manager_;
    std::atomic<bool> cancelled_{false};
};

} // namespace
} // namespace kovara::core

extern "C" __attribute__((visibility("default"))) kovara::core::SwordInstaller*
kovaraCreateSwordInstaller(const char* swordHome)
{
    return new kovara::core::SwordInstallerImpl(swordHome ? swordHome : "");
}
