#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ws {

// What the update server offers: "[product|file|version|remark|CRC]".
struct UpdateOffer {
    std::string product = "Wolkenglas";
    std::string version = "1.54";   // the current release: the widget finds nothing newer
    std::string filePath;           // served as the download; empty: no download
    std::string remark;             // empty: the server's date, "05.01.2026"
    std::optional<std::uint32_t> crcOverride;   // to announce a wrong checksum on purpose
};

// CRC-32 as zlib computes it (reflected 0xEDB88320, all ones in and out).
std::uint32_t crc32(std::string_view bytes);

// The name the download is asked for by: the offered file's name, or the program's.
std::string downloadName(const UpdateOffer& offer);

// The record with a line end, as a script on a web server writes it. The CRC field is left
// out when there is neither a download nor an override, so the widget checks nothing.
std::string updateRecord(const UpdateOffer& offer, const std::optional<std::string>& download,
                         std::string_view serverDate);

// Parses "1A2b3C4d" (1 to 8 hex digits).
std::optional<std::uint32_t> parseCrc(std::string_view text);

}  // namespace ws
