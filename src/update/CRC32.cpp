#include "update/CRC32.h"

#include <array>
#include <cstdio>
#include <vector>

#include "platform/FileSystem.h"

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;
constexpr std::size_t kBlockSize = 4096;

const std::array<std::uint32_t, 256>& Table() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1u) ? (c >> 1) ^ kPolynomial : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    return table;
}

}  // namespace

std::uint32_t CRC32(std::span<const std::uint8_t> bytes, std::uint32_t start) {
    const auto& table = Table();
    std::uint32_t c = start;
    for (std::uint8_t b : bytes) c = table[(c ^ b) & 0xFFu] ^ (c >> 8);
    return ~c;
}

std::uint32_t CRC32(FileSystem& files, std::string_view path) {
    auto reader = files.OpenRead(path);
    if (!reader) return 0xFFFFFFFFu;
    std::vector<std::uint8_t> block(kBlockSize);
    std::uint32_t c = 0xFFFFFFFFu;
    for (;;) {
        const std::int64_t n = reader->Read(block.data(), block.size());
        if (n < 0) return 0xFFFFFFFFu;
        if (n == 0) break;
        c = ~CRC32(std::span<const std::uint8_t>(block.data(), static_cast<std::size_t>(n)), c);
    }
    return ~c;
}

std::string CRC32Hex(std::uint32_t crc) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(crc));
    return buf;
}
