#pragma once

#include <httplib.h>

#include "server/RequestLog.h"

namespace ws {

// An httplib server that also sees the raw bytes of each request, so that the request log
// can keep the header lines in the order they came (httplib's Request keeps its headers in a
// sorted map). It takes over httplib's per-connection loop and hands each request to
// httplib's own parser and router.
class LoggingServer : public httplib::Server {
public:
    LoggingServer();

    // The log must outlive the server; null logs nothing.
    void setRequestLog(RequestLog* log) { log_ = log; }

private:
    bool process_and_close_socket(socket_t sock) override;
    bool waitForRequest(socket_t sock) const;

    RequestLog* log_ = nullptr;
};

}  // namespace ws
