// German IBANs: DE, the check digits, the bank code and the account left-padded
// to ten digits. Building one is the standard conversion, pure arithmetic.
#include "internal/german.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "internal/access.h"
#include "internal/checksum.h"
#include "internal/notation.h"
#include "internal/registry.h"
#include "internal/words.h"
#include "tavrel/ascii.h"
#include "tavrel/iban.h"

namespace tavrel::iban {
namespace {

constexpr std::size_t kAccountLength = 10;

// The account outcomes, in the service's order: bank code before account.
Outcome FormFault(std::string_view bankCode, std::string_view account) {
  if (bankCode.size() != kBankCodeLength) return Outcome::kBankCodeLength;
  if (!IsEightDigits(bankCode)) return Outcome::kBankCodeNotDigits;
  if (account.empty() || account.size() > kAccountLength) return Outcome::kAccountLength;
  if (!std::all_of(account.begin(), account.end(), IsAsciiDigit)) return Outcome::kAccountNotDigits;
  return Outcome::kValid;
}

}  // namespace

#if defined(__SSE2__) && defined(__x86_64__)

// Germany's layout, DE2!n8!n10!n, read straight from the text in two 16-byte
// loads, at 0 and at 6: in the first, "DE" and then digits; in the second,
// digits only. Its checksum is the number of BBAN + "1314" + check digits: the
// BBAN's first two digits stand for 10^22, its last sixteen, as two pieces of
// eight, for 10^14 and 10^6 (all taken modulo 97). The pieces come from the
// sixteen digit values by three multiply-adds: pairs, quads, eights.
std::optional<Outcome> CheckGermanElectronicForm(std::string_view text) {
  if (text.size() != kGermanLength) return std::nullopt;
  const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data()));
  const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + 6));
  // Each byte minus what it should be: 0 for the country code's letters, at
  // most 9 for a digit (bytes wrap, so anything below '0' is large).
  const __m128i expectedHead = _mm_setr_epi8(kGermany[0], kGermany[1], '0', '0', '0', '0', '0', '0',
                                             '0', '0', '0', '0', '0', '0', '0', '0');
  const __m128i mostHead = _mm_setr_epi8(0, 0, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9);
  const __m128i nine = _mm_set1_epi8(9);
  const __m128i headValues = _mm_sub_epi8(head, expectedHead);
  const __m128i tailValues = _mm_sub_epi8(tail, _mm_set1_epi8('0'));
  const __m128i inRange =
      _mm_and_si128(_mm_cmpeq_epi8(_mm_max_epu8(headValues, mostHead), mostHead),
                    _mm_cmpeq_epi8(_mm_max_epu8(tailValues, nine), nine));
  if (_mm_movemask_epi8(inRange) != 0xFFFF) return std::nullopt;

  const __m128i zero = _mm_setzero_si128();
  const __m128i tens = _mm_setr_epi16(10, 1, 10, 1, 10, 1, 10, 1);
  // The head's pairs of characters 2 and 3 (the check digits) and 4 and 5.
  const auto headPairs = static_cast<std::uint64_t>(_mm_cvtsi128_si64(
      _mm_srli_si128(_mm_madd_epi16(_mm_unpacklo_epi8(headValues, zero), tens), 4)));
  const auto checkDigits = static_cast<unsigned>(headPairs & 0xFFFFFFFF);
  if (checkDigits < 2 || checkDigits > 98) return Outcome::kIbanChecksum;
  const __m128i pairs = _mm_packs_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(tailValues, zero), tens),
                                        _mm_madd_epi16(_mm_unpackhi_epi8(tailValues, zero), tens));
  const __m128i quads = _mm_madd_epi16(pairs, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
  const __m128i eights = _mm_madd_epi16(_mm_packs_epi32(quads, quads),
                                        _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
  const auto both = static_cast<std::uint64_t>(_mm_cvtsi128_si64(eights));
  constexpr std::uint64_t kFirstTwo = PowerOfTen(22);
  constexpr std::uint64_t kFirstEight = PowerOfTen(14);
  constexpr std::uint64_t kSecondEight = PowerOfTen(6);
  const std::uint64_t sum = (headPairs >> 32) * kFirstTwo + (both & 0xFFFFFFFF) * kFirstEight +
                            (both >> 32) * kSecondEight + CountryTerm(kGermany) + checkDigits;
  return sum % 97 == 1 ? Outcome::kValid : Outcome::kIbanChecksum;
}

#else

// Germany's layout, DE2!n8!n10!n, read straight from the text: the words at 0,
// 8 and 14 cover it, and its eighteen BBAN digits are two pieces of eight
// (positions 5 to 12 and 13 to 20) and the last two, which stand for 10^16, 10^8
// and 10^6 before the country code and check digits.
std::optional<Outcome> CheckGermanElectronicForm(std::string_view text) {
  if (text.size() != kGermanLength) return std::nullopt;
  constexpr std::uint64_t kCountryBytes = 0xFFFF;
  constexpr std::uint64_t kGermanyBytes = std::uint64_t{static_cast<unsigned char>(kGermany[0])} |
                                          std::uint64_t{static_cast<unsigned char>(kGermany[1])}
                                              << 8;
  const char* chars = text.data();
  const std::uint64_t head = LoadWord(chars);
  const std::uint64_t digits = (BytesInRange(head, '0', '9') | (kHighBits & kCountryBytes)) &
                               BytesInRange(LoadWord(chars + 8), '0', '9') &
                               BytesInRange(LoadWord(chars + 14), '0', '9');
  if ((head & kCountryBytes) != kGermanyBytes || digits != kHighBits) return std::nullopt;
  const unsigned checkDigits =
      static_cast<unsigned>(chars[2] - '0') * 10 + static_cast<unsigned>(chars[3] - '0');
  if (checkDigits < 2 || checkDigits > 98) return Outcome::kIbanChecksum;
  const std::uint64_t lastTwo = static_cast<std::uint64_t>(chars[20] - '0') * 10 +
                                static_cast<std::uint64_t>(chars[21] - '0');
  constexpr std::uint64_t kFirstEight = PowerOfTen(16);
  constexpr std::uint64_t kSecondEight = PowerOfTen(8);
  constexpr std::uint64_t kLastTwo = PowerOfTen(6);
  const std::uint64_t sum = EightDigitValue(LoadWord(chars + 4)) * kFirstEight +
                            EightDigitValue(LoadWord(chars + 12)) * kSecondEight +
                            lastTwo * kLastTwo + CountryTerm(kGermany) + checkDigits;
  return sum % 97 == 1 ? Outcome::kValid : Outcome::kIbanChecksum;
}

#endif

// The account's leading zeros, at most nine, are counted without a branch: in
// its first eight digits and, should it begin with two zeros, in its last
// eight. The first byte that differs from '0' is found by counting trailing
// zero bits; a set top bit ends each count at its word's last byte.
void ReadGermanAccount(const char* iban, GermanAccount& account) {
  constexpr std::size_t kAccountStart = kBbanStart + kBankCodeLength;
  constexpr std::uint64_t kStop = std::uint64_t{1} << 63;
  const std::uint64_t bankCode = LoadWord(iban + kBbanStart);
  const std::uint64_t accountHead = LoadWord(iban + kAccountStart);
  const std::uint64_t accountLastEight = LoadWord(iban + kAccountStart + 2);
  const auto accountTail = static_cast<std::uint16_t>(accountLastEight >> 48);
  const auto inFirst =
      static_cast<std::size_t>(std::countr_zero((accountHead ^ kAsciiZeros) | kStop)) / 8;
  const auto inLast =
      2 + static_cast<std::size_t>(std::countr_zero((accountLastEight ^ kAsciiZeros) | kStop)) / 8;
  const std::size_t takeFirst = std::size_t{0} - static_cast<std::size_t>(inFirst < 2);
  detail::Access::AssignGermanAccount(account, bankCode, accountHead, accountTail,
                                      (inFirst & takeFirst) | (inLast & ~takeFirst));
}

std::optional<GermanAccount> SplitGerman(const IbanText& iban) {
  if (iban.countryCode() != kGermany || Validate(iban) != Outcome::kValid) return std::nullopt;
  std::optional<GermanAccount> account(std::in_place);
  ReadGermanAccount(iban.view().data(), *account);
  return account;
}

IbanResult BuildGerman(std::string_view bankCode, std::string_view account) {
  if (const Outcome fault = FormFault(bankCode, account); fault != Outcome::kValid) {
    return {fault, {}};
  }
  // "DE00", the bank code and the account right-aligned in zeros: with check
  // digits 00 the remainder is that of BBAN + "131400", from which the check
  // digits follow.
  std::array<char, detail::Access::kIbanBytes> bytes;
  bytes.fill('0');
  bytes[0] = kGermany[0];
  bytes[1] = kGermany[1];
  std::copy(bankCode.begin(), bankCode.end(), bytes.begin() + kBbanStart);
  std::copy(account.begin(), account.end(),
            bytes.begin() + static_cast<std::ptrdiff_t>(kGermanLength - account.size()));
  Words words;
  std::memcpy(words.data(), bytes.data(), bytes.size());
  const unsigned checkDigits = 98 - Mod97(words, *FindLayout(kGermany[0], kGermany[1]), false);
  bytes[2] = static_cast<char>('0' + checkDigits / 10);
  bytes[3] = static_cast<char>('0' + checkDigits % 10);
  IbanResult built{Outcome::kValid, {}};
  detail::Access::AssignWords(built.iban, bytes, kGermanLength);
  return built;
}

}  // namespace tavrel::iban
