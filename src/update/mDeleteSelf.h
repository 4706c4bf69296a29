#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Ports.h"

// The command script that finishes an installed update once this process has ended, in the order
// wait, end the process, delete, start, delete the script. It waits for a lock file this process
// holds until it is gone, and ends the process by its id after 10 s; after 30 s it gives up, puts
// the old program back and starts it. The new program is started without waiting (START), and the
// old one is kept as ".old" until the new one has stored its "Version"; if it has not within 60 s,
// or has ended before, the old program goes back and is started.
//
// Every file is named relative to the script's folder, in which the script runs, so no folder
// name ("%", "&", "^", "!", "Łódź") can reach cmd's parser; a "%" in a file name is doubled.
struct HandOver {
    std::string program;      // the program's file name; the new program since the swap
    std::uint32_t processId;  // the process that ends
    std::string lock;         // the file that process holds open until it ends
    std::string version;      // what the new program stores under "Version" when it runs (UTF-8)
    std::string script;       // the script's own file name
};

// The script's text; lines end in CR LF except the last.
std::string DeleteSelfScript(const HandOver& handOver);

// At exit after an installed update: writes a script of a name of its own beside `program`, holds
// its lock file and starts it hidden, without waiting.
void HandOverUpdate(Ports& ports, std::string_view program);
