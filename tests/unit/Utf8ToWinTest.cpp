#include "service/mUTF8toWIN.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>
#include <tuple>

namespace {

// glibc's converter as the independent authority on Windows-1252.
std::optional<std::string> Iconv(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(in.size() * 4 + 4, '\0');
  char* inPtr = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1)) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

TEST(Utf8ToWinTest, EveryUpperHalfByteComesBackFromItsUtf8) {
  ASSERT_TRUE(Iconv("UTF-8", "CP1252", "a").has_value()) << "iconv lacks CP1252";
  int assigned = 0;
  for (int b = 0x80; b <= 0xFF; ++b) {
    const std::string target(1, static_cast<char>(b));
    auto utf8 = Iconv("UTF-8", "CP1252", target);
    if (utf8) {
      ++assigned;
      // and back again, so both directions of the code page agree
      EXPECT_EQ(Iconv("CP1252", "UTF-8", *utf8), target) << std::hex << b;
    } else {
      // The five unassigned bytes stand for the C1 controls of the same number.
      EXPECT_TRUE(b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) << std::hex << b;
      utf8 = Iconv("UTF-8", "ISO-8859-1", target);
      ASSERT_TRUE(utf8.has_value());
    }
    EXPECT_EQ(UTF8toWIN(*utf8), target) << std::hex << b;
    EXPECT_EQ(WINtoUTF8(target), *utf8) << std::hex << b;  // the settings file writes with it
    EXPECT_EQ(UTF8toWIN("x" + *utf8 + "y" + *utf8), "x" + target + "y" + target) << std::hex << b;
  }
  EXPECT_EQ(assigned, 123);
}

TEST(Utf8ToWinTest, LeavesWhatTheCodePageLacksAndBrokenSequences) {
  // (Every character of the code page converts: see above.)
  const std::pair<std::string, std::string> rows[] = {
      {"plain ASCII {\"a\":1}\r\n", "plain ASCII {\"a\":1}\r\n"},
      {"", ""},
      // characters Windows-1252 lacks keep their bytes
      {"\xC5\x82", "\xC5\x82"},                     // Polish l with stroke
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},     // emoji, four bytes
      {"\xC2\x80", "\xC2\x80"},                     // U+0080 has no place in the code page
      // broken sequences stay as they are
      {"ab\xC3", "ab\xC3"},
      {"\xC3" "A", "\xC3" "A"},
      {"\xE2\x82", "\xE2\x82"},
      {"\xE2\x82" "A", "\xE2\x82" "A"},
      {"\xC3\xC3\xBC", "\xC3\xFC"},
      {"\xC0\xAF", "\xC0\xAF"},                     // overlong slash
      {"\xBC\xC3", "\xBC\xC3"},
      // a converted byte never joins its neighbour: "Ã„" stays two characters, "Ã" + 0x84 too
      {"\xC3\x83\xE2\x80\x9E", "\xC3\x84"},
      {"\xC3\x83\x84", "\xC3\x84"},
      {"\xC3\xE2\x82\xAC", "\xC3\x80"},
      {"\xC5\xE2\x80\x9C", "\xC5\x93"},
  };
  for (const auto& [in, out] : rows) EXPECT_EQ(UTF8toWIN(in), out) << testing::PrintToString(in);
}

TEST(Utf8ToWinTest, ShownTextDecodesOnlyCompleteSequencesOfWhatTheCodePageLacks) {
  const std::pair<std::string, std::string> rows[] = {
      {"\xC5\x81\xF3" "d\xC5\xBA", "\xC5\x81\xC3\xB3" "d\xC5\xBA"},          // "Łódź" as UTF8toWIN leaves it
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},                        // four bytes
      {"\xC3\xA9", "\xC3\x83\xC2\xA9"},                                // the code page has "é": "Ã©" stays
      {"\xE2\x82\xAC", "\xC3\xA2\xE2\x80\x9A\xC2\xAC"},                // and "€": "â‚¬" stays
      {"\xC5", "\xC3\x85"},                                             // cut short
      {"\xC0\x80", "\xC3\x80\xE2\x82\xAC"},                             // overlong
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},                 // a surrogate
      {"\x81" "a", "\xC2\x81" "a"},
  };
  for (const auto& [in, out] : rows) {
    EXPECT_EQ(WINtoUTF8(in), out) << testing::PrintToString(in);
    EXPECT_EQ(UTF8toWIN(WINtoUTF8(in)), in) << testing::PrintToString(in);
  }
  const std::tuple<std::string, std::size_t, std::size_t> cuts[] = {
      {"ab\xC5\x81", 3, 2}, {"ab\xC5\x81", 4, 4}, {"ab\xC3\xA9", 3, 3}, {"a\xF0\x9F\x98\x80", 3, 1},
      {"a\xF0\x9F\x98\x80" "b", 5, 5}, {"abc", 2, 2}};
  for (const auto& [text, limit, cut] : cuts) EXPECT_EQ(WinTextCut(text, limit), cut) << testing::PrintToString(text);
}

}  // namespace
