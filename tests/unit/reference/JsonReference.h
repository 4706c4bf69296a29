#pragma once

// Plain transcription of the path-query and array-split rules, one byte at a time into text
// buffers, recursing for each path level. Slow on purpose and kept free of the production
// scanner's shortcuts (skipping runs, viewing values in place) so the two can be compared.

#include <string>
#include <vector>

namespace reference {

inline unsigned char LowerByte(unsigned char b) {
  if (b >= 'A' && b <= 'Z') return static_cast<unsigned char>(b + 32);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<unsigned char>(b + 32);
  if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<unsigned char>(b + 0x10);
  if (b == 0x9F) return 0xFF;
  return b;
}

inline std::string Lower(const std::string& text) {
  std::string out;
  for (char c : text) out += static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
  return out;
}

// String and escape state shared by both operations. A byte is "literal" when it sits inside
// a string (brackets there do not count); "delimiter" marks the quotes that open or close one.
struct Lexer {
  bool inString = false;
  bool escaped = false;
  bool literal = false;
  bool delimiter = false;

  void Feed(unsigned char c) {
    literal = false;
    delimiter = false;
    if (inString) {
      if (escaped) {
        escaped = false;
        literal = true;
      } else if (c == '\\') {
        escaped = true;
        literal = true;
      } else if (c == '"') {
        inString = false;
        delimiter = true;
      } else {
        literal = true;
      }
    } else if (c == '"') {
      inString = true;
      delimiter = true;
    }
  }
};

inline std::string GetJSONValue(const std::string& json, std::string path) {
  if (!path.empty() && path[0] == '/') path.erase(0, 1);
  std::string head = path;
  std::string rest;
  const std::size_t slash = path.find('/');
  if (slash != std::string::npos) {
    head = path.substr(0, slash);
    rest = path.substr(slash + 1);
  }

  long brackets = 0;
  long braces = 0;
  int part = 0;  // 0 = name, 1 = value
  std::string name;
  std::string value;
  Lexer lex;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(json[i]);
    lex.Feed(c);
    if (!lex.literal && !lex.delimiter) {
      if (c == '[') brackets = brackets + 1;
      if (c == ']') brackets = brackets - 1;
      if (c == '{') braces = braces + 1;
      if (c == '}') braces = braces - 1;
    }
    bool drop = false;
    if (braces == 1 && brackets == 0) {
      if (c == ':' && !lex.inString) {
        part = 1 - part;
        drop = true;
      } else if (lex.delimiter) {
        drop = true;
      } else if (!lex.inString && c < 33) {
        drop = true;
      } else if (!lex.inString && c == '{') {
        drop = true;
      } else if (!lex.inString && c == ',') {
        if (Lower(name) == Lower(head)) break;
        part = 0;
        name = "";
        value = "";
        drop = true;
      }
    }
    if (!drop && braces >= 1) {
      if (part == 0) {
        name += static_cast<char>(c);
      } else {
        value += static_cast<char>(c);
      }
    }
  }
  if (Lower(name) != Lower(head)) return "";
  if (rest.empty()) return value;
  return GetJSONValue(value, rest);
}

inline std::vector<std::string> SplitJSONArray(const std::string& json) {
  std::vector<std::string> elements;
  elements.push_back("");
  std::string element;
  long brackets = 0;
  long braces = 0;
  Lexer lex;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(json[i]);
    lex.Feed(c);
    if (!lex.literal && !lex.delimiter) {
      if (c == '[') brackets = brackets + 1;
      if (c == ']') brackets = brackets - 1;
      if (c == '{') braces = braces + 1;
      if (c == '}') braces = braces - 1;
    }
    if (brackets > 1 || braces > 0) {
      element += static_cast<char>(c);
    } else if (c == ',' && !lex.inString) {
      elements.push_back(element);
      element = "";
    } else if (lex.delimiter) {
      // the quotes of the array's own strings are dropped
    } else if (!lex.literal && c == '[') {
      // the array's opening bracket
    } else if (!lex.literal && c == ']' && brackets == 0) {
      // the array's closing bracket
    } else {
      element += static_cast<char>(c);
    }
  }
  elements.push_back(element);
  return elements;
}

}  // namespace reference
