#include "server/LoggingServer.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>

namespace ws {

namespace {

bool waitSocket(int sock, short events, time_t seconds, time_t microseconds)
{
    pollfd fd{sock, events, 0};
    const int timeoutMs = static_cast<int>(seconds * 1000 + microseconds / 1000);
    int result;
    do {
        result = ::poll(&fd, 1, timeoutMs);
    } while (result < 0 && errno == EINTR);
    return result > 0;
}

void addressOf(int sock, bool peer, std::string& ip, int& port)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    auto* raw = reinterpret_cast<sockaddr*>(&address);
    if ((peer ? ::getpeername(sock, raw, &length) : ::getsockname(sock, raw, &length)) != 0)
        return;
    char host[NI_MAXHOST];
    char service[NI_MAXSERV];
    if (::getnameinfo(raw, length, host, sizeof host, service, sizeof service,
                      NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
        ip = host;
        port = std::atoi(service);
    }
}

// A plain socket stream that passes every byte it reads to the head recorder.
class RecordingStream : public httplib::Stream {
public:
    RecordingStream(int sock, time_t readSec, time_t readUsec, time_t writeSec, time_t writeUsec,
                    HeadRecorder* recorder)
        : sock_(sock), readSec_(readSec), readUsec_(readUsec), writeSec_(writeSec),
          writeUsec_(writeUsec), recorder_(recorder)
    {
    }

    bool is_readable() const override { return waitSocket(sock_, POLLIN, readSec_, readUsec_); }
    bool is_writable() const override { return waitSocket(sock_, POLLOUT, writeSec_, writeUsec_); }

    ssize_t read(char* ptr, size_t size) override
    {
        if (!is_readable())
            return -1;
        ssize_t count;
        do {
            count = ::recv(sock_, ptr, size, 0);
        } while (count < 0 && errno == EINTR);
        if (count > 0 && recorder_)
            recorder_->feed(ptr, static_cast<std::size_t>(count));
        return count;
    }

    ssize_t write(const char* ptr, size_t size) override
    {
        if (!is_writable())
            return -1;
        ssize_t count;
        do {
            count = ::send(sock_, ptr, size, MSG_NOSIGNAL);
        } while (count < 0 && errno == EINTR);
        return count;
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override
    {
        addressOf(sock_, true, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override
    {
        addressOf(sock_, false, ip, port);
    }
    socket_t socket() const override { return sock_; }

private:
    int sock_;
    time_t readSec_;
    time_t readUsec_;
    time_t writeSec_;
    time_t writeUsec_;
    HeadRecorder* recorder_;
};

}  // namespace

LoggingServer::LoggingServer()
{
    // httplib also sets SO_REUSEPORT, which would let a second server share a busy port
    // without an error; a test must learn that its port is taken.
    set_socket_options([](socket_t sock) {
        int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
}

// Waits for the next request of a kept-alive connection, in short steps so that a stopping
// server does not wait for idle clients.
bool LoggingServer::waitForRequest(socket_t sock) const
{
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(keep_alive_timeout_sec_);
    while (svr_sock_ != INVALID_SOCKET) {
        if (waitSocket(sock, POLLIN, 0, 50000))
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
    }
    return false;
}

bool LoggingServer::process_and_close_socket(socket_t sock)
{
    std::optional<HeadRecorder> recorder;
    if (log_)
        recorder.emplace([this](std::string_view head) { log_->write(head); });
    RecordingStream stream(sock, read_timeout_sec_, read_timeout_usec_, write_timeout_sec_,
                           write_timeout_usec_, recorder ? &*recorder : nullptr);
    bool ok = false;
    for (std::size_t left = keep_alive_max_count_; left > 0 && waitForRequest(sock); --left) {
        bool closed = false;
        ok = process_request(stream, left == 1, closed, nullptr);
        if (!ok || closed)
            break;
    }
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return ok;
}

}  // namespace ws
