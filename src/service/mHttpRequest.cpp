#include "service/mHttpRequest.h"

#include <climits>

#include "service/HttpUrl.h"
#include "system/Numbers.h"

namespace {

constexpr const char* kModuleVersion = "1.1";

// Takes "user[:password]@" out of the URL's authority. Only the authority counts: an "@" in
// the path or query (an address in a query value) is no credential.
void TakeCredentials(std::string& url, std::string& user, std::string& password) {
    const std::size_t slashes = url.find("//");
    if (slashes == std::string::npos) return;
    const std::size_t hostStart = slashes + 2;
    std::size_t authorityEnd = url.find_first_of("/?#", hostStart);
    if (authorityEnd == std::string::npos) authorityEnd = url.size();
    const std::size_t at = url.find('@', hostStart);
    if (at == std::string::npos || at >= authorityEnd) return;
    const std::string credentials = url.substr(hostStart, at - hostStart);
    const std::size_t colon = credentials.find(':');
    if (colon != std::string::npos) {
        if (user.empty()) user = credentials.substr(0, colon);
        if (password.empty()) password = credentials.substr(colon + 1);
    } else if (user.empty()) {
        user = credentials;
    }
    url = url.substr(0, hostStart) + url.substr(at + 1);
}

int Milliseconds(std::int32_t seconds) {
    const long long ms = seconds > 0 ? static_cast<long long>(seconds) * 1000 : 0;
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

}  // namespace

std::string DefaultUserAgent(Environment& environment) {
    std::string agent = "Mozilla/5.0 (Windows NT 6.1";
    if (!environment.Variable("PROCESSOR_ARCHITEW6432").empty()) agent += "; WOW64";
    agent += ") VisualBasic/6.0 mHttpRequest/";
    agent += kModuleVersion;
    return agent;
}

HttpResult HttpRequest(const HttpClient& client, std::string_view url, bool binary, std::string& status,
                       std::string_view user, std::string_view password, std::string_view userAgent,
                       std::int32_t timeout, std::int32_t deadline) {
    std::string address = Trim(url);
    if (address.empty()) {
        status = "No URL specified!";
        return {};
    }
    if (address.find("://") == std::string::npos) address = "http://" + address;

    HttpGetRequest request;
    request.user = std::string(user);
    request.password = std::string(password);
    TakeCredentials(address, request.user, request.password);
    request.url = EscapeUrl(address);

    const std::string agent = userAgent.empty() ? DefaultUserAgent(client.environment) : std::string(userAgent);
    request.headers = {
        {"Cache-Control", "no-cache"},
        {"Pragma", "no-cache"},
        {"Expires", "Thu, 01 Dec 1994 16:00:00 GMT"},
        {"Connection", "close"},
        {"User-Agent", agent},
    };
    request.timeoutMs = Milliseconds(timeout);
    request.deadlineMs = Milliseconds(deadline);
    request.maxBodyBytes = kMaxReplyBytes;

    HttpGetResult reply = client.transport.Get(request);
    if (reply.outcome == HttpOutcome::TimedOut) {
        status = "Timeout (" + std::to_string(timeout) + " Seconds)";
        return {};
    }
    if (reply.outcome != HttpOutcome::Completed || reply.body.size() > kMaxReplyBytes) {
        status = "Error!";
        return {};
    }
    if (reply.status != 200) {
        status += "Http-Error " + std::to_string(reply.status) + ": " + reply.statusText;
        return {};
    }
    status += "OK";
    if (!binary) return std::move(reply.body);
    if (reply.body.size() <= 1) return std::int32_t{0};
    return std::vector<std::uint8_t>(reply.body.begin(), reply.body.end());
}
