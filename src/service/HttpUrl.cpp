#include "service/HttpUrl.h"

#include "service/mUTF8toWIN.h"
#include "system/Numbers.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, unsigned char c) {
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
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
    for (const char ch : WINtoUTF8(url)) {
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
    for (const char ch : WINtoUTF8(cp1252)) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~';
        if (plain) out += ch;
        else AppendEscaped(out, c);
    }
    return out;
}
