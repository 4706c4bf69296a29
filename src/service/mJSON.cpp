#include "service/mJSON.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

// Scanner for nested values: 1 = in 64-byte blocks with SSE2 (every x86-64 has it), 0 = byte
// by byte. The block scanner is written for GCC (mingw-w64 included); other compilers and
// processors scan byte by byte. The tests build level 0 as well and compare the two.
#ifndef WG_JSON_SIMD_LEVEL
#define WG_JSON_SIMD_LEVEL 1
#endif
#if defined(__GNUC__) && defined(__x86_64__) && WG_JSON_SIMD_LEVEL >= 1
#include <emmintrin.h>
#define WG_JSON_SSE2 1
#endif

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
// Bytes that can change the scan state inside a string.
constexpr auto kStringSpecial = MakeByteSet("\"\\");

// Depth steps of the brackets and braces, for adding without branches.
constexpr std::array<signed char, 256> MakeStep(char open, char close) {
  std::array<signed char, 256> step{};
  step[static_cast<unsigned char>(open)] = 1;
  step[static_cast<unsigned char>(close)] = -1;
  return step;
}
constexpr auto kBracketStep = MakeStep('[', ']');
constexpr auto kBraceStep = MakeStep('{', '}');

// Bytes that an object's own level keeps without any other effect, outside strings.
constexpr std::array<bool, 256> MakeOwnLevelPlain() {
  std::array<bool, 256> plain{};
  for (int b = 33; b < 256; ++b) plain[b] = true;
  for (char c : std::string_view("\":,[]{}")) plain[static_cast<unsigned char>(c)] = false;
  return plain;
}
constexpr auto kOwnLevelPlain = MakeOwnLevelPlain();

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

// Walks a nested stretch, where only strings and depths matter, applying its bytes to the
// state. Stops at the end or before the first bracket or brace outside strings after which
// Level::Stop(brackets, braces, old braces) holds; that byte is left to the caller.
template <class Level>
Index SkipNestedScalar(const unsigned char* p, Index i, Index end, ScanState& st) {
  for (; i < end; ++i) {
    const unsigned char c = p[i];
    if (st.inString) {
      if (st.escaped) {
        st.escaped = false;
      } else if (c == '\\') {
        st.escaped = true;
      } else if (c == '"') {
        st.inString = false;
      }
      continue;
    }
    std::ptrdiff_t brackets = st.brackets;
    std::ptrdiff_t braces = st.braces;
    switch (c) {
      case '"': st.inString = true; continue;
      case '[': ++brackets; break;
      case ']': --brackets; break;
      case '{': ++braces; break;
      case '}': --braces; break;
      default: continue;
    }
    if (Level::Stop(brackets, braces, st.braces)) return i;
    st.brackets = brackets;
    st.braces = braces;
  }
  return i;
}

#ifdef WG_JSON_SSE2
// Bit masks of one 64-byte block: its quotes and its brackets or braces, and whether it
// holds a backslash.
struct BlockMasks {
  std::uint64_t quotes;
  std::uint64_t depth;
  bool backslash;
};

__attribute__((always_inline)) inline BlockMasks Classify(const unsigned char* block) {
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i backslash = _mm_set1_epi8('\\');
  const __m128i caseBit = _mm_set1_epi8(0x20);  // folds "[" onto "{" and "]" onto "}"
  const __m128i openBrace = _mm_set1_epi8('{');
  const __m128i closeBrace = _mm_set1_epi8('}');
  const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
  const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16));
  const __m128i b2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 32));
  const __m128i b3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 48));
  auto bits = [](__m128i matches) {
    return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(matches)));
  };
  auto depth = [&](__m128i bytes) {
    const __m128i folded = _mm_or_si128(bytes, caseBit);
    return bits(_mm_or_si128(_mm_cmpeq_epi8(folded, openBrace), _mm_cmpeq_epi8(folded, closeBrace)));
  };
  const __m128i anyBackslash =
      _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(b0, backslash), _mm_cmpeq_epi8(b1, backslash)),
                   _mm_or_si128(_mm_cmpeq_epi8(b2, backslash), _mm_cmpeq_epi8(b3, backslash)));
  BlockMasks masks;
  masks.quotes = bits(_mm_cmpeq_epi8(b0, quote)) | bits(_mm_cmpeq_epi8(b1, quote)) << 16 |
                 bits(_mm_cmpeq_epi8(b2, quote)) << 32 | bits(_mm_cmpeq_epi8(b3, quote)) << 48;
  masks.depth = depth(b0) | depth(b1) << 16 | depth(b2) << 32 | depth(b3) << 48;
  masks.backslash = _mm_movemask_epi8(anyBackslash) != 0;
  return masks;
}

// Bit k of the result: the parity of the quotes up to and including byte k.
inline std::uint64_t QuoteParity(std::uint64_t quotes) {
  quotes ^= quotes << 1;
  quotes ^= quotes << 2;
  quotes ^= quotes << 4;
  quotes ^= quotes << 8;
  quotes ^= quotes << 16;
  quotes ^= quotes << 32;
  return quotes;
}

// SkipNestedScalar 64 bytes at a time. Which brackets lie inside strings follows from the
// running parity of the quotes; a block holding a backslash goes the byte-by-byte way.
template <class Level>
Index SkipBlocks(const unsigned char* p, Index i, Index end, ScanState& st) {
  unsigned char tail[64];
  while (i < end) {
    const Index length = end - i < 64 ? end - i : 64;
    const unsigned char* block = p + i;
    if (length < 64) {
      std::memset(tail, ' ', sizeof tail);
      std::memcpy(tail, p + i, length);
      block = tail;
    }
    const BlockMasks masks = Classify(block);
    if (st.escaped || masks.backslash) {
      const Index stopped = SkipNestedScalar<Level>(p, i, i + length, st);
      if (stopped < i + length) return stopped;
      i = stopped;
      continue;
    }
    // Bit k of `inside`: byte k lies within a string.
    std::uint64_t inside = masks.quotes == 0 ? 0 : QuoteParity(masks.quotes);
    if (st.inString) inside = ~inside;
    for (std::uint64_t bits = masks.depth & ~inside; bits != 0; bits &= bits - 1) {
      const unsigned char c = block[std::countr_zero(bits)];
      const std::ptrdiff_t brackets = st.brackets + kBracketStep[c];
      const std::ptrdiff_t braces = st.braces + kBraceStep[c];
      if (!Level::Deep(brackets, braces) && Level::Stop(brackets, braces, st.braces)) {
        st.inString = false;
        return i + static_cast<Index>(std::countr_zero(bits));
      }
      st.brackets = brackets;
      st.braces = braces;
    }
    st.inString = (inside >> 63) != 0;
    i += length;
  }
  return i;
}
#endif

// Nested values are most of a reply and every query crosses them: the block loop where the
// processor has one.
template <class Level>
Index SkipNested(const unsigned char* p, Index i, Index end, ScanState& st) {
#if defined(WG_JSON_SSE2)
  return SkipBlocks<Level>(p, i, end, st);
#else
  return SkipNestedScalar<Level>(p, i, end, st);
#endif
}

// Away from an object's own level every byte is kept (or, outside the object, none is), so
// a nested run ends where the own level comes back or the object opens or closes.
struct ObjectNested {
  // Two braces down no bracket or brace can end the run; checked first, it spares the rest.
  static bool Deep(std::ptrdiff_t, std::ptrdiff_t braces) { return braces >= 2; }
  static bool Stop(std::ptrdiff_t brackets, std::ptrdiff_t braces, std::ptrdiff_t oldBraces) {
    return (braces == 1 && brackets == 0) || ((braces >= 1) != (oldBraces >= 1));
  }
};

// Inside an array's elements (nested arrays, objects) every byte is kept.
struct ArrayNested {
  static bool Deep(std::ptrdiff_t, std::ptrdiff_t braces) { return braces >= 1; }
  static bool Stop(std::ptrdiff_t brackets, std::ptrdiff_t braces, std::ptrdiff_t) {
    return brackets <= 1 && braces <= 0;
  }
};

struct ObjectState : ScanState {
  bool inValue = false;  // false while reading a member name, true while reading its value
};

// A member of the usual shape, "name" : value and a comma, where the name and a string
// value hold no backslash and a nested value closes where it opened. Read whole, such a
// member gives the same name and value texts as byte by byte; anything else is left to the
// byte-by-byte rules. Starts where a member starts: at the object's own level, outside
// strings, with nothing read for the member yet.
struct WholeMember {
  Index nameFrom;
  Index nameTo;
  Index valueFrom;
  Index valueTo;
  Index comma;
};

inline Index SkipBlanks(const unsigned char* p, Index i, Index end) {
  while (i < end && p[i] < 33) ++i;
  return i;
}

// Position of the first quote or backslash from i on, or end. Names and most strings are
// shorter than a vector register: byte by byte is faster here (measured).
inline Index StringEnd(const unsigned char* p, Index i, Index end) {
  while (i < end && !kStringSpecial[p[i]]) ++i;
  return i;
}

// End of the run from `from` on inside a string in which no byte changes the state.
inline Index SkipInString(const unsigned char* p, Index from, Index end, const ScanState& st) {
  return st.escaped ? from : StringEnd(p, from, end);
}

inline bool ReadWholeMember(const unsigned char* p, Index i, Index end, WholeMember& m) {
  i = SkipBlanks(p, i, end);
  if (i == end || p[i] != '"') return false;
  m.nameFrom = ++i;
  i = StringEnd(p, i, end);
  if (i == end || p[i] != '"') return false;
  m.nameTo = i;
  i = SkipBlanks(p, i + 1, end);
  if (i == end || p[i] != ':') return false;
  i = SkipBlanks(p, i + 1, end);
  if (i == end) return false;
  const unsigned char first = p[i];
  if (first == '"') {
    m.valueFrom = ++i;
    i = StringEnd(p, i, end);
    if (i == end || p[i] != '"') return false;
    m.valueTo = i++;
  } else if (first == '{' || first == '[') {
    ScanState nested;
    nested.braces = 1;
    Advance(nested, first);
    m.valueFrom = i;
    const Index close = SkipNested<ObjectNested>(p, i + 1, end, nested);
    if (close == end) return false;
    Advance(nested, p[close]);
    if (nested.braces != 1 || nested.brackets != 0) return false;
    i = close + 1;
    m.valueTo = i;
  } else if (kOwnLevelPlain[first]) {
    m.valueFrom = i;
    while (i < end && kOwnLevelPlain[p[i]]) ++i;
    m.valueTo = i;
  } else {
    return false;
  }
  i = SkipBlanks(p, i, end);
  if (i == end || p[i] != ',') return false;
  m.comma = i;
  return true;
}

// Walks the members of the object that `text` holds, from `from` to `end`, and hands every
// kept byte run to the sink as name or value text. At the object's own level, white space
// outside strings, the string quotes, the ":" and the opening brace are dropped; deeper
// down every byte is kept, so nested values keep their source text. A "," at the own level
// ends a member: the sink may stop the scan there (the comma's index is returned).
template <class Sink>
Index ScanObject(std::string_view text, Index from, Index end, ObjectState& st, Sink& sink) {
  const unsigned char* p = Bytes(text);
  Index i = from;
  bool memberStart = false;
  while (i < end) {
    if (memberStart) {
      memberStart = false;
      WholeMember m;
      if (ReadWholeMember(p, i, end, m)) {
        sink.Append(false, m.nameFrom, m.nameTo);
        sink.Append(true, m.valueFrom, m.valueTo);
        st.inValue = false;
        if (sink.EndMember(m.comma, st)) return m.comma;
        i = m.comma + 1;
        memberStart = true;
        continue;
      }
    }
    if (st.braces != 1 || st.brackets != 0) {
      const bool inObject = st.braces >= 1;
      const Index runEnd = SkipNested<ObjectNested>(p, i, end, st);
      if (runEnd > i) {
        if (inObject) sink.Append(st.inValue, i, runEnd);
        i = runEnd;
        continue;
      }
    } else if (st.inString) {
      const Index runEnd = SkipInString(p, i, end, st);
      if (runEnd > i) {
        sink.Append(st.inValue, i, runEnd);
        i = runEnd;
        continue;
      }
    } else {
      // Own level outside strings: runs of plain bytes (numbers, literals) are kept whole,
      // runs of white space dropped whole.
      Index runEnd = i;
      while (runEnd < end && kOwnLevelPlain[p[runEnd]]) ++runEnd;
      if (runEnd > i) {
        sink.Append(st.inValue, i, runEnd);
        i = runEnd;
        continue;
      }
      while (runEnd < end && p[runEnd] < 33) ++runEnd;
      if (runEnd > i) {
        i = runEnd;
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
        if (c < 33) {
          ++i;
          continue;
        }
        if (c == '{') {  // the object's opening brace
          memberStart = !st.inValue && sink.Empty();
          ++i;
          continue;
        }
        if (c == ',') {
          st.inValue = false;
          if (sink.EndMember(i, st)) return i;
          memberStart = true;
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
  bool Empty() const { return nameLength_ == 0 && valueCount_ == 0; }

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
  bool Empty() const { return false; }  // replays one member; no shortcut needed

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
    if (st.brackets > 1 || st.braces > 0) {
      const Index runEnd = SkipNested<ArrayNested>(p, i, end, st);
      if (runEnd > i) {
        i = runEnd;
        continue;
      }
    } else if (st.inString) {
      const Index runEnd = SkipInString(p, i, end, st);
      if (runEnd > i) {
        i = runEnd;
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
