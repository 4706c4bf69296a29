#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The parts of an absolute http or https URL that a transport needs to send a request.
struct HttpUrlParts {
    bool secure = false;     // https
    std::string host;        // without brackets for an IPv6 literal
    std::uint16_t port = 0;  // explicit or the scheme's default
    std::string target;      // path and query as sent in the request line; "/" at least
    std::string hostHeader;  // host, with ":port" when it is not the scheme's default
};

// Nothing for anything but an absolute http/https URL with a host and a valid port. Credentials
// must have been removed before; a fragment is not sent.
std::optional<HttpUrlParts> SplitHttpUrl(std::string_view url);

// Percent-encodes the characters that may not stand in a URL as they are (controls, blanks,
// " < > \ ^ ` { | } and, as their UTF-8 bytes, everything beyond ASCII). Everything else, "%"
// included, stays, so an encoded URL passes unchanged. The text is Windows-1252.
std::string EscapeUrl(std::string_view url);

// Percent-encodes text as UTF-8 for a query value: everything but letters, digits and - . _ ~.
// The text is Windows-1252 with the characters it lacks as their UTF-8 (WINtoUTF8).
std::string EncodeQueryValue(std::string_view cp1252);
