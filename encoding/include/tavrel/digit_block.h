// An account text read once into the digits of its right-aligned form, for the
// check path: one 16-byte load, a few vector compares, no branch on the text's
// length (mixed lengths would mispredict).
//
// The load takes the 16 bytes that end where the text ends. When those bytes lie
// in one memory page with the text's last byte they are readable wherever the
// text is, as the C library's own string routines assume; the bytes before the
// text are masked out before anything reads them. A text that ends within 15
// bytes of a page's start is copied byte by byte instead. Sanitizers are told
// that the over-read is deliberate.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrel {

// Digits of a text of one to sixteen characters, right-aligned: byte 16 - n + i
// holds the value of character i when it is a digit; bytes before the text are
// 0. `digits` says that every character is a decimal digit, `nonZero` that some
// digit is not 0.
struct DigitBlock {
  std::array<std::uint8_t, 16> value;
  bool digits;
  bool nonZero;
};

namespace digit_block_detail {

inline constexpr std::size_t kPageSize = 4096;

#if defined(__SSE2__)
#if defined(__clang__)
#define TAVREL_DELIBERATE_OVERREAD __attribute__((no_sanitize("address", "thread", "memory")))
#else
#define TAVREL_DELIBERATE_OVERREAD __attribute__((no_sanitize("address", "thread")))
#endif

// The 16 bytes that end at `end`, one of them `end[-1]`; the caller has made
// sure they lie in `end[-1]`'s page.
TAVREL_DELIBERATE_OVERREAD inline __m128i LoadEndingAt(const char* end) {
  const auto address = reinterpret_cast<std::uintptr_t>(end) - 16;
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(address));
}
// The aligned 16-byte block at `address`, which holds a byte of the caller's
// text and so lies in a readable page.
TAVREL_DELIBERATE_OVERREAD inline __m128i LoadAlignedBlock(std::uintptr_t address) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(address));
}
#undef TAVREL_DELIBERATE_OVERREAD

// The last `n` (one to sixteen) bytes of the text that ends at `end`, right-
// aligned in a block, and the mask of their lanes; the other lanes hold
// whatever the load found and are to be masked out.
struct TailBlock {
  __m128i bytes;
  __m128i inside;
};

inline TailBlock LoadTail(const char* end, std::size_t n) {
  TailBlock tail;
  if (((reinterpret_cast<std::uintptr_t>(end) - 1) % kPageSize) >= 15) {
    tail.bytes = LoadEndingAt(end);
  } else {
    alignas(16) std::array<char, 16> copy{};
    std::memcpy(copy.data() + 16 - n, end - n, n);
    tail.bytes = _mm_load_si128(reinterpret_cast<const __m128i*>(copy.data()));
  }
  const __m128i index = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
  tail.inside = _mm_cmpgt_epi8(index, _mm_set1_epi8(static_cast<char>(15 - n)));
  return tail;
}
#endif

}  // namespace digit_block_detail

// `text` must hold one to sixteen characters.
inline DigitBlock ReadDigitBlock(std::string_view text) {
  const std::size_t n = text.size();
  DigitBlock block;
#if defined(__SSE2__)
  const auto [bytes, inside] = digit_block_detail::LoadTail(text.data() + n, n);
  const __m128i values = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
  const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(values, _mm_set1_epi8(9)), values);
  const __m128i digits = _mm_and_si128(values, inside);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(block.value.data()), digits);
  block.digits = _mm_movemask_epi8(_mm_andnot_si128(isDigit, inside)) == 0;
  block.nonZero = _mm_movemask_epi8(_mm_cmpeq_epi8(digits, _mm_setzero_si128())) != 0xFFFF;
#else
  block.value = {};
  block.digits = true;
  bool nonZero = false;
  for (std::size_t i = 0; i < n; ++i) {
    const auto value = static_cast<std::uint8_t>(static_cast<unsigned char>(text[i]) - '0');
    block.digits &= value <= 9;
    nonZero |= value != 0;
    block.value[16 - n + i] = value <= 9 ? value : 0;
  }
  block.nonZero = nonZero;
#endif
  return block;
}

// Whether every byte of `text` is below 0x80, read in 16-byte blocks: a short
// text takes one load and no loop, whatever its length.
inline bool IsAsciiText(std::string_view text) {
#if defined(__SSE2__)
  const std::size_t n = text.size();
  if (n == 0) return true;
  int high = 0;
  std::size_t done = 0;
  for (; n - done > 16; done += 16) {
    high |=
        _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + done)));
  }
  // The last one to sixteen bytes, in the block that ends with the text.
  const auto [bytes, inside] = digit_block_detail::LoadTail(text.data() + n, n - done);
  high |= _mm_movemask_epi8(_mm_and_si128(bytes, inside));
  return high == 0;
#else
  unsigned char bits = 0;
  for (const char c : text) bits |= static_cast<unsigned char>(c);
  return bits < 0x80;
#endif
}

// The length of the NUL-terminated `text` (which must not be null), and whether
// all its bytes are below 0x80, in one pass over aligned 16-byte blocks. An
// aligned block never crosses a page, so the bytes it holds before the text's
// start or after its end are readable; they are masked out.
struct CText {
  std::size_t length;
  bool ascii;
};

[[gnu::always_inline]] inline CText ReadCText(const char* text) {
#if defined(__SSE2__)
  const auto start = reinterpret_cast<std::uintptr_t>(text);
  std::uintptr_t block = start & ~std::uintptr_t{15};
  const __m128i zero = _mm_setzero_si128();
  // Bits of the bytes before the text in the first block.
  const unsigned before = (1U << (start - block)) - 1;
  __m128i bytes = digit_block_detail::LoadAlignedBlock(block);
  unsigned ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero))) & ~before;
  unsigned high = static_cast<unsigned>(_mm_movemask_epi8(bytes)) & ~before;
  while (ends == 0) {
    block += 16;
    bytes = digit_block_detail::LoadAlignedBlock(block);
    ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero)));
    high |= ends == 0 ? static_cast<unsigned>(_mm_movemask_epi8(bytes))
                      : static_cast<unsigned>(_mm_movemask_epi8(bytes)) & ((ends & -ends) - 1);
  }
  const unsigned end = static_cast<unsigned>(std::countr_zero(ends));
  // In the first block only the bytes before the end count; `high` already
  // holds none after it there, as the loop did not run or masked them.
  if (block == (start & ~std::uintptr_t{15})) high &= (1U << end) - 1;
  return {block + end - start, high == 0};
#else
  const std::size_t length = std::strlen(text);
  return {length, IsAsciiText({text, length})};
#endif
}

}  // namespace tavrel
