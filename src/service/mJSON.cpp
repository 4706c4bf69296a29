#include "service/mJSON.h"

#include <array>
#include <cstddef>
#include <utility>

namespace {

using Index = std::size_t;

// Member names are Windows-1252 text, so case folding covers its accented capitals too.
constexpr std::array<unsigned char, 256> MakeLowerTable() {
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
constexpr auto kLower = MakeLowerTable();

constexpr std::array<bool, 256> MakeByteSet(std::string_view bytes) {
  std::array<bool, 256> set{};
  for (char c : bytes) set[static_cast<unsigned char>(c)] = true;
  return set;
}
// Bytes that can change the scan state outside a string, and inside one.
constexpr auto kStructural = MakeByteSet("[]{}\"");
constexpr auto kStringSpecial = MakeByteSet("\"\\");

inline const unsigned char* Bytes(std::string_view s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

// Strings are tracked at every depth so that brackets, braces and commas inside them are
// plain text, and a quote after a backslash stays inside its string.
struct ScanState {
  std::ptrdiff_t brackets = 0;
  std::ptrdiff_t braces = 0;
  bool inString = false;
  bool escaped = false;
};

// Applies byte c to the string flag and the depths; true when c opens or closes a string.
inline bool Advance(ScanState& st, unsigned char c) {
  if (st.inString) {
    if (st.escaped) {
      st.escaped = false;
    } else if (c == '\\') {
      st.escaped = true;
    } else if (c == '"') {
      st.inString = false;
      return true;
    }
    return false;
  }
  switch (c) {
    case '"': st.inString = true; return true;
    case '[': ++st.brackets; break;
    case ']': --st.brackets; break;
    case '{': ++st.braces; break;
    case '}': --st.braces; break;
    default: break;
  }
  return false;
}

// End of the run from `from` on in which no byte changes the state. Only valid where every
// such byte is handled alike (inside a string, or away from the level being cut).
inline Index SkipQuiet(const unsigned char* p, Index from, Index end, const ScanState& st) {
  if (st.escaped) return from;
  const auto& special = st.inString ? kStringSpecial : kStructural;
  while (from < end && !special[p[from]]) ++from;
  return from;
}

struct ObjectState : ScanState {
  bool inValue = false;  // false while reading a member name, true while reading its value
};

// Walks the members of the object that `text` holds, from `from` to `end`, and hands every
// kept byte run to the sink as name or value text. At the object's own level, white space
// outside strings, the string quotes, the ":" and the opening brace are dropped; deeper
// down every byte is kept, so nested values keep their source text. A "," at the own level
// ends a member: the sink may stop the scan there (the comma's index is returned).
template <class Sink>
Index ScanObject(std::string_view text, Index from, Index end, ObjectState& st, Sink& sink) {
  const unsigned char* p = Bytes(text);
  Index i = from;
  while (i < end) {
    if (st.inString || st.braces != 1 || st.brackets != 0) {
      const Index quietEnd = SkipQuiet(p, i, end, st);
      if (quietEnd > i) {
        if (st.braces >= 1) sink.Append(st.inValue, i, quietEnd);
        i = quietEnd;
        continue;
      }
    }
    const unsigned char c = p[i];
    const bool quote = Advance(st, c);
    if (st.braces == 1 && st.brackets == 0) {
      if (quote) {
        ++i;
        continue;
      }
      if (!st.inString) {
        if (c == ':') {
          st.inValue = !st.inValue;
          ++i;
          continue;
        }
        if (c < 33 || c == '{') {
          ++i;
          continue;
        }
        if (c == ',') {
          st.inValue = false;
          if (sink.EndMember(i, st)) return i;
          ++i;
          continue;
        }
      }
    }
    // Text before the object's opening brace and after its closing brace is ignored.
    if (st.braces >= 1) sink.Append(st.inValue, i, i + 1);
    ++i;
  }
  return end;
}

// Compares each member's name with the wanted one as it is read and notes where its value
// lies, so nothing is copied until the member is found.
class MemberFinder {
 public:
  MemberFinder(std::string_view text, std::string_view head) : text_(text), head_(head) {}

  void Append(bool toValue, Index from, Index to) {
    if (toValue) {
      if (valueCount_ == 0) valueFirst_ = from;
      valueCount_ += to - from;
      valueEnd_ = to;
      return;
    }
    const Index length = to - from;
    if (nameMatches_) {
      if (nameLength_ + length > head_.size()) {
        nameMatches_ = false;
      } else {
        const unsigned char* name = Bytes(text_) + from;
        const unsigned char* wanted = Bytes(head_) + nameLength_;
        for (Index k = 0; k < length; ++k) {
          if (kLower[name[k]] != kLower[wanted[k]]) {
            nameMatches_ = false;
            break;
          }
        }
      }
    }
    nameLength_ += length;
  }

  bool EndMember(Index comma, const ObjectState& st) {
    if (Matches()) return true;
    nameLength_ = 0;
    nameMatches_ = true;
    valueCount_ = 0;
    memberBegin_ = comma + 1;
    memberState_ = st;
    return false;
  }

  bool Matches() const { return nameMatches_ && nameLength_ == head_.size(); }

  // The value is usually one unbroken stretch of the text and can be viewed in place.
  bool ValueIsContiguous() const { return valueCount_ == 0 || valueEnd_ - valueFirst_ == valueCount_; }
  std::string_view ContiguousValue() const {
    return valueCount_ == 0 ? std::string_view{} : text_.substr(valueFirst_, valueCount_);
  }

  // Replays the member (it ends at `memberEnd`) to gather a value that was read in pieces.
  void CollectValue(Index memberEnd, std::string& out) const;

 private:
  std::string_view text_;
  std::string_view head_;
  Index nameLength_ = 0;
  bool nameMatches_ = true;
  Index valueFirst_ = 0;
  Index valueEnd_ = 0;
  Index valueCount_ = 0;
  Index memberBegin_ = 0;
  ObjectState memberState_;
};

class ValueCollector {
 public:
  ValueCollector(std::string_view text, std::string& out) : text_(text), out_(out) {}
  void Append(bool toValue, Index from, Index to) {
    if (toValue) out_.append(text_.data() + from, to - from);
  }
  bool EndMember(Index, const ObjectState&) { return true; }

 private:
  std::string_view text_;
  std::string& out_;
};

void MemberFinder::CollectValue(Index memberEnd, std::string& out) const {
  out.reserve(out.size() + valueCount_);
  ObjectState st = memberState_;
  ValueCollector collector(text_, out);
  ScanObject(text_, memberBegin_, memberEnd, st, collector);
}

}  // namespace

std::string GetJSONValue(std::string_view json, std::string_view path) {
  // A value read in pieces is gathered into one of these two buffers before it is queried
  // in turn; the other still holds the text being scanned.
  std::string current;
  std::string next;
  std::string_view text = json;
  for (;;) {
    if (!path.empty() && path.front() == '/') path.remove_prefix(1);
    const Index slash = path.find('/');
    const std::string_view head = path.substr(0, slash);
    const std::string_view rest =
        slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);

    MemberFinder finder(text, head);
    ObjectState st;
    const Index memberEnd = ScanObject(text, 0, text.size(), st, finder);
    if (!finder.Matches()) return {};

    if (rest.empty()) {
      if (finder.ValueIsContiguous()) return std::string(finder.ContiguousValue());
      std::string value;
      finder.CollectValue(memberEnd, value);
      return value;
    }
    if (finder.ValueIsContiguous()) {
      text = finder.ContiguousValue();
    } else {
      next.clear();
      finder.CollectValue(memberEnd, next);
      current.swap(next);
      text = current;
    }
    path = rest;
  }
}

std::vector<std::string> SplitJSONArray(std::string_view json) {
  std::vector<std::string> elements(1);  // position 0 stays empty: callers count from 1
  const unsigned char* p = Bytes(json);
  const Index end = json.size();
  std::string element;
  Index runBegin = 0;  // start of the kept bytes not yet copied into `element`
  auto closeRun = [&](Index at) {
    element.append(json.data() + runBegin, at - runBegin);
    runBegin = at + 1;
  };

  ScanState st;
  Index i = 0;
  while (i < end) {
    if (st.inString || st.brackets > 1 || st.braces > 0) {
      const Index quietEnd = SkipQuiet(p, i, end, st);
      if (quietEnd > i) {
        i = quietEnd;
        continue;
      }
    }
    const unsigned char c = p[i];
    const bool quote = Advance(st, c);
    if (st.brackets <= 1 && st.braces <= 0) {
      if (!st.inString && c == ',') {
        closeRun(i);
        elements.push_back(std::move(element));
        element.clear();
      } else if (quote || (!st.inString && (c == '[' || (c == ']' && st.brackets == 0)))) {
        closeRun(i);  // the array's own brackets and the quotes of its strings are dropped
      }
    }
    ++i;
  }
  element.append(json.data() + runBegin, end - runBegin);
  elements.push_back(std::move(element));
  return elements;
}
