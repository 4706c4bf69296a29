#include "server/RequestLog.h"

#include <algorithm>
#include <charconv>

#include "server/QueryText.h"

namespace ws {

namespace {

// A limit on one head, so that a client that never ends its head cannot grow memory.
constexpr std::size_t kMaxHead = 64 * 1024;

std::string_view trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Content-Length of a head; -1 for a chunked body.
long long bodyLength(std::string_view head)
{
    long long length = 0;
    std::size_t start = 0;
    while (start < head.size()) {
        std::size_t end = head.find('\n', start);
        if (end == std::string_view::npos)
            end = head.size();
        const std::string_view line = head.substr(start, end - start);
        start = end + 1;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string name = asciiLower(trim(line.substr(0, colon)));
        const std::string_view value = trim(line.substr(colon + 1));
        if (name == "content-length") {
            std::from_chars(value.data(), value.data() + value.size(), length);
        } else if (name == "transfer-encoding" && asciiLower(value) != "identity") {
            return -1;
        }
    }
    return std::max(length, 0LL);
}

}  // namespace

RequestLog::RequestLog(const std::string& path) : out_(path, std::ios::binary | std::ios::app) {}

void RequestLog::write(std::string_view rawHead)
{
    const std::string text = formatHead(rawHead);
    std::lock_guard<std::mutex> lock(mutex_);
    out_ << text;
    out_.flush();
}

std::string formatHead(std::string_view rawHead)
{
    std::string text;
    std::size_t start = 0;
    while (start < rawHead.size()) {
        std::size_t end = rawHead.find('\n', start);
        if (end == std::string_view::npos)
            end = rawHead.size();
        std::string_view line = rawHead.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        text.append(line);
        text += '\n';
        start = end + 1;
    }
    text += '\n';
    return text;
}

HeadRecorder::HeadRecorder(std::function<void(std::string_view)> onHead)
    : onHead_(std::move(onHead))
{
}

void HeadRecorder::feed(const char* data, std::size_t size)
{
    std::string buffer(data, size);
    std::string_view input(buffer);
    while (!input.empty() && !lost_) {
        if (bodyLeft_ > 0) {
            const std::size_t skip = std::min(bodyLeft_, input.size());
            bodyLeft_ -= skip;
            input.remove_prefix(skip);
            continue;
        }
        // Blank lines between requests are allowed before a request line.
        if (pending_.empty()) {
            while (!input.empty() && (input.front() == '\r' || input.front() == '\n'))
                input.remove_prefix(1);
            if (input.empty())
                break;
        }
        const std::size_t searchFrom = pending_.size() >= 3 ? pending_.size() - 3 : 0;
        pending_.append(input);
        input = {};
        std::size_t end = pending_.find("\r\n\r\n", searchFrom);
        std::size_t endLength = 4;
        const std::size_t bare = pending_.find("\n\n", searchFrom);
        if (bare != std::string::npos && (end == std::string::npos || bare < end)) {
            end = bare;
            endLength = 2;
        }
        if (end == std::string::npos) {
            if (pending_.size() > kMaxHead)
                lost_ = true;
            break;
        }
        std::string rest = pending_.substr(end + endLength);
        pending_.resize(end);
        onHead_(pending_);
        const long long length = bodyLength(pending_);
        pending_.clear();
        if (length < 0) {
            lost_ = true;
            break;
        }
        bodyLeft_ = static_cast<std::size_t>(length);
        // What follows the head goes round again: a body, then perhaps the next request.
        buffer = std::move(rest);
        input = buffer;
    }
}

}  // namespace ws
