#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Sequential reader of one open file; closes the file when destroyed.
class FileReader {
public:
    virtual ~FileReader() = default;
    // Reads up to `size` bytes; returns the count read (0 at the end), or -1 on a read error.
    virtual std::int64_t Read(std::uint8_t* buffer, std::size_t size) = 0;
};

// File access. Paths are UTF-8 (see SystemPort).
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Length in bytes of a normal file (not hidden, not system, not a directory), or -1.
    virtual std::int64_t FileSize(std::string_view path) = 0;
    virtual std::unique_ptr<FileReader> OpenRead(std::string_view path) = 0;
    // Creates or replaces the file as a whole: the bytes are written beside it, flushed, and take
    // its place in one step. On any failure the old file stays as it was and nothing is left.
    virtual bool WriteFile(std::string_view path, std::string_view bytes) = 0;
    virtual bool RemoveFile(std::string_view path) = 0;
    // Creates the file, which must not exist yet, writes the bytes and flushes them to the disk
    // before it returns; false on any failure, and then no file is left behind.
    virtual bool WriteNewFile(std::string_view path, std::string_view bytes) = 0;
    // Renames a file within its folder (also a running program); fails when `to` exists.
    virtual bool RenameFile(std::string_view from, std::string_view to) = 0;
    // Creates the file and holds it open, undeletable, until this process has ended; then the
    // system removes it, also when the process is killed. False when that is not possible.
    virtual bool HoldUntilExit(std::string_view path) = 0;
};
