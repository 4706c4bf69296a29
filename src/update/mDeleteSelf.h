#pragma once
#include <string>
#include <string_view>

#include "platform/Ports.h"

// The command script written beside `file` (its path with ".bat"): it waits for `file` to be
// deletable, ending the process of that image name when `endProcess` is set, deletes it, starts
// `program` and deletes itself. Lines end in CR LF except the last.
//
// cmd.exe reads a script in the console's code page, so paths that are not ASCII are written
// relative to the script's folder, in which the script runs; what is then still not ASCII is
// written in UTF-8, and the script is run with that code page.
std::string DeleteSelfScript(std::string_view file, std::string_view program, std::string_view extra,
                             bool endProcess);

// Writes the script and starts it hidden, without waiting. A blank `file` does nothing.
void DeleteSelf(SystemPort& system, FileSystem& files, std::string_view file, std::string_view program,
                std::string_view extra, bool endProcess);

// At exit after an installed update: the script removes the old program once this process has
// ended and starts the new one at `program`.
void HandOverUpdate(Ports& ports, std::string_view program);
