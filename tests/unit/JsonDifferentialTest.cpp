// The path queries and the array split against their plain byte-by-byte transcription in
// unit/reference, on the recorded replies and on random and damaged texts.

#include "service/mJSON.h"
#include "service/mUTF8toWIN.h"
#include "unit/reference/JsonBytewise.h"
#include "unit/reference/JsonReference.h"
#include "unit/reference/ReplyCorpus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<corpus::Reply>& Replies() {
  static const auto replies = corpus::LoadReplies(WG_FIXTURES_DIR);
  return replies;
}

// Both scanners of the production code against the reference. Returns false after the
// first difference so that one fault does not flood the log.
bool SameQuery(const std::string& json, const std::string& path) {
  const std::string expected = reference::GetJSONValue(json, path);
  const std::string actual = GetJSONValue(json, path);
  const std::string bytewise = GetJSONValueBytewise(json, path);
  EXPECT_EQ(actual, expected) << "path " << path << "\ntext " << json;
  EXPECT_EQ(bytewise, expected) << "byte by byte, path " << path << "\ntext " << json;
  return actual == expected && bytewise == expected;
}

bool SameSplit(const std::string& json) {
  const auto expected = reference::SplitJSONArray(json);
  const auto actual = SplitJSONArray(json);
  const auto bytewise = SplitJSONArrayBytewise(json);
  EXPECT_EQ(actual, expected) << "text " << json;
  EXPECT_EQ(bytewise, expected) << "byte by byte, text " << json;
  return actual == expected && bytewise == expected;
}

// The reply, the elements of its arrays and the values of its objects down to `depth`
// levels: the texts the program queries in turn.
void CollectTexts(const std::string& text, const std::vector<std::string>& names, int depth,
                  std::vector<std::string>& out) {
  out.push_back(text);
  if (depth == 0) return;
  if (text.find_first_not_of(" \t\r\n") != std::string::npos && text[text.find_first_not_of(" \t\r\n")] == '[') {
    const auto elements = SplitJSONArray(text);
    for (std::size_t i = 1; i < elements.size() && i <= 6; ++i) CollectTexts(elements[i], names, depth - 1, out);
    return;
  }
  for (const auto& name : names) {
    const std::string value = GetJSONValue(text, name);
    if (value.size() > 1 && (value.front() == '{' || value.front() == '[')) {
      CollectTexts(value, names, depth - 1, out);
    }
  }
}

TEST(JsonDifferentialTest, RecordedRepliesWithManyPaths) {
  corpus::Random rng(20260706);
  int queries = 0;
  for (const auto& reply : Replies()) {
    const std::string converted = UTF8toWIN(reply.bytes);
    const auto names = corpus::MemberNames(converted);
    std::vector<std::string> texts;
    CollectTexts(converted, names, 3, texts);
    for (const auto& text : texts) {
      ASSERT_TRUE(SameSplit(text)) << reply.file;
      // Every name once, then random paths of up to four levels.
      for (const auto& name : names) {
        if (text.size() < 4000) {
          ASSERT_TRUE(SameQuery(text, name)) << reply.file;
        }
      }
      for (int n = 0; n < 20; ++n) {
        ASSERT_TRUE(SameQuery(text, corpus::RandomPath(rng, names))) << reply.file;
        ++queries;
      }
    }
    ASSERT_TRUE(SameQuery(reply.bytes, corpus::RandomPath(rng, names))) << reply.file;
  }
  EXPECT_GT(queries, 2000);
}

TEST(JsonDifferentialTest, RandomTexts) {
  corpus::Random rng(7);
  const std::vector<std::string> names = {"a", "b", "A", "ab", "", "\\", " a", "a:b"};
  for (int n = 0; n < 30000; ++n) {
    const std::string text = corpus::RandomText(rng, 48);
    ASSERT_TRUE(SameQuery(text, corpus::RandomPath(rng, names)));
    ASSERT_TRUE(SameSplit(text));
  }
  // Longer texts cross several 64-byte blocks of the block scanner.
  for (int n = 0; n < 3000; ++n) {
    const std::string text = corpus::RandomText(rng, 400);
    ASSERT_TRUE(SameQuery(text, corpus::RandomPath(rng, names)));
    ASSERT_TRUE(SameSplit(text));
  }
}

TEST(JsonDifferentialTest, DamagedReplies) {
  corpus::Random rng(11);
  for (int n = 0; n < 400; ++n) {
    const auto& reply = rng.Pick(Replies());
    const std::string converted = UTF8toWIN(reply.bytes);
    const auto names = corpus::MemberNames(converted);
    const std::string damaged = corpus::Mutate(converted, rng);
    ASSERT_TRUE(SameSplit(damaged)) << reply.file;
    for (int k = 0; k < 4; ++k) ASSERT_TRUE(SameQuery(damaged, corpus::RandomPath(rng, names))) << reply.file;
  }
}

}  // namespace
