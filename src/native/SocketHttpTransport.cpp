#include "native/SocketHttpTransport.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <string_view>

#include "service/HttpUrl.h"
#include "system/Numbers.h"

namespace {

constexpr std::size_t kMaxHeadBytes = 64 * 1024;  // status line and headers of one response
constexpr int kMaxRedirects = 10;

class Socket {
public:
    explicit Socket(int fd = -1) : fd_(fd) {}
    ~Socket() { if (fd_ >= 0) ::close(fd_); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    Socket(Socket&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    Socket& operator=(Socket&& o) noexcept {
        std::swap(fd_, o.fd_);
        return *this;
    }
    int get() const { return fd_; }

private:
    int fd_;
};

enum class Io { Ok, TimedOut, Failed };

// How long one wait may take: the phase's time-out, cut to what is left of the whole request's
// deadline.
class Budget {
public:
    using Clock = std::chrono::steady_clock;
    explicit Budget(const HttpGetRequest& request)
        : phaseMs_(request.timeoutMs),
          end_(request.deadlineMs > 0 ? Clock::now() + std::chrono::milliseconds(request.deadlineMs) : Clock::time_point::max()) {}
    // Milliseconds for the next wait; -1 without any limit.
    int WaitMs() const {
        if (end_ == Clock::time_point::max()) return phaseMs_ > 0 ? phaseMs_ : -1;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end_ - Clock::now()).count();
        const long long ms = std::max<long long>(0, left);
        return static_cast<int>(phaseMs_ > 0 ? std::min<long long>(ms, phaseMs_) : std::min<long long>(ms, 1 << 30));
    }

private:
    int phaseMs_;
    Clock::time_point end_;
};

// Waits until the socket is ready for `events`, no longer than the budget allows.
Io Wait(int fd, short events, const Budget& budget) {
    pollfd p{fd, events, 0};
    for (;;) {
        const int ms = budget.WaitMs();
        if (ms == 0) return Io::TimedOut;  // the deadline has passed, even if bytes are ready
        const int n = ::poll(&p, 1, ms);
        if (n > 0) return Io::Ok;
        if (n == 0) return Io::TimedOut;
        if (errno != EINTR) return Io::Failed;
    }
}

Io Connect(const HttpUrlParts& url, const Budget& budget, Socket& result) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(url.host.c_str(), std::to_string(url.port).c_str(), &hints, &list) != 0) return Io::Failed;
    Io outcome = Io::Failed;
    for (addrinfo* a = list; a; a = a->ai_next) {
        Socket s(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol));
        if (s.get() < 0) continue;
        if (::connect(s.get(), a->ai_addr, a->ai_addrlen) != 0) {
            if (errno != EINPROGRESS) continue;
            const Io waited = Wait(s.get(), POLLOUT, budget);
            if (waited != Io::Ok) {
                if (waited == Io::TimedOut) outcome = Io::TimedOut;
                continue;
            }
            int error = 0;
            socklen_t length = sizeof error;
            if (::getsockopt(s.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) continue;
        }
        result = std::move(s);
        outcome = Io::Ok;
        break;
    }
    ::freeaddrinfo(list);
    return outcome;
}

Io SendAll(int fd, std::string_view data, const Budget& budget) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n > 0) {
            data.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const Io waited = Wait(fd, POLLOUT, budget);
            if (waited != Io::Ok) return waited;
            continue;
        }
        return Io::Failed;
    }
    return Io::Ok;
}

// Buffered reading from the connection, each wait bounded by the budget.
class Reader {
public:
    Reader(int fd, const Budget& budget) : fd_(fd), budget_(budget) {}

    // Reads more bytes into the buffer; false at the end of the stream or on failure (see io()).
    bool Fill() {
        char chunk[16 * 1024];
        for (;;) {
            if (budget_.WaitMs() == 0) {  // a server that trickles never lets a wait run out
                io_ = Io::TimedOut;
                return false;
            }
            const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
            if (n > 0) {
                buffer_.append(chunk, static_cast<std::size_t>(n));
                return true;
            }
            if (n == 0) return false;
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                io_ = Wait(fd_, POLLIN, budget_);
                if (io_ != Io::Ok) return false;
                continue;
            }
            io_ = Io::Failed;
            return false;
        }
    }

    // One line without its CR LF; nothing when the stream ends first or the line is too long.
    std::optional<std::string> Line(std::size_t limit) {
        std::size_t end;
        while ((end = buffer_.find("\r\n", pos_)) == std::string::npos) {
            if (buffer_.size() - pos_ > limit || !Fill()) return std::nullopt;
        }
        if (end - pos_ > limit) return std::nullopt;
        std::string line = buffer_.substr(pos_, end - pos_);
        pos_ = end + 2;
        return line;
    }

    // Appends exactly `count` bytes to `out`.
    bool Take(std::size_t count, std::string& out) {
        while (buffer_.size() - pos_ < count)
            if (!Fill()) return false;
        out.append(buffer_, pos_, count);
        pos_ += count;
        Compact();
        return true;
    }

    // Appends everything up to the end of the stream; false when more than `limit` bytes come.
    bool TakeRest(std::string& out, std::size_t limit) {
        for (;;) {
            out.append(buffer_, pos_, std::string::npos);
            pos_ = buffer_.size();
            Compact();
            if (out.size() > limit) return false;
            if (!Fill()) return io_ == Io::Ok;
        }
    }

    Io io() const { return io_; }

private:
    void Compact() {
        if (pos_ > 64 * 1024 || pos_ == buffer_.size()) {
            buffer_.erase(0, pos_);
            pos_ = 0;
        }
    }

    int fd_;
    const Budget& budget_;
    std::string buffer_;
    std::size_t pos_ = 0;
    Io io_ = Io::Ok;
};

std::string Base64(std::string_view in) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < in.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(in[i]) << 16) | (static_cast<unsigned char>(in[i + 1]) << 8) |
                           static_cast<unsigned char>(in[i + 2]);
        out += kDigits[v >> 18];
        out += kDigits[(v >> 12) & 63];
        out += kDigits[(v >> 6) & 63];
        out += kDigits[v & 63];
    }
    if (i < in.size()) {
        unsigned v = static_cast<unsigned char>(in[i]) << 16;
        if (i + 1 < in.size()) v |= static_cast<unsigned char>(in[i + 1]) << 8;
        out += kDigits[v >> 18];
        out += kDigits[(v >> 12) & 63];
        out += i + 1 < in.size() ? kDigits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

struct Head {
    int status = 0;
    std::string reason;
    std::optional<std::size_t> contentLength;
    bool chunked = false;
    std::string location;
};

// Status line and headers; nothing for a malformed head.
std::optional<Head> ReadHead(Reader& reader) {
    const auto statusLine = reader.Line(kMaxHeadBytes);
    if (!statusLine || statusLine->size() < 12 || statusLine->compare(0, 7, "HTTP/1.") != 0 ||
        (*statusLine)[8] != ' ')
        return std::nullopt;
    Head head;
    for (int i = 9; i < 12; ++i) {
        const char c = (*statusLine)[i];
        if (c < '0' || c > '9') return std::nullopt;
        head.status = head.status * 10 + (c - '0');
    }
    if (statusLine->size() > 12) {
        if ((*statusLine)[12] != ' ') return std::nullopt;
        head.reason = statusLine->substr(13);
    }
    std::size_t total = statusLine->size();
    for (;;) {
        const auto line = reader.Line(kMaxHeadBytes);
        if (!line) return std::nullopt;
        total += line->size() + 2;
        if (total > kMaxHeadBytes) return std::nullopt;
        if (line->empty()) break;
        const std::size_t colon = line->find(':');
        if (colon == std::string::npos) return std::nullopt;
        const std::string name = LowerCase(line->substr(0, colon));
        const std::string value = Trim(line->substr(colon + 1));
        if (name == "content-length") {
            const auto n = StrictNumber(value);
            if (!n || *n < 0 || *n > 1e15) return std::nullopt;
            head.contentLength = static_cast<std::size_t>(*n);
        } else if (name == "transfer-encoding") {
            head.chunked = LowerCase(value).find("chunked") != std::string::npos;
        } else if (name == "location") {
            head.location = value;
        }
    }
    return head;
}

bool ReadChunked(Reader& reader, std::string& body, std::size_t limit) {
    for (;;) {
        const auto line = reader.Line(1024);
        if (!line) return false;
        std::size_t size = 0, digits = 0;
        for (const char c : *line) {
            int v;
            if (c >= '0' && c <= '9') v = c - '0';
            else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
            else break;  // chunk extensions follow
            if (++digits > 15) return false;
            size = size * 16 + static_cast<std::size_t>(v);
        }
        if (digits == 0) return false;
        if (size == 0) break;
        if (body.size() + size > limit) return false;
        std::string crlf;
        if (!reader.Take(size, body) || !reader.Take(2, crlf) || crlf != "\r\n") return false;
    }
    for (;;) {  // trailer fields up to the empty line
        const auto line = reader.Line(kMaxHeadBytes);
        if (!line) return false;
        if (line->empty()) return true;
    }
}

// Where a redirect points, resolved against the URL that was asked for.
std::string ResolveLocation(const HttpUrlParts& parts, const std::string& location) {
    if (location.find("://") != std::string::npos) return location;
    const std::string origin = (parts.secure ? "https://" : "http://") + parts.hostHeader;
    if (location.rfind("//", 0) == 0) return (parts.secure ? "https:" : "http:") + location;
    if (!location.empty() && location.front() == '/') return origin + location;
    std::string path = parts.target.substr(0, parts.target.find('?'));
    path = path.substr(0, path.rfind('/') + 1);
    return origin + path + location;
}

HttpGetResult Fail(HttpOutcome outcome) {
    HttpGetResult r;
    r.outcome = outcome;
    return r;
}

HttpOutcome FromIo(Io io) { return io == Io::TimedOut ? HttpOutcome::TimedOut : HttpOutcome::Failed; }

}  // namespace

HttpGetResult SocketHttpTransport::Get(const HttpGetRequest& request) {
    std::string url = request.url;
    const Budget budget(request);
    for (int hop = 0;; ++hop) {
        const auto parts = SplitHttpUrl(url);
        if (!parts || parts->secure) return Fail(HttpOutcome::Failed);

        Socket socket;
        const Io connected = Connect(*parts, budget, socket);
        if (connected != Io::Ok) return Fail(FromIo(connected));

        std::string text = "GET " + parts->target + " HTTP/1.1\r\n";
        for (const auto& [name, value] : request.headers) text += name + ": " + value + "\r\n";
        text += "Host: " + parts->hostHeader + "\r\n";
        if (!request.user.empty())
            text += "Authorization: Basic " + Base64(request.user + ":" + request.password) + "\r\n";
        text += "\r\n";
        const Io sent = SendAll(socket.get(), text, budget);
        if (sent != Io::Ok) return Fail(FromIo(sent));

        Reader reader(socket.get(), budget);
        std::optional<Head> head;
        do {  // interim 1xx responses carry no body
            head = ReadHead(reader);
            if (!head) return Fail(reader.io() == Io::TimedOut ? HttpOutcome::TimedOut : HttpOutcome::Failed);
        } while (head->status >= 100 && head->status < 200);

        HttpGetResult result;
        result.status = head->status;
        result.statusText = head->reason;
        bool ok = true;
        if (head->status == 204 || head->status == 304) {
        } else if (head->chunked) {
            ok = ReadChunked(reader, result.body, request.maxBodyBytes);
        } else if (head->contentLength) {
            ok = *head->contentLength <= request.maxBodyBytes && reader.Take(*head->contentLength, result.body);
        } else {
            ok = reader.TakeRest(result.body, request.maxBodyBytes);
        }
        if (!ok) return Fail(reader.io() == Io::TimedOut ? HttpOutcome::TimedOut : HttpOutcome::Failed);

        const bool redirect = head->status == 301 || head->status == 302 || head->status == 303 ||
                              head->status == 307 || head->status == 308;
        if (redirect && !head->location.empty()) {
            if (hop >= kMaxRedirects) return Fail(HttpOutcome::Failed);
            url = ResolveLocation(*parts, EscapeUrl(head->location));
            continue;
        }
        result.outcome = HttpOutcome::Completed;
        return result;
    }
}
