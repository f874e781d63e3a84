// The text form format and its conversion to and from the binary format.
#include <cmath>
#include <charconv>
#include <cstring>

#include "classlib/core/Classes.h"
#include "classlib/core/ClassesStreams.h"
#include "classlib/core/StreamFloat.h"
#include "classlib/core/StreamingText.h"

using dk_streaming::SameIdent;

namespace {

constexpr int kMaxDepth = 200;

// ------------------------------------------------------------ binary output

struct BinOut {
  std::string b;
  void Byte1(unsigned char v) { b.push_back(static_cast<char>(v)); }
  void Raw(const void* p, size_t n) { b.append(static_cast<const char*>(p), n); }
  void Str(const std::string& s) {
    Byte1(static_cast<unsigned char>(s.size()));
    b += s;
  }
  void Int(Int64 v) {
    if (v >= -128 && v <= 127) {
      Byte1(vaInt8);
      int8_t x = static_cast<int8_t>(v);
      Raw(&x, 1);
    } else if (v >= -32768 && v <= 32767) {
      Byte1(vaInt16);
      int16_t x = static_cast<int16_t>(v);
      Raw(&x, 2);
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
      Byte1(vaInt32);
      int32_t x = static_cast<int32_t>(v);
      Raw(&x, 4);
    } else {
      Byte1(vaInt64);
      Raw(&v, 8);
    }
  }
  void Len(size_t n) {
    int32_t x = static_cast<int32_t>(n);
    Raw(&x, 4);
  }
};

// --------------------------------------------------------------- text parser

class TextParser {
 public:
  TextParser(const std::string& text, const TIncludeResolver& include) : s_(text), include_(include) {}

  std::string Convert() {
    out_.Raw("TPF0", 4);
    SkipSpace();
    ParseObject(0);
    SkipSpace();
    if (p_ < s_.size()) Fail("end of text expected");
    return std::move(out_.b);
  }

 private:
  [[noreturn]] void Fail(const std::string& what) {
    throw EParserError("Line " + std::to_string(line_) + ": " + what);
  }

  void SkipSpace() {
    while (p_ < s_.size()) {
      char c = s_[p_];
      if (c == '\n') {
        ++line_;
        ++p_;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f') {
        ++p_;
      } else if (c == '/' && p_ + 1 < s_.size() && s_[p_ + 1] == '/') {
        while (p_ < s_.size() && s_[p_] != '\n') ++p_;
      } else {
        break;
      }
    }
  }

  char Peek() {
    SkipSpace();
    return p_ < s_.size() ? s_[p_] : '\0';
  }

  void Expect(char c) {
    if (Peek() != c) Fail(std::string("'") + c + "' expected");
    ++p_;
  }

  static bool IdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
  static bool IdentChar(char c) { return IdentStart(c) || (c >= '0' && c <= '9'); }

  std::string Ident(bool dotted) {
    SkipSpace();
    if (p_ >= s_.size() || !IdentStart(s_[p_])) Fail("identifier expected");
    size_t b = p_;
    while (p_ < s_.size() && (IdentChar(s_[p_]) || (dotted && s_[p_] == '.' && p_ + 1 < s_.size() &&
                                                       IdentStart(s_[p_ + 1]))))
      ++p_;
    if (p_ - b > 255) Fail("identifier too long");
    return s_.substr(b, p_ - b);
  }

  bool PeekKeyword(const char* kw) {
    SkipSpace();
    size_t n = std::strlen(kw);
    if (p_ + n > s_.size()) return false;
    if (!SameIdent(s_.substr(p_, n), kw)) return false;
    return p_ + n == s_.size() || !IdentChar(s_[p_ + n]);
  }

  void Enter() {
    if (++depth_ > kMaxDepth) Fail("nesting too deep");
  }

  void ParseObject(int) {
    Enter();
    unsigned char flags = 0;
    if (PeekKeyword("inherited"))
      flags |= 1;
    else if (PeekKeyword("inline"))
      flags |= 4;
    else if (!PeekKeyword("object"))
      Fail("'object' expected");
    Ident(false);
    std::string name, cls = Ident(false);
    if (Peek() == ':') {
      ++p_;
      name = cls;
      cls = Ident(false);
    }
    // A first byte of 0xF0 or more would read as flags.
    if (cls.size() >= 0xF0) Fail("class name too long");
    Int64 pos = 0;
    if (Peek() == '[') {
      ++p_;
      pos = ParseInteger();
      if (pos < INT32_MIN || pos > INT32_MAX) Fail("child position out of range");
      Expect(']');
      flags |= 2;
    }
    if (flags) {
      out_.Byte1(static_cast<unsigned char>(0xF0 | flags));
      if (flags & 2) out_.Int(pos);
    }
    out_.Str(cls);
    out_.Str(name);
    while (!PeekKeyword("end") && !PeekKeyword("object") && !PeekKeyword("inherited") && !PeekKeyword("inline"))
      ParseProperty();
    out_.Byte1(0);
    while (!PeekKeyword("end")) ParseObject(0);
    Ident(false);
    out_.Byte1(0);
    --depth_;
  }

  void ParseProperty() {
    std::string name = Ident(true);
    out_.Str(name);
    Expect('=');
    ParseValue();
  }

  Int64 ParseInteger() {
    SkipSpace();
    bool neg = false;
    if (p_ < s_.size() && (s_[p_] == '-' || s_[p_] == '+')) {
      neg = s_[p_] == '-';
      ++p_;
    }
    UInt64 v = 0;
    int digits = 0;
    if (p_ < s_.size() && s_[p_] == '$') {
      ++p_;
      while (p_ < s_.size() && isxdigit(static_cast<unsigned char>(s_[p_]))) {
        if (v >> 60) Fail("number too large");
        v = v * 16 + HexVal(s_[p_++]);
        ++digits;
      }
    } else {
      while (p_ < s_.size() && isdigit(static_cast<unsigned char>(s_[p_]))) {
        if (v > (UINT64_MAX - 9) / 10) Fail("number too large");
        v = v * 10 + static_cast<UInt64>(s_[p_++] - '0');
        ++digits;
      }
    }
    if (!digits) Fail("number expected");
    if (!neg && v > static_cast<UInt64>(INT64_MAX)) Fail("number too large");
    if (neg && v > static_cast<UInt64>(INT64_MAX) + 1) Fail("number too large");
    return neg ? static_cast<Int64>(0 - v) : static_cast<Int64>(v);
  }

  static unsigned HexVal(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    return static_cast<unsigned>(c - 'A' + 10);
  }

  void ParseNumber() {
    SkipSpace();
    size_t b = p_;
    size_t q = p_;
    if (q < s_.size() && (s_[q] == '-' || s_[q] == '+')) ++q;
    bool hex = q < s_.size() && s_[q] == '$';
    bool isFloat = false;
    if (!hex) {
      size_t r = q;
      while (r < s_.size() && isdigit(static_cast<unsigned char>(s_[r]))) ++r;
      if (r < s_.size() && (s_[r] == '.' || s_[r] == 'e' || s_[r] == 'E')) isFloat = true;
    }
    if (!isFloat) {
      out_.Int(ParseInteger());
      return;
    }
    // Float: digits [. digits] [e [sign] digits] [suffix s|c|d]
    size_t r = q;
    while (r < s_.size() && isdigit(static_cast<unsigned char>(s_[r]))) ++r;
    if (r < s_.size() && s_[r] == '.') {
      ++r;
      while (r < s_.size() && isdigit(static_cast<unsigned char>(s_[r]))) ++r;
    }
    if (r < s_.size() && (s_[r] == 'e' || s_[r] == 'E')) {
      ++r;
      if (r < s_.size() && (s_[r] == '-' || s_[r] == '+')) ++r;
      size_t d = r;
      while (r < s_.size() && isdigit(static_cast<unsigned char>(s_[r]))) ++r;
      if (d == r) Fail("exponent expected");
    }
    std::string text = s_.substr(b, r - b);
    if (!text.empty() && text[0] == '+') text.erase(0, 1);
    double v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec == std::errc::result_out_of_range) Fail("number out of range");
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) Fail("invalid number " + text);
    p_ = r;
    char suffix = p_ < s_.size() ? s_[p_] : '\0';
    if (suffix == 's' || suffix == 'S') {
      ++p_;
      if (std::fabs(v) > 3.4028234663852886e38) Fail("number out of range");
      out_.Byte1(vaSingle);
      float f = static_cast<float>(v);
      out_.Raw(&f, 4);
    } else if (suffix == 'c' || suffix == 'C') {
      ++p_;
      out_.Byte1(vaCurrency);
      Int64 c = CurrencyValue(text, v);
      out_.Raw(&c, 8);
    } else if (suffix == 'd' || suffix == 'D') {
      ++p_;
      out_.Byte1(vaDate);
      out_.Raw(&v, 8);
    } else {
      out_.Byte1(vaExtended);
      unsigned char e[10];
      dk_float::DoubleToExtended(v, e);
      out_.Raw(e, 10);
    }
    if (p_ < s_.size() && IdentChar(s_[p_])) Fail("invalid number");
  }

  // The scaled value of a currency literal: exact for plain decimals.
  Int64 CurrencyValue(const std::string& text, double v) {
    if (text.find_first_of("eE") == std::string::npos) {
      size_t i = 0;
      bool neg = text[0] == '-';
      if (neg) ++i;
      UInt64 x = 0;  // magnitude, in units of 1/10000
      const UInt64 limit = neg ? UInt64(INT64_MAX) + 1 : UInt64(INT64_MAX);
      auto push = [&](unsigned d) {
        if (x > (limit - d) / 10) Fail("currency out of range");
        x = x * 10 + d;
      };
      int frac = -1;
      for (; i < text.size(); ++i) {
        if (text[i] == '.') {
          frac = 0;
          continue;
        }
        if (frac >= 4) {
          if (text[i] != '0') Fail("currency has more than four decimals");
          continue;
        }
        push(static_cast<unsigned>(text[i] - '0'));
        if (frac >= 0) ++frac;
      }
      for (int k = frac < 0 ? 0 : frac; k < 4; ++k) push(0);
      return neg ? static_cast<Int64>(0 - x) : static_cast<Int64>(x);
    }
    long double scaled = static_cast<long double>(v) * 10000.0L;
    if (!(scaled > -9.2e18L && scaled < 9.2e18L)) Fail("currency out of range");
    return static_cast<Int64>(std::llround(scaled));
  }

  // A string: quoted parts and #nnn characters, joined by '+' across lines.
  std::u32string ParseString() {
    std::u32string r;
    for (;;) {
      SkipSpace();
      if (p_ >= s_.size()) break;
      char c = s_[p_];
      if (c == '\'') {
        ++p_;
        for (;;) {
          if (p_ >= s_.size() || s_[p_] == '\n' || s_[p_] == '\r') Fail("unterminated string");
          if (s_[p_] == '\'') {
            if (p_ + 1 < s_.size() && s_[p_ + 1] == '\'') {
              r.push_back(U'\'');
              p_ += 2;
              continue;
            }
            ++p_;
            break;
          }
          size_t save = p_;
          char32_t cp = dk_cp1251::DecodeUtf8(s_.data(), s_.size(), p_);
          if (cp == 0xFFFFFFFFu) {
            // Not UTF-8: take the byte as code page 1251.
            p_ = save + 1;
            cp = dk_cp1251::ToUnicode(static_cast<unsigned char>(s_[save]));
          }
          r.push_back(cp);
        }
      } else if (c == '#') {
        ++p_;
        Int64 v = ParseInteger();
        // A lone surrogate stands for itself (16-bit text may hold one).
        if (v < 0 || v > 0x10FFFF) Fail("invalid character code");
        r.push_back(static_cast<char32_t>(v));
      } else {
        break;
      }
      // A '+' joins the next part.
      size_t save = p_;
      int saveLine = line_;
      if (Peek() == '+') {
        ++p_;
        char n = Peek();
        if (n != '\'' && n != '#') Fail("string expected after '+'");
      } else {
        p_ = save;
        line_ = saveLine;
        char n = p_ < s_.size() ? s_[p_] : '\0';
        if (n != '\'' && n != '#') break;
      }
    }
    return r;
  }

  void EmitString(const std::u32string& s) {
    bool ansi = true;
    for (char32_t c : s)
      if (c > 0xFFFF || dk_cp1251::FromUnicode(c) < 0) {
        ansi = false;
        break;
      }
    if (ansi) {
      std::string b;
      b.reserve(s.size());
      for (char32_t c : s) b.push_back(static_cast<char>(dk_cp1251::FromUnicode(c)));
      if (b.size() <= 255) {
        out_.Byte1(vaString);
        out_.Str(b);
      } else {
        out_.Byte1(vaLString);
        out_.Len(b.size());
        out_.b += b;
      }
      return;
    }
    std::u16string w;
    for (char32_t c : s) {
      if (c >= 0x10000) {
        c -= 0x10000;
        w.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        w.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
      } else {
        w.push_back(static_cast<char16_t>(c));
      }
    }
    out_.Byte1(vaWString);
    out_.Len(w.size());
    out_.Raw(w.data(), w.size() * 2);
  }

  void ParseBinary() {
    Expect('{');
    if (Peek() == '@') {
      ++p_;
      std::string kw = Ident(false);
      if (!SameIdent(kw, "file")) Fail("'@file' expected");
      SkipSpace();
      std::string path;
      if (p_ < s_.size() && s_[p_] == '"') {
        ++p_;
        size_t b = p_;
        while (p_ < s_.size() && s_[p_] != '"' && s_[p_] != '\n') ++p_;
        if (p_ >= s_.size() || s_[p_] != '"') Fail("unterminated file name");
        path = s_.substr(b, p_ - b);
        ++p_;
      } else {
        std::u32string u = ParseString();
        for (char32_t c : u) ::AppendUtf8(path, c);
      }
      Expect('}');
      if (!include_) Fail("binary includes are not allowed here");
      std::string data = include_(path);
      if (data.size() > static_cast<size_t>(INT32_MAX)) Fail("included file too large");
      out_.Byte1(vaBinary);
      out_.Len(data.size());
      out_.b += data;
      return;
    }
    std::string data;
    int half = -1;
    for (;;) {
      SkipSpace();
      if (p_ >= s_.size()) Fail("'}' expected");
      char c = s_[p_];
      if (c == '}') break;
      if (!isxdigit(static_cast<unsigned char>(c))) Fail("hexadecimal digit expected");
      unsigned v = HexVal(c);
      ++p_;
      if (half < 0) {
        half = static_cast<int>(v);
      } else {
        data.push_back(static_cast<char>(half * 16 + static_cast<int>(v)));
        half = -1;
      }
    }
    ++p_;
    if (half >= 0) Fail("odd number of hexadecimal digits");
    out_.Byte1(vaBinary);
    out_.Len(data.size());
    out_.b += data;
  }

  void ParseValue() {
    Enter();
    char c = Peek();
    if (c == '\'' || c == '#') {
      EmitString(ParseString());
    } else if (c == '-' || c == '+' || c == '$' || (c >= '0' && c <= '9')) {
      ParseNumber();
    } else if (c == '[') {
      ++p_;
      out_.Byte1(vaSet);
      if (Peek() != ']') {
        for (;;) {
          out_.Str(Ident(false));
          if (Peek() == ',') {
            ++p_;
            continue;
          }
          break;
        }
      }
      Expect(']');
      out_.Byte1(0);
    } else if (c == '(') {
      ++p_;
      out_.Byte1(vaList);
      while (Peek() != ')') {
        if (p_ >= s_.size()) Fail("')' expected");
        ParseValue();
      }
      ++p_;
      out_.Byte1(0);
    } else if (c == '{') {
      ParseBinary();
    } else if (c == '<') {
      ++p_;
      out_.Byte1(vaCollection);
      while (Peek() != '>') {
        if (!PeekKeyword("item")) Fail("'item' expected");
        Ident(false);
        if (Peek() == '[') {
          ++p_;
          Int64 order = ParseInteger();
          if (order < INT32_MIN || order > INT32_MAX) Fail("item order out of range");
          out_.Int(order);
          Expect(']');
        }
        out_.Byte1(vaList);
        while (!PeekKeyword("end")) ParseProperty();
        Ident(false);
        out_.Byte1(0);
      }
      ++p_;
      out_.Byte1(0);
    } else if (IdentStart(c)) {
      std::string id = Ident(true);
      if (SameIdent(id, "True"))
        out_.Byte1(vaTrue);
      else if (SameIdent(id, "False"))
        out_.Byte1(vaFalse);
      else if (SameIdent(id, "nil"))
        out_.Byte1(vaNil);
      else {
        out_.Byte1(vaIdent);
        out_.Str(id);
      }
    } else {
      Fail("value expected");
    }
    --depth_;
  }

  const std::string& s_;
  const TIncludeResolver& include_;
  size_t p_ = 0;
  int line_ = 1;
  int depth_ = 0;
  BinOut out_;
};

// --------------------------------------------------------------- text output

class BinaryToText {
 public:
  explicit BinaryToText(const std::string& bin) : b_(bin) {}

  std::string Convert() {
    if (b_.size() < 4 || b_.compare(0, 4, "TPF0") != 0) Fail("Invalid stream format");
    p_ = 4;
    ConvertObject(0);
    return std::move(out_);
  }

 private:
  [[noreturn]] void Fail(const char* what) { throw EReadError(what); }

  unsigned char Byte1() {
    if (p_ >= b_.size()) Fail("Stream read error");
    return static_cast<unsigned char>(b_[p_++]);
  }
  unsigned char PeekByte() {
    if (p_ >= b_.size()) Fail("Stream read error");
    return static_cast<unsigned char>(b_[p_]);
  }
  void Raw(void* dst, size_t n) {
    if (n > b_.size() - p_) Fail("Stream read error");
    std::memcpy(dst, b_.data() + p_, n);
    p_ += n;
  }
  std::string Bytes(size_t n) {
    if (n > b_.size() - p_) Fail("Stream read error");
    std::string r = b_.substr(p_, n);
    p_ += n;
    return r;
  }
  template <class T>
  T Fixed() {
    T v;
    Raw(&v, sizeof v);
    return v;
  }
  std::string Str() { return Bytes(Byte1()); }
  size_t Len() {
    int32_t n = Fixed<int32_t>();
    if (n < 0) Fail("Invalid property value");
    return static_cast<size_t>(n);
  }

  void Indent(int n) { out_.append(static_cast<size_t>(n), ' '); }
  void NewLine() { out_ += "\r\n"; }

  Int64 IntValue(unsigned char t) {
    switch (t) {
      case vaInt8:
        return Fixed<int8_t>();
      case vaInt16:
        return Fixed<int16_t>();
      case vaInt32:
        return Fixed<int32_t>();
      case vaInt64:
        return Fixed<int64_t>();
    }
    Fail("Invalid property value");
  }

  void ConvertObject(int indent) {
    if (++depth_ > kMaxDepth) Fail("Invalid stream format");
    unsigned char flags = 0;
    Int64 pos = 0;
    if ((PeekByte() & 0xF0) == 0xF0) {
      flags = Byte1() & 0x07;
      if (flags & 2) {
        unsigned char t = Byte1();
        if (t == vaInt64) Fail("Invalid property value");
        pos = IntValue(t);
      }
    }
    std::string cls = Str();
    std::string name = Str();
    CheckIdent(cls, false);
    if (!name.empty()) CheckIdent(name, false);
    Indent(indent);
    out_ += (flags & 1) ? "inherited " : (flags & 4) ? "inline " : "object ";
    if (!name.empty()) out_ += name + ": ";
    out_ += cls;
    if (flags & 2) out_ += " [" + std::to_string(pos) + "]";
    NewLine();
    while (PeekByte() != 0) ConvertProperty(indent + 2);
    ++p_;
    while (PeekByte() != 0) ConvertObject(indent + 2);
    ++p_;
    Indent(indent);
    out_ += "end";
    NewLine();
    --depth_;
  }

  void CheckIdent(const std::string& id, bool dotted) {
    if (!IsValidIdent(id, dotted)) Fail("Invalid property value");
  }

  void ConvertProperty(int indent) {
    std::string name = Str();
    CheckIdent(name, true);
    Indent(indent);
    out_ += name + " = ";
    ConvertValue(indent);
    NewLine();
  }

  static std::string FloatText(double v) {
    if (std::isnan(v) || std::isinf(v)) throw EReadError("Invalid floating point value");
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, r.ptr);
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s;
  }

  // Exact decimal text of a scaled currency value ("12.3456", "-0.5", "3.0").
  static std::string CurrencyText(Int64 c) {
    bool neg = c < 0;
    UInt64 u = neg ? 0 - static_cast<UInt64>(c) : static_cast<UInt64>(c);
    std::string frac = std::to_string(u % 10000);
    frac.insert(0, 4 - frac.size(), '0');
    while (frac.size() > 1 && frac.back() == '0') frac.pop_back();
    return (neg ? "-" : "") + std::to_string(u / 10000) + "." + frac;
  }

  void WriteStringText(const std::u16string& w, int indent) {
    // Printable ASCII in quotes, the rest as #code points; a long string
    // starts on its own line and breaks every 64 characters with '+'.
    if (w.empty()) {
      out_ += "''";
      return;
    }
    bool inQuote = false;
    auto closeQuote = [&] {
      if (inQuote) {
        out_ += '\'';
        inQuote = false;
      }
    };
    if (w.size() > 64) {
      NewLine();
      Indent(indent + 2);
    }
    int col = 0;
    for (size_t i = 0; i < w.size(); ++i) {
      char32_t c = w[i];
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (w[i + 1] - 0xDC00);
        ++i;
      }
      if (col == 64) {
        closeQuote();
        out_ += " +";
        NewLine();
        Indent(indent + 2);
        col = 0;
      }
      ++col;
      if (c >= 32 && c < 127) {
        if (!inQuote) {
          out_ += '\'';
          inQuote = true;
        }
        if (c == '\'') out_ += '\'';
        out_ += static_cast<char>(c);
      } else {
        closeQuote();
        out_ += '#';
        out_ += std::to_string(static_cast<unsigned>(c));
      }
    }
    closeQuote();
  }

  void ConvertValue(int indent) {
    if (++depth_ > kMaxDepth) Fail("Invalid stream format");
    unsigned char t = Byte1();
    switch (t) {
      case vaList:
        out_ += "(";
        while (PeekByte() != 0) {
          NewLine();
          Indent(indent + 2);
          ConvertValue(indent + 2);
        }
        ++p_;
        out_ += ")";
        break;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        out_ += std::to_string(IntValue(t));
        break;
      case vaExtended: {
        unsigned char e[10];
        Raw(e, 10);
        out_ += FloatText(dk_float::ExtendedToDouble(e));
        break;
      }
      case vaDouble:
        out_ += FloatText(Fixed<double>());
        break;
      case vaSingle:
        out_ += FloatText(Fixed<float>()) + "s";
        break;
      case vaCurrency:
        out_ += CurrencyText(Fixed<Int64>()) + "c";
        break;
      case vaDate:
        out_ += FloatText(Fixed<double>()) + "d";
        break;
      case vaString:
        WriteStringText(::AnsiToWide(Str()), indent);
        break;
      case vaLString:
        WriteStringText(::AnsiToWide(Bytes(Len())), indent);
        break;
      case vaUTF8String:
        WriteStringText(dk_streaming::Utf8ToWide(Bytes(Len())), indent);
        break;
      case vaWString: {
        size_t n = Len();
        if (n > (b_.size() - p_) / 2) Fail("Stream read error");
        std::u16string w(n, u'\0');
        Raw(w.data(), n * 2);
        WriteStringText(w, indent);
        break;
      }
      case vaIdent: {
        std::string id = Str();
        CheckIdent(id, true);
        out_ += id;
        break;
      }
      case vaFalse:
        out_ += "False";
        break;
      case vaTrue:
        out_ += "True";
        break;
      case vaNil:
        out_ += "nil";
        break;
      case vaNull:
        out_ += "Null";
        break;
      case vaBinary: {
        size_t n = Len();
        if (n > b_.size() - p_) Fail("Stream read error");
        static const char* hex = "0123456789ABCDEF";
        out_ += "{";
        for (size_t i = 0; i < n; ++i) {
          if (i % 32 == 0) {
            NewLine();
            Indent(indent + 2);
          }
          unsigned char c = static_cast<unsigned char>(b_[p_ + i]);
          out_ += hex[c >> 4];
          out_ += hex[c & 15];
        }
        p_ += n;
        out_ += "}";
        break;
      }
      case vaSet: {
        out_ += "[";
        bool first = true;
        for (;;) {
          std::string id = Str();
          if (id.empty()) break;
          CheckIdent(id, false);
          if (!first) out_ += ", ";
          out_ += id;
          first = false;
        }
        out_ += "]";
        break;
      }
      case vaCollection: {
        out_ += "<";
        while (PeekByte() != 0) {
          NewLine();
          Indent(indent + 2);
          out_ += "item";
          unsigned char n = PeekByte();
          if (n == vaInt8 || n == vaInt16 || n == vaInt32) {
            ++p_;
            out_ += " [" + std::to_string(IntValue(n)) + "]";
          }
          NewLine();
          if (Byte1() != vaList) Fail("Invalid property value");
          while (PeekByte() != 0) ConvertProperty(indent + 4);
          ++p_;
          Indent(indent + 2);
          out_ += "end";
        }
        ++p_;
        out_ += ">";
        break;
      }
      default:
        Fail("Invalid property value");
    }
    --depth_;
  }

  const std::string& b_;
  size_t p_ = 0;
  int depth_ = 0;
  std::string out_;
};

std::string ReadRest(TStream* s) {
  Int64 n = s->Size() - s->Position();
  std::string r;
  if (n <= 0) return r;
  r.resize(static_cast<size_t>(n));
  s->ReadBuffer(r.data(), static_cast<Integer>(n));
  return r;
}

}  // namespace

RawByteString ObjectTextToBinaryBytes(const RawByteString& Text, const TIncludeResolver& Include) {
  TextParser parser(Text, Include);
  return parser.Convert();
}

RawByteString ObjectBinaryToTextBytes(const RawByteString& Binary) {
  BinaryToText conv(Binary);
  return conv.Convert();
}

void ObjectTextToBinary(TStream* Input, TStream* Output) {
  std::string bin = ObjectTextToBinaryBytes(ReadRest(Input));
  Output->WriteBuffer(bin.data(), static_cast<Integer>(bin.size()));
}

void ObjectBinaryToText(TStream* Input, TStream* Output) {
  std::string text = ObjectBinaryToTextBytes(ReadRest(Input));
  Output->WriteBuffer(text.data(), static_cast<Integer>(text.size()));
}
