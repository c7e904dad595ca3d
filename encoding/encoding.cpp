#include "tavrel/encoding.h"

#include <array>
#include <cstdint>

namespace tavrel::encoding {
namespace {

// Unicode form of the bytes 0x80-0x9F. The unassigned bytes keep their own value,
// so they pass through as C1 controls.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

constexpr char32_t kNoCharacter = 0xFFFFFFFF;

char16_t ToUnicode(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  if (value >= 0x80 && value <= 0x9F) {
    return kHighControlRange[value - 0x80];
  }
  return value;
}

// The Windows-1252 byte of a character, or nullopt when it has none.
std::optional<char> ToCp1252(char32_t character) {
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
    return static_cast<char>(character);
  }
  for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
    if (kHighControlRange[i] == character) {
      return static_cast<char>(0x80 + i);
    }
  }
  return std::nullopt;
}

void AppendUtf8(char32_t character, std::string& out) {
  if (character < 0x80) {
    out.push_back(static_cast<char>(character));
  } else if (character < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (character >> 6)));
    out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (character >> 12)));
    out.push_back(static_cast<char>(0x80 | ((character >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
  }
}

// One decoded UTF-8 sequence: the character (kNoCharacter when ill-formed) and
// the number of bytes it consumed, at least one.
struct Decoded {
  char32_t character;
  std::size_t length;
};

// Decodes the sequence at the start of `input` (not empty). An ill-formed
// sequence consumes its maximal valid prefix, so that one replacement stands for
// it and decoding resumes at the first byte that broke it.
Decoded DecodeUtf8(std::string_view input) {
  const auto lead = static_cast<unsigned char>(input[0]);
  if (lead < 0x80) {
    return {lead, 1};
  }
  std::size_t length = 0;
  char32_t character = 0;
  // The second byte's range excludes overlongs (E0, F0), surrogates (ED) and
  // characters above U+10FFFF (F4).
  unsigned char secondLow = 0x80;
  unsigned char secondHigh = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    character = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    character = lead & 0x0F;
    secondLow = lead == 0xE0 ? 0xA0 : 0x80;
    secondHigh = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    character = lead & 0x07;
    secondLow = lead == 0xF0 ? 0x90 : 0x80;
    secondHigh = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return {kNoCharacter, 1};
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= input.size()) {
      return {kNoCharacter, i};
    }
    const auto next = static_cast<unsigned char>(input[i]);
    const unsigned char low = i == 1 ? secondLow : 0x80;
    const unsigned char high = i == 1 ? secondHigh : 0xBF;
    if (next < low || next > high) {
      return {kNoCharacter, i};
    }
    character = (character << 6) | (next & 0x3F);
  }
  return {character, length};
}

// Decodes the next character of `utf8` (not empty), advances past it and gives
// its Windows-1252 byte, or nullopt when it is ill-formed or has no such byte.
std::optional<char> TakeCp1252Byte(std::string_view& utf8) {
  const Decoded decoded = DecodeUtf8(utf8);
  utf8.remove_prefix(decoded.length);
  return decoded.character == kNoCharacter ? std::nullopt : ToCp1252(decoded.character);
}

bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }
bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::string Cp1252ToUtf8(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  for (const char byte : cp1252) {
    AppendUtf8(ToUnicode(byte), out);
  }
  return out;
}

std::u16string Cp1252ToUtf16(std::string_view cp1252) {
  std::u16string out;
  out.reserve(cp1252.size());
  for (const char byte : cp1252) {
    out.push_back(ToUnicode(byte));
  }
  return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const std::optional<char> byte = TakeCp1252Byte(utf8);
    if (!byte) {
      return std::nullopt;
    }
    out.push_back(*byte);
  }
  return out;
}

std::string Utf8ToCp1252Lossy(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    out.push_back(TakeCp1252Byte(utf8).value_or('?'));
  }
  return out;
}

std::string Utf16ToCp1252(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t unit = utf16[i];
    if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      ++i;  // a pair is one character beyond U+FFFF: one '?' for both units
    }
    out.push_back(IsSurrogate(unit) ? '?' : ToCp1252(unit).value_or('?'));
  }
  return out;
}

}  // namespace tavrel::encoding
