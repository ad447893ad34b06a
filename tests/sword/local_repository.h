#pragma once
// A SWORD repository served over HTTP on 127.0.0.1 for the tests: made from
// the modules of Debian's packages, served by a server the test starts and
// ends. Never reaches the internet.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace kovara::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

inline const fs::path kSystemLibrary = "/usr/share/sword";

inline int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

inline bool answers(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// A static HTTP server on 127.0.0.1 over folder, ended with the object.
class HttpServer {
public:
    explicit HttpServer(const fs::path& folder) : port_(freePort())
    {
        const std::string port = std::to_string(port_);
        const std::string dir = folder.string();
        const char* argv[] = {"python3", "-m", "http.server", port.c_str(), "--bind", "127.0.0.1",
                              "--directory", dir.c_str(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawnp(&pid_, "python3", &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        for (int i = 0; i < 100 && !answers(port_); ++i)
            std::this_thread::sleep_for(50ms);
    }
    ~HttpServer()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    int port_;
    pid_t pid_ = -1;
};

// Copies a module of the system library (its .conf and its data folder)
// into a repository folder laid out as SWORD's repositories are.
inline void addModule(const fs::path& repo, const std::string& confName)
{
    const fs::path conf = kSystemLibrary / "mods.d" / confName;
    fs::create_directories(repo / "mods.d");
    fs::copy_file(conf, repo / "mods.d" / confName, fs::copy_options::overwrite_existing);
    std::ifstream in(conf);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("DataPath=", 0) != 0)
            continue;
        fs::path data = line.substr(9);
        std::string rel = data.lexically_normal().string();
        if (rel.rfind("./", 0) == 0)
            rel = rel.substr(2);
        while (!rel.empty() && rel.back() == '/')
            rel.pop_back();
        fs::path from = kSystemLibrary / rel;
        if (!fs::is_directory(from))
            from = from.parent_path(), rel = fs::path(rel).parent_path().string();
        fs::create_directories(repo / rel);
        fs::copy(from, repo / rel, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
}

inline void packModuleList(const fs::path& repo)
{
    const std::string command = "cd '" + repo.string() + "' && tar czf mods.d.tar.gz mods.d";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

} // namespace kovara::test
