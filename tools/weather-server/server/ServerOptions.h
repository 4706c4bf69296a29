#pragma once

#include <optional>
#include <string>
#include <vector>

#include "server/ServiceRoutes.h"

namespace ws {

inline constexpr int kDefaultPort = 8765;

struct ServerOptions {
    int port = kDefaultPort;        // 0: any free port, printed as "PORT <n>"
    std::string bind = "127.0.0.1";
    std::string logPath;
    int delayMs = 0;
    int status = 0;
    bool help = false;
    ServerSettings settings;
};

struct ParsedOptions {
    std::optional<ServerOptions> options;   // empty when the command line was wrong
    std::string error;
};

// The arguments after the program name; "--name value" and "--name=value" both work.
ParsedOptions parseServerOptions(const std::vector<std::string>& args);
std::string helpText();

}  // namespace ws
