#pragma once
// A scripted HTTP peer on a free loopback port: each connection gets the next reply (after an
// optional delay, followed by `filler` bytes of 'x' streamed without holding them, or byte by
// byte with a pause between), and the request head it sent is recorded.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class RawHttpPeer {
public:
    struct Reply {
        std::string bytes;
        int delayMs = 0;
        std::size_t filler = 0;
        int trickleMs = 0;
    };

    explicit RawHttpPeer(std::vector<Reply> replies) : replies_(std::move(replies)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 8);
        socklen_t length = sizeof addr;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &length);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~RawHttpPeer() { Sent(); }
    RawHttpPeer(const RawHttpPeer&) = delete;
    RawHttpPeer& operator=(const RawHttpPeer&) = delete;

    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    int port() const { return port_; }
    std::vector<std::string> Heads() {
        std::lock_guard<std::mutex> lock(mutex_);
        return heads_;
    }
    // Stops serving; the bytes of the last reply that went out before the client hung up.
    std::size_t Sent() {
        if (thread_.joinable()) {
            ::shutdown(listener_, SHUT_RDWR);
            ::close(listener_);
            thread_.join();
        }
        return sent_;
    }

private:
    void Serve() {
        for (const Reply& reply : replies_) {
            const int fd = ::accept(listener_, nullptr, nullptr);
            if (fd < 0) return;
            std::string head;
            char c;
            while (head.find("\r\n\r\n") == std::string::npos && ::recv(fd, &c, 1, 0) == 1) head += c;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                heads_.push_back(head);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(reply.delayMs));
            sent_ = 0;
            const std::string filler(64 * 1024, 'x');
            const std::size_t total = reply.bytes.size() + reply.filler;
            while (sent_ < total) {
                const bool inBytes = sent_ < reply.bytes.size();
                const char* data = inBytes ? reply.bytes.data() + sent_ : filler.data();
                std::size_t n = inBytes ? reply.bytes.size() - sent_ : std::min(filler.size(), total - sent_);
                if (reply.trickleMs > 0) {
                    n = 1;
                    std::this_thread::sleep_for(std::chrono::milliseconds(reply.trickleMs));
                }
                const ssize_t w = ::send(fd, data, n, MSG_NOSIGNAL);
                if (w <= 0) break;
                sent_ += static_cast<std::size_t>(w);
            }
            ::close(fd);
        }
    }

    int listener_ = -1;
    int port_ = 0;
    std::size_t sent_ = 0;
    std::vector<Reply> replies_;
    std::vector<std::string> heads_;
    std::mutex mutex_;
    std::thread thread_;
};
