#include "Utf8Text.h"
#include "Win32Ports.h"

namespace {

class Win32FileReader : public FileReader {
public:
    explicit Win32FileReader(HANDLE h) : file_(h) {}
    std::int64_t Read(std::uint8_t* buffer, std::size_t size) override {
        DWORD got = 0;
        if (!::ReadFile(file_.get(), buffer, static_cast<DWORD>(size), &got, nullptr)) return -1;
        return got;
    }

private:
    unique_handle file_;
};

HANDLE OpenForReading(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::int64_t Win32FileSystem::FileSize(std::string_view path) {
    if (path.empty()) return -1;
    const std::wstring wide = Utf8ToWide(path);
    // A directory search finds normal files only: hidden and system files count as missing.
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(wide.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    FindClose(search);
    if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return -1;
    HANDLE raw = OpenForReading(wide);
    if (raw == INVALID_HANDLE_VALUE) return -1;
    unique_handle file(raw);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return -1;
    return size.QuadPart;
}

std::unique_ptr<FileReader> Win32FileSystem::OpenRead(std::string_view path) {
    HANDLE raw = OpenForReading(Utf8ToWide(path));
    if (raw == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32FileReader>(raw);
}

bool Win32FileSystem::WriteFile(std::string_view path, std::string_view bytes) {
    // Rewriting in place would leave a cut file after a full disk or a power cut (a cut manifest
    // keeps the program from starting at all).
    const std::string fresh = std::string(path) + ".new";
    const std::wstring wide = Utf8ToWide(fresh);
    ::DeleteFileW(wide.c_str());  // left over from a write that was cut off
    if (!WriteNewFile(fresh, bytes)) return false;
    if (MoveFileExW(wide.c_str(), Utf8ToWide(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(wide.c_str());
    return false;
}

bool Win32FileSystem::RemoveFile(std::string_view path) { return ::DeleteFileW(Utf8ToWide(path).c_str()) != 0; }

bool Win32FileSystem::WriteNewFile(std::string_view path, std::string_view bytes) {
    const std::wstring wide = Utf8ToWide(path);
    HANDLE raw = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return false;
    bool ok;
    {
        unique_handle file(raw);
        DWORD written = 0;
        ok = ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
             written == bytes.size() && FlushFileBuffers(file.get());
    }
    if (!ok) ::DeleteFileW(wide.c_str());
    return ok;
}

bool Win32FileSystem::HoldUntilExit(std::string_view path) {
    // Without FILE_SHARE_DELETE nobody can delete it while it is open; the system closes the
    // handle when the process ends, however it ends, and the file goes with it.
    HANDLE raw = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return false;
    held_.emplace_back(raw);
    return true;
}

bool Win32FileSystem::RenameFile(std::string_view from, std::string_view to) {
    // Without MOVEFILE_REPLACE_EXISTING an existing target fails; write-through makes the
    // rename reach the disk before the call returns.
    return MoveFileExW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}
