#include "server/UpdateRecord.h"

#include <array>
#include <cstdio>
#include <filesystem>

namespace ws {

std::uint32_t crc32(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? (c >> 1) ^ 0xEDB88320U : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFU;
    for (unsigned char b : bytes)
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return ~c;
}

std::string downloadName(const UpdateOffer& offer)
{
    if (offer.filePath.empty())
        return "Wolkenglas.exe";
    return std::filesystem::path(offer.filePath).filename().string();
}

std::string updateRecord(const UpdateOffer& offer, const std::optional<std::string>& download,
                         std::string_view serverDate)
{
    std::string record = "[" + offer.product + "|" + downloadName(offer) + "|" + offer.version +
                         "|" + (offer.remark.empty() ? std::string(serverDate) : offer.remark);
    std::optional<std::uint32_t> crc = offer.crcOverride;
    if (!crc && download)
        crc = crc32(*download);
    if (crc) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(*crc));
        record += "|";
        record += hex;
    }
    return record + "]\r\n";
}

std::optional<std::uint32_t> parseCrc(std::string_view text)
{
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

}  // namespace ws
