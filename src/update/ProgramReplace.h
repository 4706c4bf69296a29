#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class FileSystem;

// Replacing the running program: Windows lets a running program file be renamed but not deleted
// or rewritten, so the new file is written beside it and the two are swapped by renaming.

std::string NewProgramPath(std::string_view program);  // the download, before the swap
std::string OldProgramPath(std::string_view program);  // the old program, until the new one runs

// The PE machine type of this build; a program for another one would not start here.
#if defined(__x86_64__) || defined(_M_X64)
inline constexpr std::uint16_t kOwnMachine = 0x8664;
#elif defined(__aarch64__) || defined(_M_ARM64)
inline constexpr std::uint16_t kOwnMachine = 0xAA64;
#else
inline constexpr std::uint16_t kOwnMachine = 0x014C;
#endif

// The version text (as ProgVer writes it) of a whole Windows program for this machine: "MZ", the
// "PE" header, an executable image that is no DLL, every section's bytes within the data, and a
// version resource. Nothing for anything else: a cut-off download, a page, a DLL, a program for
// another processor.
std::optional<std::string> ProgramVersionText(std::span<const std::uint8_t> bytes);

// The same for a file on the disk.
std::optional<std::string> ProgramFileVersionText(FileSystem& files, std::string_view path);

// Writes `bytes` beside `program`, flushes and checks them on the disk, renames the program to
// OldProgramPath and the new file to `program`. Any failure before the last rename leaves the
// program file untouched; a failure of the last rename puts the old file back. True when the
// new program is in place.
bool ReplaceProgram(FileSystem& files, std::string_view program, std::span<const std::uint8_t> bytes);
