#include "internal/forgiving_input.h"

#include <cstddef>

#include "tavrel/ascii.h"
#include "tavrel/encoding.h"

namespace tavrel::cli {
namespace {

// The zeros of Unicode's decimal digit sets (category Nd) besides ASCII; each
// set is the ten code points from its zero.
constexpr char32_t kDigitZeros[] = {
    0x0660,  0x06F0,  0x07C0,  0x0966,  0x09E6,  0x0A66,  0x0AE6,  0x0B66,  0x0BE6,  0x0C66,
    0x0CE6,  0x0D66,  0x0DE6,  0x0E50,  0x0ED0,  0x0F20,  0x1040,  0x1090,  0x17E0,  0x1810,
    0x1946,  0x19D0,  0x1A80,  0x1A90,  0x1B50,  0x1BB0,  0x1C40,  0x1C50,  0xA620,  0xA8D0,
    0xA900,  0xA9D0,  0xA9F0,  0xAA50,  0xABF0,  0xFF10,  0x104A0, 0x10D30, 0x11066, 0x110F0,
    0x11136, 0x111D0, 0x112F0, 0x11450, 0x114D0, 0x11650, 0x116C0, 0x11730, 0x118E0, 0x11950,
    0x11C50, 0x11D50, 0x11DA0, 0x16A60, 0x16AC0, 0x16B50, 0x1D7CE, 0x1D7D8, 0x1D7E2, 0x1D7EC,
    0x1D7F6, 0x1E140, 0x1E2F0, 0x1E950, 0x1FBF0,
};

// A letter and a combining accent after it, and the one letter they make.
struct Accent {
  char32_t mark;
  std::string_view bases;
  std::u32string_view composed;
};
constexpr Accent kAccents[] = {
    {0x0300, "AEIOUaeiou", U"\u00C0\u00C8\u00CC\u00D2\u00D9\u00E0\u00E8\u00EC\u00F2\u00F9"},
    {0x0301, "AEIOUYaeiouy",
     U"\u00C1\u00C9\u00CD\u00D3\u00DA\u00DD\u00E1\u00E9\u00ED\u00F3\u00FA\u00FD"},
    {0x0302, "AEIOUaeiou", U"\u00C2\u00CA\u00CE\u00D4\u00DB\u00E2\u00EA\u00EE\u00F4\u00FB"},
    {0x0303, "ANOano", U"\u00C3\u00D1\u00D5\u00E3\u00F1\u00F5"},
    {0x0308, "AEIOUYaeiouy",
     U"\u00C4\u00CB\u00CF\u00D6\u00DC\u0178\u00E4\u00EB\u00EF\u00F6\u00FC\u00FF"},
    {0x030A, "Aa", U"\u00C5\u00E5"},
    {0x0327, "Cc", U"\u00C7\u00E7"},
};

// The UTF-8 bytes of a code point, to compare and write the tables' characters.
class Utf8Char {
 public:
  explicit Utf8Char(char32_t c) {
    if (c < 0x80) {
      Put(c);
    } else if (c < 0x800) {
      Put(0xC0 | (c >> 6));
      Put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      Put(0xE0 | (c >> 12));
      Put(0x80 | ((c >> 6) & 0x3F));
      Put(0x80 | (c & 0x3F));
    } else {
      Put(0xF0 | (c >> 18));
      Put(0x80 | ((c >> 12) & 0x3F));
      Put(0x80 | ((c >> 6) & 0x3F));
      Put(0x80 | (c & 0x3F));
    }
  }
  std::string_view View() const { return {bytes_, size_}; }

 private:
  void Put(char32_t byte) { bytes_[size_++] = static_cast<char>(byte); }
  char bytes_[4] = {};
  std::size_t size_ = 0;
};

// The bytes of the UTF-8 sequence starting at `at` as its lead byte announces
// them (one byte for a byte that starts none); not checked further.
std::string_view SequenceAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  return text.substr(at, length);
}

std::optional<char> DigitOf(std::string_view sequence) {
  for (char32_t zero : kDigitZeros) {
    for (char digit = 0; digit < 10; ++digit) {
      if (Utf8Char(zero + static_cast<char32_t>(digit)).View() == sequence) return '0' + digit;
    }
  }
  return std::nullopt;
}

// Digit groups split by blanks that make eight digits, as bank codes are printed.
std::string JoinDigitGroups(std::string text) {
  const std::size_t first = text.find_first_not_of(" \t");
  const std::size_t last = text.find_last_not_of(" \t");
  if (first == std::string::npos) return text;
  std::string digits;
  bool grouped = false;
  for (std::size_t i = first; i <= last; ++i) {
    if (IsAsciiDigit(text[i])) {
      digits += text[i];
    } else if (text[i] == ' ') {
      grouped = true;
    } else {
      return text;
    }
  }
  return grouped && digits.size() == 8 ? digits : text;
}

std::string HexByte(unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  return {'0', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
}

// Why `utf8` has no Windows-1252 form: its first character that has none, or
// the first byte that breaks the UTF-8.
std::string FaultOf(std::string_view utf8) {
  for (std::size_t at = 0; at < utf8.size();) {
    const std::string_view sequence = SequenceAt(utf8, at);
    if (!encoding::Utf8ToCp1252(sequence)) {
      bool wellFormed = sequence.size() > 1 && at + sequence.size() <= utf8.size();
      for (std::size_t i = 1; wellFormed && i < sequence.size(); ++i)
        wellFormed = (static_cast<unsigned char>(sequence[i]) & 0xC0) == 0x80;
      if (wellFormed) return "'" + std::string(sequence) + "' has no Windows-1252 form";
      return "not valid UTF-8 (byte " + HexByte(static_cast<unsigned char>(utf8[at])) +
             " at position " + std::to_string(at + 1) + ")";
    }
    at += sequence.size();
  }
  return "not valid UTF-8";
}

}  // namespace

std::string AsciiDigits(std::string_view utf8) {
  std::string text;
  for (std::size_t at = 0; at < utf8.size();) {
    const std::string_view sequence = SequenceAt(utf8, at);
    const std::optional<char> digit = sequence.size() > 1 ? DigitOf(sequence) : std::nullopt;
    if (digit) {
      text += *digit;
    } else {
      text += sequence;
    }
    at += sequence.size();
  }
  return text;
}

std::string ComposeAccents(std::string_view utf8) {
  std::string text;
  for (std::size_t at = 0; at < utf8.size(); ++at) {
    text += utf8[at];
    // Combining accents U+0300 to U+036F are two bytes, CC 80 to CD AF.
    if (at + 2 >= utf8.size() || (utf8[at + 1] != '\xCC' && utf8[at + 1] != '\xCD')) continue;
    const std::string_view mark = utf8.substr(at + 1, 2);
    for (const Accent& accent : kAccents) {
      const std::size_t base = accent.bases.find(utf8[at]);
      if (base == std::string_view::npos || Utf8Char(accent.mark).View() != mark) continue;
      text.pop_back();
      text += Utf8Char(accent.composed[base]).View();
      at += mark.size();
      break;
    }
  }
  return text;
}

ReadArgument ReadForgiving(std::string_view utf8, ArgumentKind kind) {
  std::string text(utf8);
  if (kind != ArgumentKind::kAsGiven) text = AsciiDigits(text);
  if (kind == ArgumentKind::kSearchText) text = ComposeAccents(text);
  if (kind == ArgumentKind::kBankCode) text = JoinDigitGroups(std::move(text));
  std::optional<std::string> cp1252 = encoding::Utf8ToCp1252(text);
  if (!cp1252) return {std::nullopt, FaultOf(text)};
  return {std::move(cp1252), {}};
}

}  // namespace tavrel::cli
