// The one Windows-1252 converter used at every edge of the system: UTF-8 for the
// command line and files, UTF-16 for the automation layer, QString via UTF-16.
//
// Byte mapping: 0x00-0x7F and 0xA0-0xFF are the Unicode characters of the same
// value; 0x80-0x9F are the Windows-1252 punctuation and letters (0x80 is U+20AC,
// the euro sign). The five bytes that Windows-1252 leaves unassigned (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 controls U+0081, U+008D, U+008F, U+0090 and
// U+009D, as Windows does, so every byte string survives a round trip through
// UTF-8 or UTF-16 unchanged. NUL bytes are ordinary characters throughout.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrel::encoding {

// Every Windows-1252 byte has a Unicode form, so these never fail.
std::string Cp1252ToUtf8(std::string_view cp1252);
std::u16string Cp1252ToUtf16(std::string_view cp1252);

// Strict: nullopt when the input is not valid UTF-8 or holds a character that has
// no Windows-1252 form.
//
// Valid UTF-8 here means shortest form only (no overlong encodings such as
// C0 80), no UTF-16 surrogates (U+D800-U+DFFF), nothing above U+10FFFF, and no
// sequence cut short by the end of the input or by a byte that cannot follow.
// Characters without a Windows-1252 form are all characters outside Latin-1 and
// the 27 assigned in 0x80-0x9F, including the C1 controls other than the five
// unassigned bytes above.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// Lossy: invalid sequences and characters without a Windows-1252 form become '?',
// as the Windows ANSI conversion does.
//
// One '?' stands for each character without a Windows-1252 form and for each
// maximal ill-formed subsequence: a byte that cannot start a sequence, or the
// longest start of a sequence that is valid so far but then broken (so "E2 82"
// followed by "A" gives "?A", and a lone "80" gives "?").
std::string Utf8ToCp1252Lossy(std::string_view utf8);

// One '?' stands for each unpaired surrogate and for each character (a surrogate
// pair counts as one) without a Windows-1252 form.
std::string Utf16ToCp1252(std::u16string_view utf16);

}  // namespace tavrel::encoding
