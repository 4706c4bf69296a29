#include "update/ProgramReplace.h"

#include <cstdint>

#include "platform/FileSystem.h"
#include "system/Cat.h"
#include "system/mExists.h"
#include "update/CRC32.h"

namespace {

std::uint32_t Le(std::span<const std::uint8_t> b, std::size_t at, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

}  // namespace

std::string NewProgramPath(std::string_view program) { return Cat(program, ".new"); }
std::string OldProgramPath(std::string_view program) { return Cat(program, ".old"); }

bool IsWholeProgram(std::span<const std::uint8_t> bytes) {
    const std::size_t size = bytes.size();
    if (size < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z') return false;
    const std::size_t pe = Le(bytes, 0x3C, 4);
    // Signature, file header (20 bytes) and the optional header's size tell where the sections are.
    if (pe > size || size - pe < 24 || Le(bytes, pe, 4) != 0x00004550) return false;
    const std::size_t sections = Le(bytes, pe + 6, 2);
    const std::size_t table = pe + 24 + Le(bytes, pe + 20, 2);
    if (sections == 0 || table > size || (size - table) / 40 < sections) return false;
    for (std::size_t i = 0; i < sections; ++i) {
        const std::size_t entry = table + i * 40;
        const std::uint64_t end = std::uint64_t{Le(bytes, entry + 20, 4)} + Le(bytes, entry + 16, 4);
        if (end > size) return false;
    }
    return true;
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
