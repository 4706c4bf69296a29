#pragma once

// Plain converter to check UTF8toWIN against: the Windows-1252 upper half as Unicode code
// points (from the code page chart), each encoded to UTF-8 here, and at every position of the
// text the rows tried one by one.

#include <string>
#include <vector>

namespace reference {

// Code point of Windows-1252 byte 0x80 + i for i < 32; the bytes 0xA0-0xFF map to themselves.
// The five unassigned bytes stand for the C1 control with the same number.
inline constexpr char32_t kCp1252Low[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

inline char32_t Cp1252CodePoint(unsigned char b) {
  return b < 0xA0 ? kCp1252Low[b - 0x80] : static_cast<char32_t>(b);
}

inline std::string EncodeUtf8(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

inline std::string UTF8toWIN(const std::string& text) {
  static const auto sequences = [] {
    std::vector<std::string> rows;
    for (int b = 0x80; b <= 0xFF; ++b) rows.push_back(EncodeUtf8(Cp1252CodePoint(static_cast<unsigned char>(b))));
    return rows;
  }();
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    bool replaced = false;
    for (int b = 0x80; b <= 0xFF && !replaced; ++b) {
      const std::string& seq = sequences[b - 0x80];
      if (text.compare(i, seq.size(), seq) == 0) {
        out += static_cast<char>(b);
        i += seq.size();
        replaced = true;
      }
    }
    if (!replaced) {
      out += text[i];
      ++i;
    }
  }
  return out;
}

}  // namespace reference
