// The Windows-1252 converter on arbitrary bytes, read three ways: as Windows-1252
// text (every byte string survives UTF-8 and UTF-16 round trips), as UTF-8 (a
// strict success is lossless and agrees with the lossy conversion; a strict
// failure leaves a '?' in the lossy result) and as little-endian UTF-16.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_assert.h"
#include "tavrel/encoding.h"

namespace {

using namespace tavrel::encoding;

void Cp1252RoundTrips(std::string_view cp1252) {
  const std::string utf8 = Cp1252ToUtf8(cp1252);
  const std::optional<std::string> strict = Utf8ToCp1252(utf8);
  FUZZ_ASSERT(strict.has_value() && *strict == cp1252);
  FUZZ_ASSERT(Utf8ToCp1252Lossy(utf8) == cp1252);
  FUZZ_ASSERT(Utf16ToCp1252(Cp1252ToUtf16(cp1252)) == cp1252);
}

void Utf8Converts(std::string_view utf8) {
  const std::optional<std::string> strict = Utf8ToCp1252(utf8);
  const std::string lossy = Utf8ToCp1252Lossy(utf8);
  FUZZ_ASSERT(lossy.size() <= utf8.size());
  if (strict) {
    FUZZ_ASSERT(*strict == lossy);
    FUZZ_ASSERT(Cp1252ToUtf8(*strict) == utf8);
  } else {
    FUZZ_ASSERT(lossy.find('?') != std::string::npos);
  }
}

void Utf16Converts(std::u16string_view utf16) {
  const std::string cp1252 = Utf16ToCp1252(utf16);
  FUZZ_ASSERT(cp1252.size() <= utf16.size());
  const std::u16string back = Cp1252ToUtf16(cp1252);
  FUZZ_ASSERT(Utf16ToCp1252(back) == cp1252);
  if (cp1252.find('?') == std::string::npos) FUZZ_ASSERT(back == utf16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Cp1252RoundTrips(bytes);
  Utf8Converts(bytes);

  std::u16string utf16(size / 2, u'\0');
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    utf16[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  Utf16Converts(utf16);
  return 0;
}
