// weather-server: the local weather, satellite and update server (see --help).
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <memory>
#include <thread>

#include "server/LoggingServer.h"
#include "server/RequestLog.h"
#include "server/ServerOptions.h"
#include "server/ServiceRoutes.h"

int main(int argc, char** argv)
{
    const ws::ParsedOptions parsed = ws::parseServerOptions({argv + 1, argv + argc});
    if (!parsed.options) {
        std::cerr << "weather-server: " << parsed.error << " (see --help)\n";
        return 2;
    }
    const ws::ServerOptions& options = *parsed.options;
    if (options.help) {
        std::cout << ws::helpText();
        return 0;
    }

    // SIGTERM and SIGINT go to one waiting thread, which can stop the server safely; every
    // thread started from here on inherits the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::unique_ptr<ws::RequestLog> log;
    if (!options.logPath.empty()) {
        log = std::make_unique<ws::RequestLog>(options.logPath);
        if (!log->isOpen()) {
            std::cerr << "weather-server: cannot write the log " << options.logPath << "\n";
            return 1;
        }
    }
    ws::FaultState faults;
    faults.delayMs = options.delayMs;
    faults.status = options.status;

    ws::LoggingServer server;
    server.setRequestLog(log.get());
    ws::installRoutes(server, options.settings, faults);

    int port = options.port;
    if (port == 0)
        port = server.bind_to_any_port(options.bind);
    else if (!server.bind_to_port(options.bind, port))
        port = -1;
    if (port <= 0) {
        std::cerr << "weather-server: cannot listen on " << options.bind << ":" << options.port
                  << "\n";
        return 1;
    }
    std::cout << "PORT " << port << std::endl;

    std::atomic<bool> listening{true};
    std::thread stopper([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        // A signal that comes before listen_after_bind() has started finds nothing to stop
        // yet, so keep asking until the listening loop has ended.
        while (listening) {
            server.stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const bool ok = server.listen_after_bind();
    listening = false;
    // The loop can also end on its own (a failing socket); wake the waiting thread then.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return ok ? 0 : 1;
}
