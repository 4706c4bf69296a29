#pragma once

#include <string>
#include <string_view>

// Turns the UTF-8 sequences of the 128 characters that Windows-1252 shows in its upper half
// (0x80-0xFF, the five unassigned positions included as U+0081, U+008D, U+008F, U+0090,
// U+009D) into their single Windows-1252 bytes. Every other byte, including the sequences of
// characters that Windows-1252 lacks and broken sequences, stays as it is, so the result is
// never longer than the text.
std::string UTF8toWIN(std::string_view text);

// The text as UTF-8 for display. Every byte is its Windows-1252 character (the five unassigned
// ones become U+0081, U+008D, U+008F, U+0090, U+009D), except that a complete UTF-8 sequence
// of a character Windows-1252 lacks, which UTF8toWIN left in the text, shows as that character
// ("\xC5\x81" is "Ł", not "Å" and a control). UTF8toWIN of the result gives the text back.
std::string WINtoUTF8(std::string_view text);

// The longest start of the text of at most `limit` bytes that does not split such a sequence.
std::size_t WinTextCut(std::string_view text, std::size_t limit);
