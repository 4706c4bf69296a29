#pragma once
#include <string>
#include <utility>
#include <variant>
#include <vector>

// What the console front end was asked for.
struct ConsoleOptions {
    bool json = false;
    bool help = false;
    std::string settingsFile;  // as given (a file name of the system); empty: the default file
    std::vector<std::pair<std::string, std::string>> overrides;  // Windows-1252 key and value
    bool search = false;
    std::string searchText;  // Windows-1252
    int choose = 0;          // the found place to store, from 1; 0: only list them
};

// The options, or the German text of a usage error. Options take their value as the next
// argument or after "=" ("--settings=FILE").
std::variant<ConsoleOptions, std::string> ParseCommandLine(const std::vector<std::string>& args);

// The usage text (Windows-1252).
std::string UsageText();
