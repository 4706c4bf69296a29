#include "service/mJSON.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace {

using Index = std::size_t;
constexpr Index kNone = std::string_view::npos;

// Member names are Windows-1252 text, so case folding covers its accented capitals too.
constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = static_cast<unsigned char>(b);
  for (int b = 'A'; b <= 'Z'; ++b) table[b] = static_cast<unsigned char>(b + 0x20);
  for (int b = 0xC0; b <= 0xDE; ++b) {
    if (b != 0xD7) table[b] = static_cast<unsigned char>(b + 0x20);  // 0xD7 is the multiplication sign
  }
  table[0x8A] = 0x9A;  // S caron
  table[0x8C] = 0x9C;  // OE
  table[0x8E] = 0x9E;  // Z caron
  table[0x9F] = 0xFF;  // Y diaeresis
  return table;
}
constexpr auto kFold = MakeFoldTable();

// Where a scan stands. Strings are tracked at every depth, so brackets, braces, colons and
// commas inside them are plain text.
struct Scan {
  std::ptrdiff_t brackets = 0;
  std::ptrdiff_t braces = 0;
  bool inString = false;

  // Takes a byte outside a string, or the quote that closes one (string bodies, with their
  // escapes, are passed over by the functions below); true for a quote.
  bool Step(unsigned char c) {
    switch (c) {
      case '"': inString = !inString; return true;
      case '[': ++brackets; break;
      case ']': --brackets; break;
      case '{': ++braces; break;
      case '}': --braces; break;
      default: break;
    }
    return false;
  }
};

// The level whose members or elements are read: an object's is one brace and no bracket deep,
// an array's at most one bracket and no brace deep.
enum class Level { Object, Array };

template <Level L>
bool Own(const Scan& s) {
  if constexpr (L == Level::Object) {
    return s.braces == 1 && s.brackets == 0;
  } else {
    return s.brackets <= 1 && s.braces <= 0;
  }
}

// Index of the quote that closes the string whose body starts at i, or end. The byte after a
// backslash stays in the string, so \" does not close it.
Index StringEnd(const unsigned char* p, Index i, Index end) {
  while (i < end && p[i] != '"') i += p[i] == '\\' ? 2 : 1;
  return i < end ? i : end;
}

// Bytes of a nested stretch that need a second look: brackets and braces (outside strings),
// backslashes (inside them) and line breaks (indentation follows).
constexpr std::array<bool, 256> MakeSecondLook() {
  std::array<bool, 256> set{};
  for (unsigned char c : {'[', ']', '{', '}', '\\', '\n'}) set[c] = true;
  return set;
}
constexpr auto kSecondLook = MakeSecondLook();

// Passes over a stretch away from the own level (a nested value, or text before the object or
// array opens), where only the string flag and the depths change. It begins and ends outside
// a string: it stops before the bracket or brace after which the own level is back.
template <Level L>
Index SkipNested(const unsigned char* p, Index i, Index end, Scan& st) {
  Scan s = st;  // a copy the compiler keeps in registers: the text's bytes may alias `st`
  bool inString = false;
  for (; i < end; ++i) {
    const unsigned char c = p[i];
    inString = inString != (c == '"');  // without a branch: quotes are frequent and irregular
    if (!kSecondLook[c]) continue;
    if (inString) {
      i += c == '\\';  // the escaped byte stays in the string
    } else if (c == '\n') {  // pretty-printed replies are mostly indentation: eight blanks at a time
      while (end - i > 8 && std::memcmp(p + i + 1, "        ", 8) == 0) i += 8;
    } else {
      Scan next = s;
      next.Step(c);
      if (Own<L>(next)) break;
      s = next;
    }
  }
  st = s;
  return i < end ? i : end;
}

// End of the run from i on that the own level's rules leave alone: a nested stretch, or the
// body of a string at the own level. The byte there is the caller's to take.
template <Level L>
Index PlainRunEnd(const unsigned char* p, Index i, Index end, Scan& st) {
  if (!Own<L>(st)) return SkipNested<L>(p, i, end, st);
  if (st.inString) return StringEnd(p, i, end);
  return i;
}

// In the object that opens at or after `from`, finds the first member named `head` (case
// folded) and returns where its value begins, just after the ":"; kNone when there is none.
// A member's name is what its own level holds up to the ":", without the quotes and white
// space; its value runs to the next ",". The search ends where the object closes.
Index FindMember(std::string_view text, Index from, std::string_view head) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const Index end = text.size();
  Scan st;
  bool inValue = false;
  Index nameLength = 0;
  bool nameMatches = true;  // the name read so far is the start of `head`
  auto name = [&](Index first, Index last) {
    for (Index k = first; k < last && nameMatches; ++k, ++nameLength) {
      nameMatches = nameLength < head.size() && kFold[p[k]] == kFold[static_cast<unsigned char>(head[nameLength])];
    }
  };

  for (Index i = from; i < end; ++i) {
    if (p[i] < 33 && !st.inString && Own<Level::Object>(st)) continue;  // white space between members
    const Index runEnd = PlainRunEnd<Level::Object>(p, i, end, st);
    if (!inValue && st.braces >= 1) name(i, runEnd);
    if (runEnd == end) break;
    i = runEnd;

    // One byte by the own level's rules: outside a string, or the quote that closes one.
    const unsigned char c = p[i];
    const bool quote = st.Step(c);
    if (!Own<Level::Object>(st)) {
      if (st.braces < 1) return kNone;  // the object closes
      if (!inValue) name(i, i + 1);     // a nested value or name opens
    } else if (c == ':' && !inValue) {
      if (nameMatches && nameLength == head.size()) return i + 1;
      inValue = true;
    } else if (c == ',') {
      inValue = false;
      nameLength = 0;
      nameMatches = true;
    } else if (!inValue && !quote && c >= 33 && c != '{') {
      name(i, i + 1);
    }
  }
  return kNone;
}

// The text of the value that begins at `from` (just after a ":") and runs to the next "," of
// its object or to the object's end: white space around it and a string's quotes are dropped,
// nested values keep their source text.
std::string ReadValue(std::string_view text, Index from) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const Index end = text.size();
  Scan st;
  st.braces = 1;
  std::string value;
  for (Index i = from; i < end; ++i) {
    const Index runEnd = PlainRunEnd<Level::Object>(p, i, end, st);
    value.append(text.data() + i, runEnd - i);
    if (runEnd == end) break;
    i = runEnd;

    const unsigned char c = p[i];
    const bool quote = st.Step(c);
    if (!Own<Level::Object>(st)) {
      if (st.braces < 1) break;  // the object closes
      value += static_cast<char>(c);
    } else if (c == ',') {
      break;
    } else if (!quote && c >= 33 && c != ':') {
      value += static_cast<char>(c);
    }
  }
  return value;
}

}  // namespace

std::string GetJSONValue(std::string_view json, std::string_view path) {
  Index from = 0;  // where the object searched at this level opens (the text's start at first)
  for (;;) {
    if (!path.empty() && path.front() == '/') path.remove_prefix(1);
    const Index slash = path.find('/');
    const Index value = FindMember(json, from, path.substr(0, slash));
    if (value == kNone) return {};
    if (slash == kNone || slash + 1 == path.size()) return ReadValue(json, value);
    path.remove_prefix(slash + 1);

    // Only an object has members; the rest of the path is looked for inside it, in place.
    from = value;
    while (from < json.size() && static_cast<unsigned char>(json[from]) < 33) ++from;
    if (from == json.size() || json[from] != '{') return {};
  }
}

std::vector<std::string> SplitJSONArray(std::string_view json) {
  std::vector<std::string> elements(1);  // position 0 stays empty: callers count from 1
  const auto* p = reinterpret_cast<const unsigned char*>(json.data());
  const Index end = json.size();
  std::string element;
  Scan st;
  for (Index i = 0; i < end; ++i) {
    // Nested values and the bodies of the array's strings are kept whole.
    const Index runEnd = PlainRunEnd<Level::Array>(p, i, end, st);
    element.append(json.data() + i, runEnd - i);
    if (runEnd == end) break;
    i = runEnd;

    // One byte by the array's own rules: outside a string, or the quote that closes one.
    const unsigned char c = p[i];
    if (st.Step(c)) continue;  // the quotes of the array's strings are dropped
    if (!Own<Level::Array>(st)) {
      element += static_cast<char>(c);  // a nested value opens
    } else if (c == ',') {
      elements.push_back(std::move(element));
      element.clear();
    } else if (c != '[' && !(c == ']' && st.brackets == 0)) {  // nor are its own brackets
      element += static_cast<char>(c);
    }
  }
  elements.push_back(std::move(element));
  return elements;
}
