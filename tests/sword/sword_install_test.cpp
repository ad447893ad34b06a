// Getting modules from a SWORD repository, against a real one served over
// HTTP on 127.0.0.1 by a server the test starts and ends: a repository made
// from the modules of Debian's packages (the Spanish Reina-Valera and the
// Treasury of David), installed into, updated in and removed from a SWORD
// folder of the test's own. Never reaches the internet.
#include "core/sword/sword_backend.h"
#include "core/sword/sword_installer.h"

#include "local_repository.h"

#include <atomic>
#include <iostream>

namespace kovara::core {
namespace {

namespace fs = std::filesystem;
using namespace kovara::test;

class SwordInstallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(kSystemLibrary / "mods.d/spaRV1909eb.conf") || !fs::exists(kSystemLibrary / "mods.d/tdavid.conf"))
            GTEST_SKIP() << "Debian's sword-text-sparv and sword-comm-tdavid are not installed";
        root_ = fs::temp_directory_path() / ("kovara-install-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        repo_ = root_ / "site/repo";
        addModule(repo_, "spaRV1909eb.conf");
        addModule(repo_, "tdavid.conf");
        packModuleList(repo_);
        home_ = root_ / "home/.sword/";
        server_ = std::make_unique<HttpServer>(root_ / "site");
        installer_ = loadSwordInstaller(home_.string());
        installer_->addSource({"Local", "HTTP", server_->host(), "/repo"});
    }
    void TearDown() override
    {
        installer_.reset();
        server_.reset();
        if (!std::getenv("KOVARA_KEEP"))
            fs::remove_all(root_);
    }

    const SwordRemoteModule* find(const std::vector<SwordRemoteModule>& list, const std::string& name)
    {
        for (const SwordRemoteModule& m : list)
            if (m.info.name == name)
                return &m;
        return nullptr;
    }

    fs::path root_, repo_, home_;
    std::unique_ptr<HttpServer> server_;
    std::unique_ptr<SwordInstaller> installer_;
};

TEST_F(SwordInstallTest, ListsInstallsUpdatesAndRemovesFromARepository)
{
    ASSERT_EQ(installer_->sources().size(), 1u);
    EXPECT_TRUE(installer_->modules("Local").empty()) << "nothing is listed before the first refresh";

    ASSERT_TRUE(installer_->refresh("Local"));
    std::vector<SwordRemoteModule> list = installer_->modules("Local");
    ASSERT_EQ(list.size(), 2u);
    const SwordRemoteModule* rv = find(list, "spaRV1909eb");
    ASSERT_NE(rv, nullptr);
    EXPECT_EQ(rv->info.type, SwordModuleType::Bible);
    EXPECT_EQ(rv->info.language, "es");
    EXPECT_NE(rv->info.description.find("Reina"), std::string::npos);
    EXPECT_FALSE(rv->inUserFolder);
    const SwordRemoteModule* david = find(list, "TDavid");
    ASSERT_NE(david, nullptr);
    EXPECT_EQ(david->info.type, SwordModuleType::Commentary);

    // Installed with progress into the reader's own folder, where SWORD
    // finds it.
    std::atomic<std::int64_t> lastDone{0};
    installer_->setProgress([&](std::int64_t done, std::int64_t, const std::string&) { lastDone = done; });
    ASSERT_TRUE(installer_->install("Local", "spaRV1909eb"));
    EXPECT_GT(lastDone.load(), 0);
    EXPECT_TRUE(fs::exists(home_ / "mods.d/sparv1909eb.conf") || fs::exists(home_ / "mods.d/spaRV1909eb.conf"));
    rv = find(list = installer_->modules("Local"), "spaRV1909eb");
    ASSERT_NE(rv, nullptr);
    EXPECT_TRUE(rv->inUserFolder);
    EXPECT_FALSE(rv->newer);

    // The repository gets a newer version: the list says so, and installing
    // again updates it.
    const fs::path conf = repo_ / "mods.d/spaRV1909eb.conf";
    std::string text;
    {
        std::ifstream in(conf);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::size_t at = text.find("\nVersion=");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, text.find('\n', at + 1) - at, "\nVersion=99.0");
    std::ofstream(conf) << text;
    packModuleList(repo_);
    ASSERT_TRUE(installer_->refresh("Local"));
    rv = find(list = installer_->modules("Local"), "spaRV1909eb");
    ASSERT_NE(rv, nullptr);
    EXPECT_TRUE(rv->newer);
    ASSERT_TRUE(installer_->install("Local", "spaRV1909eb"));
    rv = find(list = installer_->modules("Local"), "spaRV1909eb");
    EXPECT_EQ(rv->installedVersion, "99.0");
    EXPECT_FALSE(rv->newer);

    installer_->remove("spaRV1909eb");
    rv = find(list = installer_->modules("Local"), "spaRV1909eb");
    EXPECT_FALSE(rv->inUserFolder);
    EXPECT_FALSE(fs::exists(home_ / "modules/texts/ztext/spaRV1909eb"));
}

TEST_F(SwordInstallTest, BadSourcesAndRequestsSayWhatIsWrong)
{
    struct Case {
        SwordSource source;
        const char* says;
    };
    for (const Case& c : {Case{{"", "HTTP", "example.org", "/"}, "name"},
                          Case{{"Local", "HTTP", "example.org", "/"}, "already"},
                          Case{{"Gopher", "GOPHER", "example.org", "/"}, "HTTP, HTTPS, FTP or SFTP"},
                          Case{{"Slash", "HTTP", "example.org/repo", "/"}, "host"}}) {
        try {
            installer_->addSource(c.source);
            ADD_FAILURE() << c.source.caption << " was taken";
        } catch (const std::exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(installer_->install("Local", "spaRV1909eb"), std::exception) << "before the list was fetched";
    EXPECT_THROW(installer_->remove("KJV"), std::exception) << "not in the reader's folder";
    EXPECT_THROW(installer_->refresh("Nowhere"), std::exception);

    // A source that is down, and one that sends garbage for its list; the
    // list fetched from a source before it went wrong is kept.
    installer_->addSource({"Down", "HTTP", "127.0.0.1:1", "/repo"});
    EXPECT_THROW(installer_->refresh("Down"), std::exception);
    ASSERT_TRUE(installer_->refresh("Local"));
    ASSERT_EQ(installer_->modules("Local").size(), 2u);
    std::ofstream(repo_ / "mods.d.tar.gz") << "this is not a tar file";
    EXPECT_THROW(installer_->refresh("Local"), std::exception);
    EXPECT_EQ(installer_->modules("Local").size(), 2u);
    EXPECT_TRUE(installer_->install("Local", "spaRV1909eb"));
    installer_->addSource({"Garbage", "HTTP", server_->host(), "/repo"});
    try {
        installer_->refresh("Garbage");
        ADD_FAILURE() << "garbage was taken for a module list";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("Garbage"), std::string::npos) << e.what();
    }
}

TEST_F(SwordInstallTest, ACancelledOrFailedInstallLeavesNothingBehind)
{
    ASSERT_TRUE(installer_->refresh("Local"));
    // Cancelled as soon as the first bytes come.
    installer_->setProgress([&](std::int64_t done, std::int64_t, const std::string&) {
        if (done > 0)
            installer_->cancel();
    });
    EXPECT_FALSE(installer_->install("Local", "TDavid"));
    std::vector<SwordRemoteModule> list = installer_->modules("Local");
    const SwordRemoteModule* david = find(list, "TDavid");
    ASSERT_NE(david, nullptr);
    EXPECT_FALSE(david->inUserFolder);
    EXPECT_FALSE(fs::exists(home_ / "modules/comments/zcom/tdavid"));

    // A module whose files are gone from the repository.
    installer_->setProgress({});
    fs::remove_all(repo_ / "modules/comments/zcom/tdavid");
    EXPECT_THROW(installer_->install("Local", "TDavid"), std::exception);
    list = installer_->modules("Local");
    EXPECT_FALSE(find(list, "TDavid")->inUserFolder);
}

} // namespace
} // namespace kovara::core
