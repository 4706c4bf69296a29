#pragma once

// The recorded service replies and seeded ways to damage them, shared by the unit tests and
// the sanitizer run.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corpus {

struct Reply {
  std::string file;
  std::string bytes;  // as received: UTF-8
};

// A file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every *.json reply under fixturesDir/service, sorted by file name.
inline std::vector<Reply> LoadReplies(const std::filesystem::path& fixturesDir) {
  std::vector<Reply> replies;
  for (const auto& entry : std::filesystem::directory_iterator(fixturesDir / "service")) {
    if (entry.path().extension() != ".json") continue;
    replies.push_back({entry.path().filename().string(), ReadFile(entry.path())});
  }
  std::sort(replies.begin(), replies.end(), [](const Reply& a, const Reply& b) { return a.file < b.file; });
  return replies;
}

// Quoted words followed by a colon: the member names a text uses, for building query paths.
inline std::vector<std::string> MemberNames(const std::string& text) {
  std::set<std::string> names;
  std::size_t i = 0;
  while ((i = text.find('"', i)) != std::string::npos) {
    const std::size_t close = text.find('"', i + 1);
    if (close == std::string::npos) break;
    std::size_t after = close + 1;
    while (after < text.size() && (text[after] == ' ' || text[after] == '\t')) ++after;
    if (after < text.size() && text[after] == ':') names.insert(text.substr(i + 1, close - i - 1));
    i = close + 1;
  }
  return {names.begin(), names.end()};
}

// Small deterministic generator (splitmix64), the same sequence on every platform.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(Next() % n); }
  bool OneIn(std::size_t n) { return Below(n) == 0; }
  template <class T>
  const T& Pick(const std::vector<T>& items) { return items[Below(items.size())]; }

 private:
  std::uint64_t state_;
};

// Bytes that steer the scanners, the lead bytes of the converted UTF-8 sequences, and filler.
inline constexpr std::string_view kSteering = "{}[]\",:\\ \t\n/";
inline constexpr std::string_view kFiller = "abAB01.-eE";
inline constexpr std::string_view kHigh = "\xC2\xC3\xC5\xC6\xCB\xE2\x80\x82\x84\x9E\xA0\xAC\xBC\xFF";

inline char RandomByte(Random& rng) {
  switch (rng.Below(4)) {
    case 0: return kSteering[rng.Below(kSteering.size())];
    case 1: return kFiller[rng.Below(kFiller.size())];
    case 2: return kHigh[rng.Below(kHigh.size())];
    default: return static_cast<char>(rng.Below(256));
  }
}

// Short text made mostly of the bytes the scanners react to.
inline std::string RandomText(Random& rng, std::size_t maxLength) {
  std::string text(rng.Below(maxLength + 1), '\0');
  for (char& c : text) c = RandomByte(rng);
  return text;
}

// One to four damages: flipped bytes, a cut end or a removed stretch, inserted quotes,
// brackets, braces, backslashes or commas, a doubled stretch.
inline std::string Mutate(std::string text, Random& rng) {
  const std::size_t count = 1 + rng.Below(4);
  for (std::size_t n = 0; n < count; ++n) {
    const std::size_t at = rng.Below(text.size() + 1);
    switch (rng.Below(6)) {
      case 0:
        if (at < text.size()) text[at] = static_cast<char>(text[at] ^ (1 << rng.Below(8)));
        break;
      case 1:
        if (at < text.size()) text[at] = RandomByte(rng);
        break;
      case 2:
        text.resize(at);
        break;
      case 3:
        text.erase(at, rng.Below(64));
        break;
      case 4:
        text.insert(at, 1 + rng.Below(3), kSteering[rng.Below(8)]);  // {}[]",:\ .
        break;
      default:
        text.insert(at, text.substr(at, rng.Below(64)));
        break;
    }
  }
  return text;
}

// A query path over the given names: one to four levels, now and then in other case, with a
// leading, doubled or trailing slash, or a name that occurs nowhere.
inline std::string RandomPath(Random& rng, const std::vector<std::string>& names) {
  std::string path;
  if (rng.OneIn(8)) path += '/';
  const std::size_t levels = 1 + rng.Below(4);
  for (std::size_t level = 0; level < levels; ++level) {
    if (level > 0) path += rng.OneIn(10) ? "//" : "/";
    std::string name = names.empty() || rng.OneIn(10) ? std::string("x") : rng.Pick(names);
    if (rng.OneIn(4)) {
      for (char& c : name) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
      }
    }
    path += name;
  }
  if (rng.OneIn(10)) path += '/';
  return path;
}

}  // namespace corpus
