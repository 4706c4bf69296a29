#pragma once
#include <string>
#include <string_view>

// Joins texts into one string. Used instead of chains of "literal" + std::string, for which GCC 12
// reports a false -Wrestrict at -O3.
template <typename... Parts>
std::string Cat(const Parts&... parts) {
    std::string out;
    out.reserve((std::string_view(parts).size() + ... + 0));
    (out.append(std::string_view(parts)), ...);
    return out;
}
