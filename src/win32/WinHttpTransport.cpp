#include "win32/WinHttpTransport.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "service/HttpUrl.h"
#include "win32/Text.h"
#include "win32/UniqueHandle.h"

namespace {

void CloseInternetHandle(HINTERNET h) noexcept { WinHttpCloseHandle(h); }
using unique_hinternet = UniqueHandle<HINTERNET, CloseInternetHandle>;

// The strings WinHTTP allocates for proxy settings belong to the caller.
struct GlobalString {
    LPWSTR p = nullptr;
    GlobalString() = default;
    GlobalString(const GlobalString&) = delete;
    GlobalString& operator=(const GlobalString&) = delete;
    ~GlobalString() { if (p) GlobalFree(p); }
};

struct IeProxyConfig {
    BOOL autoDetect = FALSE;
    GlobalString autoConfigUrl, proxy, bypass;
};

struct ProxyInfo {
    DWORD accessType = WINHTTP_ACCESS_TYPE_NO_PROXY;
    std::wstring proxy, bypass;
};

std::wstring Take(LPWSTR text) {
    GlobalString owned;
    owned.p = text;
    return text ? std::wstring(text) : std::wstring();
}

// Waits on `finished` until `ready` holds, no longer than `timeoutMs` (0: no limit).
template <class Ready>
void WaitAtMost(std::condition_variable& finished, std::unique_lock<std::mutex>& guard, int timeoutMs, Ready ready) {
    if (timeoutMs > 0) finished.wait_for(guard, std::chrono::milliseconds(timeoutMs), ready);
    else finished.wait(guard, ready);
}

// What an automatic configuration script says about `url`.
struct AutoProxy {
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    bool found = false;
    ProxyInfo info;
};

void RunScript(AutoProxy& job, const std::wstring& url, const std::wstring& scriptUrl, int timeoutMs) noexcept {
    bool found = false;
    ProxyInfo result;
    unique_hinternet session(
        WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (session) {
        if (timeoutMs > 0) WinHttpSetTimeouts(session.get(), timeoutMs, timeoutMs, timeoutMs, timeoutMs);
        WINHTTP_AUTOPROXY_OPTIONS options{};
        options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
        options.lpszAutoConfigUrl = scriptUrl.c_str();
        options.fAutoLogonIfChallenged = TRUE;
        WINHTTP_PROXY_INFO info{};
        if (WinHttpGetProxyForUrl(session.get(), url.c_str(), &options, &info)) {
            found = true;
            result.accessType = info.dwAccessType;
            result.proxy = Take(info.lpszProxy);
            result.bypass = Take(info.lpszProxyBypass);
        }
    }
    const std::lock_guard<std::mutex> guard(job.lock);
    job.found = found;
    job.info = std::move(result);
    job.done = true;
    job.finished.notify_all();
}

// Fetching and running the script has no overall time-out of its own; it runs aside, and the
// request waits for it no longer than `timeoutMs` (0: no limit). Nothing when it found nothing
// in that time.
std::optional<ProxyInfo> ScriptProxy(const std::wstring& url, const std::wstring& scriptUrl, int timeoutMs) {
    auto job = std::make_shared<AutoProxy>();
    try {
        std::thread([job, url, scriptUrl, timeoutMs] { RunScript(*job, url, scriptUrl, timeoutMs); }).detach();
    } catch (...) {
        RunScript(*job, url, scriptUrl, timeoutMs);
    }
    std::unique_lock<std::mutex> guard(job->lock);
    WaitAtMost(job->finished, guard, timeoutMs, [&] { return job->done; });
    if (!job->done || !job->found) return std::nullopt;
    return job->info;
}

// Automatic detection (DHCP, then DNS) of a configuration script. It is slow, and under Wine each
// run keeps some memory for good, so its answer serves every request until one fails (another
// network may answer otherwise) or half an hour has passed.
struct Detection {
    std::mutex lock;
    std::condition_variable finished;
    bool running = false;
    bool known = false;
    std::wstring script;  // empty: none found
    std::chrono::steady_clock::time_point at;
};
constexpr auto kDetectionLifetime = std::chrono::minutes(30);

Detection& TheDetection() {
    static auto* detection = new Detection;  // never destroyed: a detection still running may outlive main
    return *detection;
}

void Detect(Detection& d) noexcept {
    LPWSTR found = nullptr;
    const bool ok =
        WinHttpDetectAutoProxyConfigUrl(WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A, &found);
    const std::wstring script = ok ? Take(found) : std::wstring();
    if (!ok && found) GlobalFree(found);
    const std::lock_guard<std::mutex> guard(d.lock);
    d.script = script;
    d.known = true;
    d.running = false;
    d.at = std::chrono::steady_clock::now();
    d.finished.notify_all();
}

// The detected script's address (empty: none), waiting no longer than `timeoutMs` (0: no limit)
// for a detection to finish; nothing when it has not in that time.
std::optional<std::wstring> DetectedScript(int timeoutMs) {
    Detection& d = TheDetection();
    std::unique_lock<std::mutex> guard(d.lock);
    if (d.known && std::chrono::steady_clock::now() - d.at >= kDetectionLifetime) d.known = false;
    if (!d.known && !d.running) {
        d.running = true;
        try {
            std::thread([&d] { Detect(d); }).detach();
        } catch (...) {
            guard.unlock();
            Detect(d);
            guard.lock();
        }
    }
    WaitAtMost(d.finished, guard, timeoutMs, [&] { return d.known; });
    if (!d.known) return std::nullopt;
    return d.script;
}

void ForgetDetection() {
    Detection& d = TheDetection();
    const std::lock_guard<std::mutex> guard(d.lock);
    d.known = false;
}

// Asks the user's proxy settings which proxy serves `url`; false means a direct connection.
bool FindProxy(const std::wstring& url, int timeoutMs, ProxyInfo& found) {
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG raw{};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&raw)) return false;
    IeProxyConfig ie;
    ie.autoDetect = raw.fAutoDetect;
    ie.autoConfigUrl.p = raw.lpszAutoConfigUrl;
    ie.proxy.p = raw.lpszProxy;
    ie.bypass.p = raw.lpszProxyBypass;

    // Detection first, then the configured script, as WinHTTP orders them; both within the time-out.
    const auto start = std::chrono::steady_clock::now();
    std::wstring script;
    if (ie.autoDetect) script = DetectedScript(timeoutMs).value_or(L"");
    if (script.empty() && ie.autoConfigUrl.p) script = ie.autoConfigUrl.p;
    if (!script.empty()) {
        const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        const int left = timeoutMs > 0 ? std::max(1, timeoutMs - static_cast<int>(spent.count())) : 0;
        if (const auto automatic = ScriptProxy(url, script, left)) {
            found = *automatic;
            return found.accessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY;
        }
        // A script that cannot be fetched or run in time falls back to the fixed settings, as browsers do.
    }
    if (ie.proxy.p) {
        found.accessType = WINHTTP_ACCESS_TYPE_NAMED_PROXY;
        found.proxy = ie.proxy.p;
        found.bypass = ie.bypass.p ? ie.bypass.p : L"";
        return true;
    }
    return false;
}

HttpGetResult Fail() {
    // Wine reports a receive time-out as the socket's WSAETIMEDOUT rather than WinHTTP's own code.
    constexpr DWORD kSocketTimedOut = 10060;
    const DWORD error = GetLastError();
    HttpGetResult r;
    r.outcome = error == ERROR_WINHTTP_TIMEOUT || error == kSocketTimedOut ? HttpOutcome::TimedOut : HttpOutcome::Failed;
    ForgetDetection();  // the network may have changed under the detected proxy
    return r;
}

std::optional<std::wstring> QueryText(HINTERNET request, DWORD what) {
    DWORD bytes = 0;
    WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &bytes,
                        WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (!WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &bytes,
                             WINHTTP_NO_HEADER_INDEX))
        return std::nullopt;
    text.resize(bytes / sizeof(wchar_t));
    return text;
}

// The time a phase may take: its own time-out, cut to what is left of the whole request's deadline.
class Budget {
public:
    using Clock = std::chrono::steady_clock;
    explicit Budget(const HttpGetRequest& request) : phaseMs_(request.timeoutMs), deadlineMs_(request.deadlineMs) {}
    // Milliseconds for the next phase; -1 for no limit, 0 when the deadline has passed.
    int PhaseMs() const {
        if (deadlineMs_ <= 0) return phaseMs_ > 0 ? phaseMs_ : -1;
        const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
        const long long left = std::max<long long>(0, deadlineMs_ - spent);
        return static_cast<int>(phaseMs_ > 0 ? std::min<long long>(left, phaseMs_) : left);
    }
    // Sets the request's time-outs for the next phase; false (with a time-out error) once the
    // deadline has passed, since WinHTTP reads 0 as "no limit".
    bool Apply(HINTERNET request) const {
        const int ms = PhaseMs();
        if (ms == 0) {
            SetLastError(ERROR_WINHTTP_TIMEOUT);
            return false;
        }
        DWORD receive = static_cast<DWORD>(ms);
        return WinHttpSetTimeouts(request, ms, ms, ms, ms) &&
               (ms < 0 || WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &receive, sizeof receive));
    }

private:
    int phaseMs_, deadlineMs_;
    Clock::time_point start_ = Clock::now();
};

}  // namespace

HttpGetResult WinHttpTransport::Get(const HttpGetRequest& request) {
    const auto parts = SplitHttpUrl(request.url);
    if (!parts) return {};
    const Budget budget(request);

    // No agent here: the User-Agent is one of the caller's headers and keeps its place among them.
    unique_hinternet session(
        WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return Fail();
    const int timeout = request.timeoutMs > 0 ? request.timeoutMs : -1;
    if (!WinHttpSetTimeouts(session.get(), timeout, timeout, timeout, timeout)) return Fail();

    unique_hinternet connection(WinHttpConnect(session.get(), ToWide(parts->host).c_str(), parts->port, 0));
    if (!connection) return Fail();
    // The URL arrives escaped already; WinHTTP must not escape it a second time.
    const DWORD flags = WINHTTP_FLAG_ESCAPE_DISABLE | WINHTTP_FLAG_ESCAPE_DISABLE_QUERY |
                        (parts->secure ? WINHTTP_FLAG_SECURE : 0);
    unique_hinternet req(WinHttpOpenRequest(connection.get(), L"GET", ToWide(parts->target).c_str(), nullptr,
                                            WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
    if (!req) return Fail();
    // Set, not left to a default: a redirect from HTTPS to HTTP would send the API key or fetch a
    // program file in the clear.
    DWORD redirects = WINHTTP_OPTION_REDIRECT_POLICY_DISALLOW_HTTPS_TO_HTTP;
    if (!WinHttpSetOption(req.get(), WINHTTP_OPTION_REDIRECT_POLICY, &redirects, sizeof redirects)) return Fail();
    ProxyInfo proxy;
    const int proxyWaitMs = budget.PhaseMs();
    if (FindProxy(ToWide(request.url), proxyWaitMs < 0 ? 0 : std::max(proxyWaitMs, 1), proxy)) {
        WINHTTP_PROXY_INFO info{proxy.accessType, proxy.proxy.data(), proxy.bypass.empty() ? nullptr : proxy.bypass.data()};
        if (!WinHttpSetOption(req.get(), WINHTTP_OPTION_PROXY, &info, sizeof info)) return Fail();
    }

    for (const auto& [name, value] : request.headers) {
        const std::wstring line = ToWide(name) + L": " + ToWide(value);
        if (!WinHttpAddRequestHeaders(req.get(), line.c_str(), static_cast<DWORD>(line.size()),
                                      WINHTTP_ADDREQ_FLAG_ADD))
            return Fail();
    }
    if (!request.user.empty() &&
        !WinHttpSetCredentials(req.get(), WINHTTP_AUTH_TARGET_SERVER, WINHTTP_AUTH_SCHEME_BASIC,
                               ToWide(request.user).c_str(), ToWide(request.password).c_str(), nullptr))
        return Fail();

    // Waiting for the response headers has a limit of its own (90 s by default); the receive
    // time-out is meant to cover that wait too.
    if (!budget.Apply(req.get()) ||
        !WinHttpSendRequest(req.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(req.get(), nullptr))
        return Fail();

    HttpGetResult result;
    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(req.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return Fail();
    result.status = static_cast<int>(status);
    if (const auto text = QueryText(req.get(), WINHTTP_QUERY_STATUS_TEXT)) result.statusText = FromWide(*text);

    // A declared length above the limit fails at once; the count below catches undeclared ones.
    if (const auto length = QueryText(req.get(), WINHTTP_QUERY_CONTENT_LENGTH)) {
        const std::string digits = FromWide(*length);
        if (digits.size() > 15 || std::strtoull(digits.c_str(), nullptr, 10) > request.maxBodyBytes) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return Fail();
        }
    }
    for (;;) {
        // Each read gets what is left of the deadline: a server that trickles bytes keeps every
        // single read short, never the whole.
        DWORD available = 0;
        if (!budget.Apply(req.get()) || !WinHttpQueryDataAvailable(req.get(), &available)) return Fail();
        if (available == 0) break;
        if (available > request.maxBodyBytes - result.body.size()) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return Fail();
        }
        const std::size_t start = result.body.size();
        result.body.resize(start + available);
        DWORD read = 0;
        if (!WinHttpReadData(req.get(), result.body.data() + start, available, &read)) return Fail();
        result.body.resize(start + read);
    }
    result.outcome = HttpOutcome::Completed;
    return result;
}
