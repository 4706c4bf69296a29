#pragma once
#include <string>
#include <string_view>

// Texts taken from the service's replies on their way to the window thread. A reply may be
// 16 MiB; what a title line or a tooltip can show is a few hundred characters, so every text is
// cut to that before any further work on it.
inline constexpr std::size_t kShownTextLimit = 400;

// The text cut to kShownTextLimit (never inside a character).
std::string ShownText(std::string_view text);

// The title's error line for a place reply without an object that names an error, such as
// "Http-Error 503: Service Unavailable": "FEHLER:  " and the reply from its 12th character, each
// ":" shown as " -". Built in one pass over the cut text.
std::string LocationErrorLine(std::string_view reply);
