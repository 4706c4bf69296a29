#include "service/mUTF8toWIN.h"

#include <array>
#include <cstddef>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define WG_UTF8_SSE2 1
#endif

namespace {

// UTF-8 of the character that Windows-1252 assigns to each byte 0x80 + row.
constexpr std::array<std::string_view, 128> kRows = {
    // 0x80
    "\xE2\x82\xAC", "\xC2\x81", "\xE2\x80\x9A", "\xC6\x92",
    "\xE2\x80\x9E", "\xE2\x80\xA6", "\xE2\x80\xA0", "\xE2\x80\xA1",
    "\xCB\x86", "\xE2\x80\xB0", "\xC5\xA0", "\xE2\x80\xB9",
    "\xC5\x92", "\xC2\x8D", "\xC5\xBD", "\xC2\x8F",
    // 0x90
    "\xC2\x90", "\xE2\x80\x98", "\xE2\x80\x99", "\xE2\x80\x9C",
    "\xE2\x80\x9D", "\xE2\x80\xA2", "\xE2\x80\x93", "\xE2\x80\x94",
    "\xCB\x9C", "\xE2\x84\xA2", "\xC5\xA1", "\xE2\x80\xBA",
    "\xC5\x93", "\xC2\x9D", "\xC5\xBE", "\xC5\xB8",
    // 0xA0
    "\xC2\xA0", "\xC2\xA1", "\xC2\xA2", "\xC2\xA3", "\xC2\xA4", "\xC2\xA5", "\xC2\xA6", "\xC2\xA7",
    "\xC2\xA8", "\xC2\xA9", "\xC2\xAA", "\xC2\xAB", "\xC2\xAC", "\xC2\xAD", "\xC2\xAE", "\xC2\xAF",
    // 0xB0
    "\xC2\xB0", "\xC2\xB1", "\xC2\xB2", "\xC2\xB3", "\xC2\xB4", "\xC2\xB5", "\xC2\xB6", "\xC2\xB7",
    "\xC2\xB8", "\xC2\xB9", "\xC2\xBA", "\xC2\xBB", "\xC2\xBC", "\xC2\xBD", "\xC2\xBE", "\xC2\xBF",
    // 0xC0
    "\xC3\x80", "\xC3\x81", "\xC3\x82", "\xC3\x83", "\xC3\x84", "\xC3\x85", "\xC3\x86", "\xC3\x87",
    "\xC3\x88", "\xC3\x89", "\xC3\x8A", "\xC3\x8B", "\xC3\x8C", "\xC3\x8D", "\xC3\x8E", "\xC3\x8F",
    // 0xD0
    "\xC3\x90", "\xC3\x91", "\xC3\x92", "\xC3\x93", "\xC3\x94", "\xC3\x95", "\xC3\x96", "\xC3\x97",
    "\xC3\x98", "\xC3\x99", "\xC3\x9A", "\xC3\x9B", "\xC3\x9C", "\xC3\x9D", "\xC3\x9E", "\xC3\x9F",
    // 0xE0
    "\xC3\xA0", "\xC3\xA1", "\xC3\xA2", "\xC3\xA3", "\xC3\xA4", "\xC3\xA5", "\xC3\xA6", "\xC3\xA7",
    "\xC3\xA8", "\xC3\xA9", "\xC3\xAA", "\xC3\xAB", "\xC3\xAC", "\xC3\xAD", "\xC3\xAE", "\xC3\xAF",
    // 0xF0
    "\xC3\xB0", "\xC3\xB1", "\xC3\xB2", "\xC3\xB3", "\xC3\xB4", "\xC3\xB5", "\xC3\xB6", "\xC3\xB7",
    "\xC3\xB8", "\xC3\xB9", "\xC3\xBA", "\xC3\xBB", "\xC3\xBC", "\xC3\xBD", "\xC3\xBE", "\xC3\xBF",
};

constexpr unsigned char Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// The rows as lookups: target byte by lead and continuation bytes (0 = no row). The two-byte
// rows all lead with 0xC2-0xCB, the three-byte rows with 0xE2.
struct Lookup {
  std::array<bool, 256> lead{};
  std::array<std::array<unsigned char, 64>, 16> twoByte{};     // [lead - 0xC0][second - 0x80]
  std::array<std::array<unsigned char, 64>, 64> threeByte{};   // [second - 0x80][third - 0x80]
};

constexpr Lookup MakeLookup() {
  Lookup lookup;
  for (std::size_t row = 0; row < kRows.size(); ++row) {
    const std::string_view seq = kRows[row];
    const auto target = static_cast<unsigned char>(0x80 + row);
    lookup.lead[Byte(seq, 0)] = true;
    if (seq.size() == 2) {
      lookup.twoByte[Byte(seq, 0) - 0xC0][Byte(seq, 1) - 0x80] = target;
    } else {
      lookup.threeByte[Byte(seq, 1) - 0x80][Byte(seq, 2) - 0x80] = target;
    }
  }
  return lookup;
}
constexpr Lookup kLookup = MakeLookup();
static_assert(kLookup.lead[0xC2] && kLookup.lead[0xC3] && kLookup.lead[0xE2] && !kLookup.lead[0xC4]);

constexpr bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

// One pass from left to right. Replacing row after row over the whole text would let a
// converted byte join its neighbour into a new sequence ("\xC3\x83" + "\xE2\x80\x9E", that is
// "Ã„", would end up as "Ä"); here every byte is looked at once, in the text as it came.
std::string UTF8toWIN(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t end = text.size();
  std::string out;
  out.reserve(end);
  std::size_t i = 0;
  while (i < end) {
    std::size_t runEnd = i;
#ifdef WG_UTF8_SSE2
    // Replies are nearly all ASCII: sixteen bytes without a high bit are copied unseen.
    while (end - runEnd >= 16 &&
           _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + runEnd))) == 0) {
      runEnd += 16;
    }
#endif
    while (runEnd < end && !kLookup.lead[p[runEnd]]) ++runEnd;
    out.append(text.data() + i, runEnd - i);
    if (runEnd == end) break;
    i = runEnd;
    const unsigned char lead = p[i];
    unsigned char target = 0;
    std::size_t length = 0;
    if (lead == 0xE2) {
      if (end - i >= 3 && IsContinuation(p[i + 1]) && IsContinuation(p[i + 2])) {
        target = kLookup.threeByte[p[i + 1] - 0x80][p[i + 2] - 0x80];
        length = 3;
      }
    } else if (end - i >= 2 && IsContinuation(p[i + 1])) {
      target = kLookup.twoByte[lead - 0xC0][p[i + 1] - 0x80];
      length = 2;
    }
    if (target != 0) {
      out.push_back(static_cast<char>(target));
      i += length;
    } else {
      out.push_back(static_cast<char>(lead));
      ++i;
    }
  }
  return out;
}

namespace {

// Length of the complete UTF-8 sequence at `i` when it is one of a character that Windows-1252
// lacks (no overlong form, no surrogate, nothing past U+10FFFF), else 0.
std::size_t ForeignSequence(const unsigned char* p, std::size_t i, std::size_t end) {
  const unsigned char lead = p[i];
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (end - i < length || p[i + 1] < low || p[i + 1] > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (!IsContinuation(p[i + k])) return 0;
  if (length == 2 && lead < 0xD0 && kLookup.twoByte[lead - 0xC0][p[i + 1] - 0x80] != 0) return 0;
  if (length == 3 && lead == 0xE2 && kLookup.threeByte[p[i + 1] - 0x80][p[i + 2] - 0x80] != 0) return 0;
  return length;
}

}  // namespace

std::string WINtoUTF8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size();) {
    if (p[i] < 0x80) {
      out.push_back(text[i++]);
    } else if (const std::size_t n = ForeignSequence(p, i, text.size())) {
      out.append(text.substr(i, n));
      i += n;
    } else {
      out.append(kRows[p[i++] - 0x80]);
    }
  }
  return out;
}

std::size_t WinTextCut(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  // A lead byte is never part of another sequence: the nearest one before the cut decides.
  for (std::size_t back = 1; back <= 3 && back <= limit; ++back) {
    const std::size_t start = limit - back;
    if (IsContinuation(p[start])) continue;
    const std::size_t n = ForeignSequence(p, start, text.size());
    return n != 0 && start + n > limit ? start : limit;
  }
  return limit;
}
