#include "server/Replies.h"

#include <cstdio>

#include "replies/JsonWriter.h"
#include "server/Random.h"

namespace ws {

namespace {

// A request id in the form of a UUID, derived from what it names so that replies repeat.
std::string pseudoUuid(std::uint64_t seed)
{
    Rng rng(seed);
    const std::uint64_t a = rng.next();
    const std::uint64_t b = rng.next();
    char text[40];
    std::snprintf(text, sizeof text, "%08x-%04x-4%03x-%04x-%012llx",
                  static_cast<unsigned>(a >> 32), static_cast<unsigned>((a >> 16) & 0xFFFF),
                  static_cast<unsigned>(a & 0xFFF), static_cast<unsigned>(0x8000 | (b >> 50)),
                  static_cast<unsigned long long>(b & 0xFFFFFFFFFFFFULL));
    return text;
}

std::string quoted(std::string_view text)
{
    JsonWriter w;
    w.string(text);
    return w.text();
}

}  // namespace

std::string reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 429: return "Too Many Requests";
    case 500: return "Internal Server Error";
    case 501: return "Not Implemented";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return "Error";
    }
}

std::string problemReply(int status, std::string_view path, std::string_view reference,
                         long long nowUtc)
{
    const std::string title = reasonPhrase(status);
    std::string code;
    for (char c : title) {
        if (c != ' ')
            code += c;
    }
    const std::string message = status == 401 ? "API authorization failed" : title;
    std::string timestamp = isoUtc(nowUtc);
    timestamp.insert(timestamp.size() - 1, ".000");
    const std::uint64_t seed = hashText(reference) ^ static_cast<std::uint64_t>(nowUtc);
    // Indented with two blanks and without a final line end, as the service writes it.
    return "{\n"
           "  \"type\": \"https://httpproblems.com/http-status/" + std::to_string(status) + "\",\n"
           "  \"title\": " + quoted(title) + ",\n"
           "  \"status\": " + std::to_string(status) + ",\n"
           "  \"instance\": " + quoted(path) + ",\n"
           "  \"trace\": {\n"
           "    \"timestamp\": \"" + timestamp + "\",\n"
           "    \"requestId\": \"" + pseudoUuid(seed) + "\",\n"
           "    \"buildId\": \"" + pseudoUuid(hashText("weather-server")) + "\"\n"
           "  },\n"
           "  \"Code\": " + quoted(code) + ",\n"
           "  \"Message\": " + quoted(message) + ",\n"
           "  \"Reference\": " + quoted(reference) + "\n"
           "}";
}

std::string invalidKeyReply(std::string_view key, std::string_view path)
{
    JsonWriter w;
    w.beginObject()
        .member("Code", "400")
        .member("Message", "Invalid location key: " + std::string(key))
        .member("Reference", path)
        .endObject();
    return w.text();
}

}  // namespace ws
