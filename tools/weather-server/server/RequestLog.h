#pragma once

#include <cstddef>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace ws {

// The request log: per request its request line and header lines exactly as they came,
// in their order, then a blank line; flushed at once so that a test can read it while the
// server runs. Lines end in "\n" (the "\r" of the wire is dropped).
class RequestLog {
public:
    explicit RequestLog(const std::string& path);
    bool isOpen() const { return out_.is_open(); }
    void write(std::string_view rawHead);

private:
    std::mutex mutex_;
    std::ofstream out_;
};

// The log text of one raw request head (everything before the empty line).
std::string formatHead(std::string_view rawHead);

// Finds request heads in the bytes a connection delivers, however they are cut into reads,
// and skips request bodies by their Content-Length. Gives up on chunked bodies (no client
// of this server sends any): the rest of that connection is not logged.
class HeadRecorder {
public:
    explicit HeadRecorder(std::function<void(std::string_view)> onHead);
    void feed(const char* data, std::size_t size);

private:
    std::function<void(std::string_view)> onHead_;
    std::string pending_;
    std::size_t bodyLeft_ = 0;
    bool lost_ = false;
};

}  // namespace ws
