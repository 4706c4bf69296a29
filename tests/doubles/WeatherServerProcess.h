#pragma once
// The local weather server (WG_SERVER_EXE) on a free port in a process of its own, logging
// every request into a temporary folder that goes away with it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

class WeatherServerProcess {
public:
    explicit WeatherServerProcess(std::vector<std::string> extraArgs = {}) {
        char pattern[] = "/tmp/wg-server-XXXXXX";
        if (!::mkdtemp(pattern)) return;
        dir_ = pattern;
        std::vector<std::string> args = {WG_SERVER_EXE, "--port", "0", "--log", (dir_ / "requests.log").string()};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        int out[2];
        if (::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::execv(WG_SERVER_EXE, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        stdout_ = ::fdopen(out[0], "r");
        char line[64] = {};
        if (stdout_ && std::fgets(line, sizeof line, stdout_)) std::sscanf(line, "PORT %d", &port_);
    }
    ~WeatherServerProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        if (stdout_) std::fclose(stdout_);
        std::error_code ignored;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
    }
    WeatherServerProcess(const WeatherServerProcess&) = delete;
    WeatherServerProcess& operator=(const WeatherServerProcess&) = delete;

    int port() const { return port_; }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

    // Every logged request as its lines (request line, then the headers), oldest first.
    std::vector<std::vector<std::string>> Requests() const {
        std::ifstream in(dir_ / "requests.log", std::ios::binary);
        std::vector<std::vector<std::string>> requests(1);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty()) {
                if (!requests.back().empty()) requests.emplace_back();
            } else {
                requests.back().push_back(line);
            }
        }
        if (requests.back().empty()) requests.pop_back();
        return requests;
    }

private:
    std::filesystem::path dir_;
    pid_t pid_ = -1;
    FILE* stdout_ = nullptr;
    int port_ = 0;
};
