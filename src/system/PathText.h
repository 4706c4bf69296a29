#pragma once
#include <string>
#include <string_view>

// The core keeps file paths as UTF-8, so that a folder such as "Łódź" survives; the texts it
// shows are Windows-1252. These two cross between them.

// Windows-1252 text as UTF-8 (a web address typed into the dialog, before it goes to the shell).
std::string Utf8FromWin(std::string_view cp1252);
// UTF-8 text (a path) for a message box: characters Windows-1252 lacks, and broken sequences,
// become "?".
std::string WinFromUtf8(std::string_view utf8);

bool IsAscii(std::string_view text);
