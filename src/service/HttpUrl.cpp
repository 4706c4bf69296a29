#include "service/HttpUrl.h"

#include "system/Numbers.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, unsigned char c) {
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

// Unicode code points of Windows-1252's 0x80-0x9F; the five unassigned positions map to the
// C1 controls of the same number.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::string ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() * 2);
    for (const char ch : cp1252) {
        const auto c = static_cast<unsigned char>(ch);
        const char32_t cp = c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

}  // namespace

std::optional<HttpUrlParts> SplitHttpUrl(std::string_view url) {
    HttpUrlParts parts;
    const std::size_t colon = url.find("://");
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string scheme = LowerCase(url.substr(0, colon));
    if (scheme == "https") parts.secure = true;
    else if (scheme != "http") return std::nullopt;
    const std::uint16_t defaultPort = parts.secure ? 443 : 80;

    std::string_view rest = url.substr(colon + 3);
    const std::size_t fragment = rest.find('#');
    if (fragment != std::string_view::npos) rest = rest.substr(0, fragment);
    std::size_t authorityEnd = rest.find_first_of("/?");
    if (authorityEnd == std::string_view::npos) authorityEnd = rest.size();
    const std::string_view authority = rest.substr(0, authorityEnd);
    std::string_view target = rest.substr(authorityEnd);
    if (authority.find('@') != std::string_view::npos) return std::nullopt;

    std::string_view host = authority;
    std::string_view port;
    if (!host.empty() && host.front() == '[') {
        const std::size_t close = host.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        const std::string_view after = host.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') return std::nullopt;
            port = after.substr(1);
        }
        host = host.substr(1, close - 1);
    } else {
        const std::size_t c = host.rfind(':');
        if (c != std::string_view::npos) {
            port = host.substr(c + 1);
            host = host.substr(0, c);
        }
    }
    if (host.empty()) return std::nullopt;
    parts.port = defaultPort;
    if (!port.empty()) {
        if (port.size() > 5) return std::nullopt;
        unsigned value = 0;
        for (const char c : port) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        if (value == 0 || value > 65535) return std::nullopt;
        parts.port = static_cast<std::uint16_t>(value);
    }
    parts.host = std::string(host);
    std::string bracketed;  // an IPv6 literal keeps its brackets in the Host header
    if (host.find(':') != std::string_view::npos) {
        bracketed.append(1, '[').append(host).append(1, ']');
    } else {
        bracketed = parts.host;
    }
    parts.hostHeader = parts.port == defaultPort ? bracketed : bracketed + ":" + std::to_string(parts.port);
    if (target.empty() || target.front() == '?') parts.target.assign(1, '/');
    parts.target.append(target);
    return parts;
}

std::string EscapeUrl(std::string_view url) {
    std::string out;
    out.reserve(url.size());
    // Letters beyond ASCII are sent as their UTF-8 bytes, as browsers do.
    for (const char ch : ToUtf8(url)) {
        const auto c = static_cast<unsigned char>(ch);
        const bool unsafe = c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' || c == '^' ||
                            c == '`' || c == '{' || c == '|' || c == '}';
        if (unsafe) AppendEscaped(out, c);
        else out += ch;
    }
    return out;
}

std::string EncodeQueryValue(std::string_view cp1252) {
    std::string out;
    for (const char ch : ToUtf8(cp1252)) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~';
        if (plain) out += ch;
        else AppendEscaped(out, c);
    }
    return out;
}
