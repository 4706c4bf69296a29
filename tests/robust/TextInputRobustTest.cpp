// A million seeded inputs for the functions that read service replies: random texts, and
// the recorded replies cut, flipped and padded with quotes, brackets and backslashes. Run
// under AddressSanitizer and UndefinedBehaviorSanitizer, any stray read or overflow ends
// the run; the results are also held to what must hold for any input.

#include "service/mJSON.h"
#include "service/mUTF8toWIN.h"
#include "unit/reference/ReplyCorpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// One million inputs over the two seeded tests; short random texts are cheaper than damaged
// replies, so they get the larger share.
constexpr int kRandomInputs = 600000;
constexpr int kDamagedInputs = 400000;

const std::vector<corpus::Reply>& Replies() {
  static const auto replies = corpus::LoadReplies(WG_FIXTURES_DIR);
  return replies;
}

const std::vector<std::string>& ReplyNames() {
  static const auto names = [] {
    std::vector<std::string> all;
    for (const auto& reply : Replies()) {
      for (auto& name : corpus::MemberNames(reply.bytes)) all.push_back(std::move(name));
    }
    return all;
  }();
  return names;
}

// A stretch of a recorded reply (the whole of it now and then), then damaged.
std::string DamagedSlice(corpus::Random& rng) {
  const std::string& source = Replies()[rng.Below(Replies().size())].bytes;
  if (rng.OneIn(400)) return corpus::Mutate(source, rng);
  return corpus::Mutate(source.substr(rng.Below(source.size()), rng.Below(1200)), rng);
}

// Whether both texts hold the same bytes below 0x80 in the same order.
bool SameAscii(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  for (;;) {
    while (i < a.size() && static_cast<unsigned char>(a[i]) >= 0x80) ++i;
    while (j < b.size() && static_cast<unsigned char>(b[j]) >= 0x80) ++j;
    if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
    if (a[i++] != b[j++]) return false;
  }
}

// Output bounded by the input: a value is never longer than the text, the elements never hold
// more than it, and there are no more of them than commas allow.
void CheckJson(const std::string& text, const std::string& path) {
  const std::string value = GetJSONValue(text, path);
  ASSERT_LE(value.size(), text.size());
  const auto elements = SplitJSONArray(text);
  ASSERT_GE(elements.size(), 2u);
  ASSERT_TRUE(elements[0].empty());
  std::size_t total = 0;
  for (const auto& e : elements) total += e.size();
  ASSERT_LE(total, text.size());
  ASSERT_LE(elements.size() - 1, static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')) + 1);
}

void CheckUtf8(const std::string& text) {
  const std::string converted = UTF8toWIN(text);
  ASSERT_LE(converted.size(), text.size());
  // Only sequences of upper-half bytes are replaced, and only by upper-half bytes.
  ASSERT_TRUE(SameAscii(converted, text));
  // The display text gives the text back; a cut never passes its limit.
  ASSERT_EQ(UTF8toWIN(WINtoUTF8(converted)), converted) << testing::PrintToString(text);
  ASSERT_LE(WinTextCut(converted, text.size() / 2), text.size() / 2);
}

// The same random text as a reply and as bytes to convert.
TEST(TextInputRobustTest, RandomTexts) {
  corpus::Random rng(0x5EED0001);
  const std::vector<std::string> names = {"a", "b", "A", "ab", "", "\\", "a:b"};
  for (int n = 0; n < kRandomInputs; ++n) {
    const std::string text = corpus::RandomText(rng, 256);
    ASSERT_NO_FATAL_FAILURE(CheckJson(text, corpus::RandomPath(rng, names)));
    ASSERT_NO_FATAL_FAILURE(CheckUtf8(text));
  }
}

// Damaged raw replies, converted and then queried as the program does with a reply; the broken
// sequences the conversion leaves in place stand in for damage to an already converted text.
TEST(TextInputRobustTest, DamagedRepliesThenQueried) {
  corpus::Random rng(0x5EED0004);
  for (int n = 0; n < kDamagedInputs; ++n) {
    const std::string raw = DamagedSlice(rng);
    ASSERT_NO_FATAL_FAILURE(CheckUtf8(raw));
    ASSERT_NO_FATAL_FAILURE(CheckJson(UTF8toWIN(raw), corpus::RandomPath(rng, ReplyNames())));
  }
}

// Extreme shapes: deep nesting either way, endless strings and escapes, long paths.
TEST(JsonRobustTest, ExtremeShapes) {
  const std::string deep = std::string(200000, '{') + "\"a\":1" + std::string(200000, '}');
  const std::vector<std::string> texts = {
      deep,
      std::string(200000, '['),
      std::string(200000, ']') + "{\"a\":2}",
      std::string(200000, '}') + std::string(200000, '{'),
      "{\"a\":\"" + std::string(200000, '\\'),
      std::string(200001, '"'),
      "{\"a\":" + std::string(200000, ','),
      std::string(200000, '\xE2'),
  };
  std::string longPath;
  for (int i = 0; i < 5000; ++i) longPath += "a/";
  for (const auto& text : texts) {
    for (const std::string& path : {std::string("a"), longPath, std::string("//"), std::string()}) {
      ASSERT_NO_FATAL_FAILURE(CheckJson(text, path));
    }
    ASSERT_NO_FATAL_FAILURE(CheckUtf8(text));
  }
}

}  // namespace
