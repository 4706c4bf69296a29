#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// One synchronous HTTP GET, carried out exactly as described: the request line's target, the
// headers in the given order and nothing the transport adds on its own beyond Host (and
// Authorization when credentials are given). Redirects are followed the way the platform does.
struct HttpGetRequest {
    std::string url;                 // absolute "http://" or "https://" URL without credentials
    std::string user, password;      // Basic credentials, sent when the user is not empty
    std::vector<std::pair<std::string, std::string>> headers;
    int timeoutMs = 0;               // for each phase (resolve, connect, send, receive); 0: none
    int deadlineMs = 0;              // for the whole request, redirects included; 0: none
    std::size_t maxBodyBytes = 0;    // a longer body fails the request while it is received
};

enum class HttpOutcome {
    Completed,  // a response arrived; status, reason phrase and body are valid
    TimedOut,   // a phase took longer than timeoutMs, or the whole request longer than deadlineMs
    Failed,     // anything else: bad URL, no connection, broken reply, body too long
};

struct HttpGetResult {
    HttpOutcome outcome = HttpOutcome::Failed;
    int status = 0;
    std::string statusText;
    std::string body;  // the bytes as received (after transfer decoding)
};

class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual HttpGetResult Get(const HttpGetRequest& request) = 0;
};
