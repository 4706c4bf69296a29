#pragma once

#include <string>
#include <string_view>

// Turns the UTF-8 sequences of the 128 characters that Windows-1252 shows in its upper half
// (0x80-0xFF, the five unassigned positions included as U+0081, U+008D, U+008F, U+0090,
// U+009D) into their single Windows-1252 bytes. Every other byte, including the sequences of
// characters that Windows-1252 lacks and broken sequences, stays as it is, so the result is
// never longer than the text.
std::string UTF8toWIN(std::string_view text);
