// The usual lines of a batch, answered without the general line handling: a
// line of bytes from blank to DEL whose line end (LF or CRLF) lies within the
// 32 bytes that start it needs no conversion and no byte scan of its own. One
// look at those 32 bytes finds its line end and its tabs and shows that nothing
// else in it needs handling. The first line that is not usual ends the run and
// goes through the general handling, which answers every line the same way.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrel::cli {

// An answer's text after the echoed line, in a slot of fixed size so that
// writing it is a copy of known length; size 0 for a text too long for it.
template <std::size_t kSlotSize>
struct FixedTail {
  static constexpr std::size_t kSlot = kSlotSize;
  std::array<char, kSlot> bytes{};
  std::size_t size = 0;

  void Assign(std::string_view text) {
    if (text.size() > kSlot) return;
    std::memcpy(bytes.data(), text.data(), text.size());
    size = text.size();
  }
};

#if defined(__SSE2__)
namespace usual_lines_detail {

inline void Store(char* to, __m128i bytes) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(to), bytes);
}

// Bit i set where byte i of the 32 in `low` and `high` meets `test`.
template <typename Test>
std::uint32_t Mask32(__m128i low, __m128i high, Test test) {
  return static_cast<std::uint32_t>(_mm_movemask_epi8(test(low))) |
         static_cast<std::uint32_t>(_mm_movemask_epi8(test(high))) << 16;
}

}  // namespace usual_lines_detail

// Answers the run of usual lines at the start of `lines` and returns the bytes
// it took. `answer(line, tabs)` gets a line (its end removed) and the mask of
// its tabs (bit i for byte i); it returns the tail to write after the echoed
// line, or nullptr to leave the line to the general handling. Answers are
// gathered on the stack and appended to `out` in blocks.
template <typename Tail, typename Answer>
std::size_t AnswerUsualLines(std::string_view lines, std::string& out, const Answer& answer) {
  using usual_lines_detail::Mask32;
  using usual_lines_detail::Store;
  constexpr std::size_t kWindow = 32;
  std::array<char, std::size_t{1} << 14> answers;
  std::size_t used = 0;
  const char* const begin = lines.data();
  const char* const end = begin + lines.size();
  const char* line = begin;
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const __m128i tab = _mm_set1_epi8('\t');
  const __m128i blank = _mm_set1_epi8(' ');
  while (static_cast<std::size_t>(end - line) >= kWindow) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + 16));
    const std::uint32_t lineFeeds =
        Mask32(low, high, [&](__m128i v) { return _mm_cmpeq_epi8(v, lineFeed); });
    if (lineFeeds == 0) break;
    const auto lineEnd = static_cast<std::size_t>(std::countr_zero(lineFeeds));
    const std::size_t size = lineEnd - (lineEnd > 0 && line[lineEnd - 1] == '\r');
    const std::uint32_t inLine = (std::uint32_t{1} << size) - 1;
    // Signed, bytes from 0x80 on are below the blank too.
    const std::uint32_t belowBlank =
        Mask32(low, high, [&](__m128i v) { return _mm_cmplt_epi8(v, blank); }) & inLine;
    const std::uint32_t tabs =
        Mask32(low, high, [&](__m128i v) { return _mm_cmpeq_epi8(v, tab); }) & inLine;
    if (belowBlank != tabs) break;
    const Tail* tail = answer(std::string_view(line, size), tabs);
    if (tail == nullptr) break;
    // Whole windows and slots are stored, as vectors; the next write
    // overwrites what lies past the part that counts.
    Store(answers.data() + used, low);
    Store(answers.data() + used + 16, high);
    used += size;
    for (std::size_t i = 0; i < Tail::kSlot; i += 16) {
      Store(answers.data() + used + i,
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(tail->bytes.data() + i)));
    }
    used += tail->size;
    line += lineEnd + 1;
    if (used > answers.size() - kWindow - Tail::kSlot) {
      out.append(answers.data(), used);
      used = 0;
    }
  }
  out.append(answers.data(), used);
  return static_cast<std::size_t>(line - begin);
}
#else
// Without SSE2 every line goes through the general handling.
template <typename Tail, typename Answer>
std::size_t AnswerUsualLines(std::string_view, std::string&, const Answer&) {
  return 0;
}
#endif

}  // namespace tavrel::cli
