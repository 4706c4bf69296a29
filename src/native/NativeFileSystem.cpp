#include "native/NativeFileSystem.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {
class StdioReader : public FileReader {
public:
    explicit StdioReader(std::FILE* f) : f_(f) {}
    ~StdioReader() override { std::fclose(f_); }
    StdioReader(const StdioReader&) = delete;
    StdioReader& operator=(const StdioReader&) = delete;
    std::int64_t Read(std::uint8_t* buffer, std::size_t size) override {
        const std::size_t n = std::fread(buffer, 1, size, f_);
        if (n < size && std::ferror(f_)) return -1;
        return static_cast<std::int64_t>(n);
    }

private:
    std::FILE* f_;
};
}  // namespace

std::int64_t NativeFileSystem::FileSize(std::string_view path) {
    std::error_code ec;
    const std::filesystem::path p(path);
    if (!std::filesystem::is_regular_file(p, ec)) return -1;
    const auto size = std::filesystem::file_size(p, ec);
    return ec ? -1 : static_cast<std::int64_t>(size);
}

std::unique_ptr<FileReader> NativeFileSystem::OpenRead(std::string_view path) {
    std::FILE* f = std::fopen(std::string(path).c_str(), "rb");
    if (!f) return nullptr;
    return std::make_unique<StdioReader>(f);
}

bool NativeFileSystem::WriteFile(std::string_view path, std::string_view bytes) {
    // Written beside and renamed over it, so a full disk never leaves a cut file.
    const std::string target(path), fresh = target + ".new";
    ::unlink(fresh.c_str());
    if (!WriteNewFile(fresh, bytes)) return false;
    if (::rename(fresh.c_str(), target.c_str()) == 0) return true;
    ::unlink(fresh.c_str());
    return false;
}

bool NativeFileSystem::RemoveFile(std::string_view path) {
    std::error_code ec;
    return std::filesystem::remove(std::filesystem::path(path), ec);
}

bool NativeFileSystem::WriteNewFile(std::string_view path, std::string_view bytes) {
    const std::string p(path);
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok) ::unlink(p.c_str());
    return ok;
}

bool NativeFileSystem::RenameFile(std::string_view from, std::string_view to) {
    const std::string target(to);
    // link() refuses an existing target, as Windows' rename does; then the old name goes.
    if (::link(std::string(from).c_str(), target.c_str()) != 0) return false;
    return ::unlink(std::string(from).c_str()) == 0;
}
