#pragma once
#include <span>
#include <string>
#include <string_view>

class FileSystem;

// Replacing the running program: Windows lets a running program file be renamed but not deleted
// or rewritten, so the new file is written beside it and the two are swapped by renaming.

std::string NewProgramPath(std::string_view program);  // the download, before the swap
std::string OldProgramPath(std::string_view program);  // the old program, until the script removes it

// A whole Windows program: "MZ", the "PE" header it points to, and every section's bytes within
// the data, so that a cut-off download is not taken for a program.
bool IsWholeProgram(std::span<const std::uint8_t> bytes);

// Writes `bytes` beside `program`, flushes and checks them on the disk, renames the program to
// OldProgramPath and the new file to `program`. Any failure before the last rename leaves the
// program file untouched; a failure of the last rename puts the old file back. True when the
// new program is in place.
bool ReplaceProgram(FileSystem& files, std::string_view program, std::span<const std::uint8_t> bytes);
