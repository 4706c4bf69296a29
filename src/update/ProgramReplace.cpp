#include "update/ProgramReplace.h"

#include <cstdint>
#include <vector>

#include "platform/FileSystem.h"
#include "system/Cat.h"
#include "system/mExists.h"
#include "update/CRC32.h"
#include "update/mProgVer.h"

namespace {

// A little-endian field; 0 where it would lie past the end, so that every header read is bounded.
std::uint32_t Le(std::span<const std::uint8_t> b, std::size_t at, std::size_t width) {
    if (at > b.size() || b.size() - at < width) return 0;
    std::uint32_t v = 0;
    for (std::size_t i = width; i-- > 0;) v = (v << 8) | b[at + i];
    return v;
}

constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint32_t kRtVersion = 16;

}  // namespace

std::string NewProgramPath(std::string_view program) { return Cat(program, ".new"); }
std::string OldProgramPath(std::string_view program) { return Cat(program, ".old"); }

std::optional<std::string> ProgramVersionText(std::span<const std::uint8_t> b) {
    if (b.size() < 0x40 || b[0] != 'M' || b[1] != 'Z') return std::nullopt;
    const std::size_t pe = Le(b, 0x3C, 4);
    if (Le(b, pe, 4) != 0x00004550) return std::nullopt;
    const std::size_t header = pe + 4;
    const std::uint32_t flags = Le(b, header + 18, 2);
    // IMAGE_FILE_EXECUTABLE_IMAGE set, IMAGE_FILE_DLL clear.
    if (Le(b, header, 2) != kOwnMachine || !(flags & 0x0002) || (flags & 0x2000)) return std::nullopt;
    const std::size_t optional = header + 20, optionalSize = Le(b, header + 16, 2);
    const std::uint32_t magic = Le(b, optional, 2);
    const std::size_t directories = optional + (magic == 0x20B ? 112 : 96);
    if ((magic != 0x10B && magic != 0x20B) || Le(b, directories - 4, 4) < 3 ||
        directories + 24 > optional + optionalSize)
        return std::nullopt;
    const std::size_t table = optional + optionalSize, sections = Le(b, header + 2, 2);
    if (sections == 0 || table > b.size() || (b.size() - table) / 40 < sections) return std::nullopt;
    for (std::size_t i = 0; i < sections; ++i)
        if (std::uint64_t{Le(b, table + i * 40 + 20, 4)} + Le(b, table + i * 40 + 16, 4) > b.size())
            return std::nullopt;
    // A relative virtual address as an offset into the file's bytes.
    const auto at = [&](std::uint32_t rva) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < sections; ++i) {
            const std::size_t entry = table + i * 40;
            const std::uint32_t start = Le(b, entry + 12, 4);
            if (rva >= start && rva - start < Le(b, entry + 16, 4)) return Le(b, entry + 20, 4) + (rva - start);
        }
        return std::nullopt;
    };
    // The resource tree: type RT_VERSION, then its first name and first language.
    const auto root = at(Le(b, directories + 16, 4));
    if (!root) return std::nullopt;
    std::size_t node = *root;
    std::uint32_t target = 0;
    for (int level = 0; level < 3; ++level) {
        const std::size_t entries = Le(b, node + 12, 2) + Le(b, node + 14, 2);
        std::size_t entry = 0;
        while (entry < entries && level == 0 && Le(b, node + 16 + entry * 8, 4) != kRtVersion) ++entry;
        if (entry >= entries) return std::nullopt;
        target = Le(b, node + 16 + entry * 8 + 4, 4);
        if (((target & kSubdirectory) != 0) != (level < 2)) return std::nullopt;
        node = *root + (target & ~kSubdirectory);
    }
    // VS_VERSIONINFO: 6 bytes of lengths and type, "VS_VERSION_INFO" in UTF-16 with its zero,
    // two bytes to the next 4-byte boundary, then the fixed part with its signature.
    const auto data = at(Le(b, node, 4));
    if (!data || Le(b, node + 4, 4) < 40 + 52 || Le(b, *data + 40, 4) != 0xFEEF04BD) return std::nullopt;
    const std::uint32_t high = Le(b, *data + 48, 4), low = Le(b, *data + 52, 4);
    return ProgVer(static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high & 0xFFFF),
                   static_cast<std::uint16_t>(low & 0xFFFF));
}

std::optional<std::string> ProgramFileVersionText(FileSystem& files, std::string_view path) {
    auto reader = files.OpenRead(path);
    if (!reader) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[4096];
    for (std::int64_t n; (n = reader->Read(block, sizeof block)) > 0;) bytes.insert(bytes.end(), block, block + n);
    return ProgramVersionText(bytes);
}

bool ReplaceProgram(FileSystem& files, std::string_view program, std::span<const std::uint8_t> bytes) {
    const std::string target(program);
    const std::string fresh = NewProgramPath(target);
    const std::string old = OldProgramPath(target);
    const std::string_view data(reinterpret_cast<const char*>(bytes.data()), bytes.size());

    files.RemoveFile(fresh);  // left over from an update that failed half-way
    if (!files.WriteNewFile(fresh, data)) return false;
    // What the disk holds is what was checked.
    if (FileSize(files, fresh) != static_cast<std::int64_t>(bytes.size()) || CRC32(files, fresh) != CRC32(bytes)) {
        files.RemoveFile(fresh);
        return false;
    }
    // An old program that an earlier update's script could not remove.
    if (FileSize(files, old) >= 0 && !files.RemoveFile(old)) {
        files.RemoveFile(fresh);
        return false;
    }
    if (!files.RenameFile(target, old)) {
        files.RemoveFile(fresh);
        return false;
    }
    if (!files.RenameFile(fresh, target)) {
        files.RenameFile(old, target);
        files.RemoveFile(fresh);
        return false;
    }
    return true;
}
