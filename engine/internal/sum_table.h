// A recipe of the sum-and-modulus family compiled into a table by position: what
// each digit at each position of the ten-digit form adds to the sum, already
// reduced by the modulus, and which check digits each remainder accepts. Running
// it is the same short loop for every such recipe, with no builder, no record and
// no code of its own, which keeps mixed batches from mispredicting. A few
// procedures compile to such a table too (a retry moved left, a choice by one
// position). Recipes outside the family keep the record path.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "recipe.h"
#include "sum_rules.h"
#include "tavrel/ascii.h"
#include "tavrel/digit_block.h"

namespace tavrel::engine {

struct SumTable {
  // Added to the digit at position 1 to mark a rule that rejects the account
  // outright: sums at or above it accept nothing.
  static constexpr unsigned kReject = 128;

  bool usable = false;
  bool zeroAccountInvalid = false;  // the standard record has no check digit for 0
  std::int8_t validResult = 0;      // 1 for rules without a check digit
  std::uint8_t checkIndex = 9;      // position of the check digit, from 0
  std::uint8_t offset = 0;          // what constants and unused entries add
  std::uint8_t modulus = 11;
  std::uint16_t reciprocal = 0;  // 2^16 / modulus, rounded up
  std::uint8_t retryZeros = 0;   // a failed account is tried moved this far left
  bool retryFitsBySignificantDigits = false;
  // A short account moves left: when the positions whose bytes `shortMask` marks
  // (1 to k) are all 0, the form is moved `shortZeros` places left, and only such
  // a form is retried. Unused when `shortZeros` is 0: every form is retried then.
  std::uint8_t shortZeros = 0;
  std::uint64_t shortMask = 0;
  // Digits at position 1 of the account as received, before any move, that make
  // it invalid, one bit per digit. (Rejections in `values` apply to every form
  // tried.)
  std::uint16_t rejectedUnmovedFirstDigits = 0;
  // Accounts whose positions 1 to 4, read as one number, lie in
  // [exemptFrom, exemptFrom + exemptSpan] are valid without a check. Both are
  // those positions' bytes in big-endian order, where byte order is digit order.
  static constexpr std::uint32_t kNoExemption = 0xFFFFFFFF;  // digits never read so
  std::uint32_t exemptFrom = kNoExemption;
  std::uint32_t exemptSpan = 0;
  std::array<std::uint16_t, 11> accepts{};                // accepted check digits by remainder
  std::array<std::array<std::uint8_t, 10>, 10> values{};  // [position - 1][digit]
  // The table is its sum alone (IsPlainSum below), which batches run on a
  // shorter path. Set by Stored; false is always safe.
  bool plain = false;
};

namespace sum_table_detail {

// The positions (1 to 10) that the recipe's builder puts into entries 1 to 15,
// 0 for entries without an account digit, and the check digit's position; false
// for builders whose record is not a plain selection of positions.
struct EntryPositions {
  std::array<int, 15> position{};
  int checkPosition = 10;
};

constexpr bool PositionsOf(const Layout& layout, EntryPositions& out) {
  const auto inForm = [](int position) { return position >= 1 && position <= 10 ? position : 0; };
  switch (layout.builder) {
    case Builder::Standard:
      for (int k = 0; k < 9; ++k) out.position[static_cast<std::size_t>(k)] = 9 - k;
      return true;
    case Builder::Forward:
      for (int k = 0; k < 10; ++k) out.position[static_cast<std::size_t>(k)] = k + 1;
      return true;
    case Builder::Range: {
      // Check position 0: the check digit is one of the weighted positions, and
      // the rule reads none apart.
      const bool checkDigitWeighted = layout.checkPosition == 0;
      out.checkPosition = checkDigitWeighted ? 10 : layout.checkPosition;
      if (!checkDigitWeighted && inForm(layout.checkPosition) == 0) return false;
      std::size_t entry = 0;
      const int step = layout.leftToRight ? 1 : -1;
      const int from = layout.leftToRight ? layout.firstPosition : layout.lastPosition;
      const int to = layout.leftToRight ? layout.lastPosition : layout.firstPosition;
      for (int position = from; position * step <= to * step && entry < 9; position += step) {
        if (position != layout.checkPosition) out.position[entry++] = inForm(position);
      }
      return true;
    }
    case Builder::None:  // no entries: only rules that read no digit
      return true;
    case Builder::Eser:
      break;
  }
  return false;
}

}  // namespace sum_table_detail

constexpr SumTable CompileSumTable(const Recipe& recipe) {
  SumTable table;
  const std::optional<SumRule> rule = SumRuleOf(recipe.rule);
  sum_table_detail::EntryPositions entries;
  if (!rule || !sum_table_detail::PositionsOf(recipe.layout, entries)) return table;
  const int m = rule->modulus;
  int offset = 0;
  std::array<std::array<int, 10>, 10> values{};
  const std::string_view constant = recipe.rule.constant;
  for (int k = 0; k < rule->products && k < 15; ++k) {
    const int w = recipe.weights[static_cast<std::size_t>(k)];
    const int fromConstant = k - (recipe.rule.constantEntry - 1);
    const int position = entries.position[static_cast<std::size_t>(k)];
    if (!constant.empty() && fromConstant >= 0 &&
        fromConstant < static_cast<int>(constant.size())) {
      offset += ProductValue(
          rule->product, w,
          constant[constant.size() - 1 - static_cast<std::size_t>(fromConstant)] - '0');
    } else if (position == 0) {
      offset += ProductValue(rule->product, w, 0);
    } else {
      for (int d = 0; d <= 9; ++d)
        values[static_cast<std::size_t>(position - 1)][static_cast<std::size_t>(d)] +=
            ProductValue(rule->product, w, d);
    }
  }
  for (std::size_t p = 0; p < 10; ++p) {
    for (std::size_t d = 0; d < 10; ++d)
      table.values[p][d] = static_cast<std::uint8_t>(values[p][d] % m);
  }
  // Rejected digits at position 1 mark the sum past every remainder. The prefix
  // rule rejects ten-digit accounts beginning with 1, 2, 3 or 5; shorter accounts
  // have 0 at position 1.
  unsigned rejected = recipe.rule.rejectedFirstDigits;
  if (recipe.rule.check == Check::Mod11RemainderPrefixRule) {
    for (unsigned d : {1, 2, 3, 5}) rejected |= 1U << d;
  }
  for (std::size_t d = 0; d < 10; ++d) {
    if (((rejected >> d) & 1U) != 0)
      table.values[0][d] = static_cast<std::uint8_t>(table.values[0][d] + SumTable::kReject);
  }
  for (int rest = 0; rest < m; ++rest) {
    table.accepts[static_cast<std::size_t>(rest)] = AcceptedCheckDigits(recipe.rule.check, rest, m);
  }
  table.usable = true;
  table.zeroAccountInvalid = recipe.layout.builder == Builder::Standard;
  table.validResult = recipe.rule.check == Check::NoCheckDigit ? 1 : 0;
  table.checkIndex = static_cast<std::uint8_t>(entries.checkPosition - 1);
  table.offset = static_cast<std::uint8_t>(offset % m);
  table.modulus = static_cast<std::uint8_t>(m);
  table.reciprocal = static_cast<std::uint16_t>((65536 + m - 1) / m);
  return table;
}

namespace sum_table_detail {

// Whether the table accepts the sum of a ten-digit form whose check digit is
// `checkDigit`.
inline bool Accepts(const SumTable& table, unsigned sum, unsigned checkDigit) {
  // Sums stay below 256, where the rounded-up reciprocal divides exactly.
  const unsigned rest = sum - table.modulus * ((sum * table.reciprocal) >> 16);
  return sum < SumTable::kReject && ((table.accepts[rest] >> checkDigit) & 1U) != 0;
}

// The block's digits followed by zeros, in memory: the form whose position 1 is
// byte `first` reads its digit at position p + 1 with one byte load, moved or
// not, and never past the end.
struct PaddedDigits {
  alignas(16) std::array<std::uint8_t, 32> bytes;

  explicit PaddedDigits(const DigitBlock& block) {
    std::memcpy(bytes.data(), block.value.data(), 16);
    std::memset(bytes.data() + 16, 0, 16);
  }
  // The form whose position 1 is byte `first` of the block. From byte 16 on
  // every form is zeros, the one at 16 among them: reads never pass the copy.
  const std::uint8_t* Form(std::size_t first) const {
    return bytes.data() + std::min<std::size_t>(first, 16);
  }
};

// Positions 1 to 4 as one number whose byte order is their digit order.
inline std::uint32_t FirstFourOf(const std::uint8_t* form) {
  return std::uint32_t{form[0]} << 24 | std::uint32_t{form[1]} << 16 | std::uint32_t{form[2]} << 8 |
         form[3];
}

// The sum the table gives the form, reduced parts included.
inline unsigned SumOf(const SumTable& table, const std::uint8_t* form) {
  unsigned sum = table.offset;
#pragma GCC unroll 10
  for (std::size_t p = 0; p < 10; ++p) sum += table.values[p][form[p]];
  return sum;
}

// The number of leading zeros of a form, 10 for a form of zeros, without a
// branch or a loop: a digit (0 to 9) plus 0x7F sets its byte's top bit exactly
// when it is not 0.
inline std::size_t LeadingZerosOf(const std::uint8_t* form) {
  const std::uint64_t low =
      (LoadLittleEndianWord(form) + 0x7F7F7F7F7F7F7F7FULL) & 0x8080808080808080ULL;
  // A mark past position 10 stops the count there.
  const unsigned high = ((form[8] + 0x7FU) & 0x80U) | ((form[9] + 0x7FU) & 0x80U) << 8 | 0x800000U;
  const auto inLow = static_cast<std::size_t>(std::countr_zero(low)) / 8;  // 8 when low is 0
  const auto inHigh = static_cast<std::size_t>(std::countr_zero(high)) / 8;
  return inLow + (low == 0 ? inHigh : 0);
}

}  // namespace sum_table_detail

// Runs a compiled table on the digit block of an account of `size` digits (one
// to ten, all digits) followed by `zeros` zeros, the account moved that many
// places left, `size + zeros` at most ten. Returns the table's result: 0 or 1
// when valid, otherwise -3.
[[gnu::always_inline]] inline int RunSumTableOnBlock(const SumTable& table, const DigitBlock& block,
                                                     std::size_t size, std::size_t zeros) {
  using sum_table_detail::Accepts;
  using sum_table_detail::SumOf;
  const sum_table_detail::PaddedDigits padded(block);
  // The ten-digit form: the account's digits right-aligned in the block, the
  // appended zeros after them; position 1 is byte 6 + zeros.
  const std::uint8_t* form = padded.Form(6 + zeros);
  bool retry = table.retryZeros != 0;
  const bool rejected = ((table.rejectedUnmovedFirstDigits >> form[0]) & 1U) != 0;
  if (table.shortZeros != 0) {
    const bool moves = (LoadLittleEndianWord(form) & table.shortMask) == 0;
    zeros += moves ? table.shortZeros : 0;
    form = padded.Form(6 + zeros);
    retry &= moves;
  }
  bool valid = Accepts(table, SumOf(table, form), form[table.checkIndex]);
  valid |= sum_table_detail::FirstFourOf(form) - table.exemptFrom <= table.exemptSpan;
  if (retry) {
    const std::size_t length = table.retryFitsBySignificantDigits
                                   ? 10 - sum_table_detail::LeadingZerosOf(form)
                                   : size + zeros;
    if (length + table.retryZeros <= 10) {
      // Position p of the moved form reads the digit `retryZeros` places
      // further right, zeros past the end.
      const std::uint8_t* further = padded.Form(6 + zeros + table.retryZeros);
      valid |= Accepts(table, SumOf(table, further), further[table.checkIndex]);
    }
  }
  valid &= !rejected && (block.nonZero || !table.zeroAccountInvalid);
  // Arithmetic rather than a choice: validity is as random as the input.
  return -3 + static_cast<int>(valid) * (table.validResult + 3);
}

// RunSumTableOnBlock for a plain table on the account as received: one sum and
// one test, the digits read from the block itself.
[[gnu::always_inline]] inline int RunPlainSumTable(const SumTable& table, const DigitBlock& block) {
  const std::uint8_t* form = block.value.data() + 6;  // position 1
  const bool valid = sum_table_detail::Accepts(table, sum_table_detail::SumOf(table, form),
                                               form[table.checkIndex]);
  return -3 + static_cast<int>(valid & (block.nonZero | (!table.zeroAccountInvalid))) *
                  (table.validResult + 3);
}

// Runs a compiled table on an account of one to ten digits followed by `zeros`
// zeros (the account moved that many places left) and stores the table's result
// (0 or 1 when valid) or -3 in `result`. Returns false, leaving `result` alone,
// for any other text or a longer result.
inline bool RunSumTable(const SumTable& table, std::string_view account, std::size_t zeros,
                        int& result) {
  const std::size_t size = account.size();
  if (size - 1 >= 10 || size + zeros > 10) return false;
  const DigitBlock block = ReadDigitBlock(account);
  if (!block.digits) return false;
  result = RunSumTableOnBlock(table, block, size, zeros);
  return true;
}

// Whether the table is its sum alone: no move, no retry, no rejection by the
// account's own first digit, no exempt range.
constexpr bool IsPlainSum(const SumTable& table) {
  return table.retryZeros == 0 && table.shortZeros == 0 && table.rejectedUnmovedFirstDigits == 0 &&
         table.exemptFrom == SumTable::kNoExemption;
}

// The table as a row stores it, marked plain when it is.
constexpr SumTable Stored(SumTable table) {
  table.plain = table.usable && IsPlainSum(table);
  return table;
}

// A rule that chooses between two tables by the digit at one position (1 to 10)
// is itself one table when the two agree everywhere else: that position then adds
// what the chosen table adds for its digit. Unusable when they differ elsewhere.
constexpr SumTable ChooseByPosition(int position, int digit, const SumTable& whenDigit,
                                    const SumTable& otherwise) {
  SumTable merged = otherwise;
  const auto p = static_cast<std::size_t>(position - 1);
  for (std::size_t other = 0; other < 10; ++other) {
    if (other != p && whenDigit.values[other] != otherwise.values[other]) merged.usable = false;
  }
  if (whenDigit.usable != otherwise.usable || whenDigit.checkIndex != otherwise.checkIndex ||
      whenDigit.offset != otherwise.offset || whenDigit.modulus != otherwise.modulus ||
      whenDigit.accepts != otherwise.accepts ||
      whenDigit.zeroAccountInvalid != otherwise.zeroAccountInvalid ||
      whenDigit.validResult != otherwise.validResult || !IsPlainSum(whenDigit) ||
      !IsPlainSum(otherwise)) {
    merged.usable = false;
  }
  merged.values[p][static_cast<std::size_t>(digit)] =
      whenDigit.values[p][static_cast<std::size_t>(digit)];
  return merged;
}

constexpr SumTable ChooseByPosition(int position, int digit, const Recipe& whenDigit,
                                    const Recipe& otherwise) {
  return ChooseByPosition(position, digit, CompileSumTable(whenDigit), CompileSumTable(otherwise));
}

// How a rule decides that a retry moved left still fits ten digits: by the
// account as received, leading zeros included, or by its significant digits.
enum class RetryFit : std::uint8_t { AsReceived, SignificantDigits };

// A table that, when the account fails, tries it again moved `zeros` places left
// if that still fits ten digits; the first result stands otherwise.
constexpr SumTable WithRetry(SumTable table, int zeros, RetryFit fit) {
  table.retryZeros = static_cast<std::uint8_t>(zeros);
  table.retryFitsBySignificantDigits = fit == RetryFit::SignificantDigits;
  return table;
}

constexpr SumTable WithRetry(const Recipe& recipe, int zeros, RetryFit fit) {
  return WithRetry(CompileSumTable(recipe), zeros, fit);
}

// A table whose accounts with positions 1 to `zeroPositions` all 0 move
// `zeros` places left and, when that fails, `retryZeros` further, if the
// significant digits still fit ten; other accounts are tried once, unmoved.
// Accounts with position 1 other than 0 are invalid, moved or not.
constexpr SumTable MovingShortAccounts(SumTable table, int zeroPositions, int zeros,
                                       int retryZeros) {
  table = WithRetry(table, retryZeros, RetryFit::SignificantDigits);
  table.rejectedUnmovedFirstDigits = 0x3FE;
  table.shortZeros = static_cast<std::uint8_t>(zeros);
  for (int p = 0; p < zeroPositions; ++p) table.shortMask |= std::uint64_t{0xFF} << (8 * p);
  return table;
}

// A table under which accounts of `from` to `to` are valid without a check.
// Only positions 1 to 4 decide: `from` must be a multiple of 10^6 and `to` one
// less than a multiple, both below 10^10, or the table is unusable.
constexpr SumTable ExemptingRange(SumTable table, std::uint64_t from, std::uint64_t to) {
  const auto bytesOf = [](std::uint64_t firstFour) {
    std::uint32_t bytes = 0;
    for (std::uint64_t scale = 1000; scale > 0; scale /= 10) {
      bytes = bytes << 8 | static_cast<std::uint32_t>(firstFour / scale % 10);
    }
    return bytes;
  };
  if (from % 1000000 != 0 || to % 1000000 != 999999 || from > to || to >= 10000000000) {
    table.usable = false;
  }
  table.exemptFrom = bytesOf(from / 1000000);
  table.exemptSpan = bytesOf(to / 1000000) - table.exemptFrom;
  return table;
}

}  // namespace tavrel::engine
