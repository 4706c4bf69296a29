#pragma once
#include "platform/HttpTransport.h"

// HTTP/1.1 over plain POSIX sockets, for Linux builds and the tests. It writes the request line
// and the headers exactly in the order given (general-purpose clients such as cpp-httplib keep
// headers in a sorted map and add their own), enforces each phase's time-out with poll, and
// stops reading at the body limit. Host name resolution has no time-out of its own; https is
// not supported and fails the request.
class SocketHttpTransport : public HttpTransport {
public:
    HttpGetResult Get(const HttpGetRequest& request) override;
};
