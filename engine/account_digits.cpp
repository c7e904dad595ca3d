#include "internal/account_digits.h"

#include <algorithm>

namespace tavrel::engine {
namespace {

constexpr int DigitValue(char c) { return c - '0'; }

// Fills check digit and entries from a digit string whose last character is the
// check digit: entry k is the character k places left of the last one.
void FillFromDigitString(AccountDigits& record, std::string_view text) {
  const std::size_t n = text.size();
  if (n == 0) return;
  record.checkDigit = DigitValue(text[n - 1]);
  // A fixed count of steps with a select instead of a loop bound by the length:
  // accounts of mixed lengths would otherwise mispredict the loop's end.
  for (std::size_t k = 1; k <= 9; ++k) {
    const std::size_t index = k < n ? n - 1 - k : 0;
    record.digits[k - 1] = k < n ? DigitValue(text[index]) : 0;
  }
}

// The number of leading '0' characters, counted without a data-dependent exit
// for the accounts of up to ten characters the engine works on.
std::size_t LeadingZeros(std::string_view text) {
  if (text.size() > 10) {
    const std::size_t first = text.find_first_not_of('0');
    return first == std::string_view::npos ? text.size() : first;
  }
  std::size_t zeros = 0;
  bool leading = true;
  for (std::size_t i = 0; i < 10; ++i) {
    leading &= i < text.size() && text[i < text.size() ? i : 0] == '0';
    zeros += leading;
  }
  return zeros;
}

AccountDigits StartRecord(std::string_view account) {
  AccountDigits record;
  record.significant = account.substr(LeadingZeros(account));
  record.significantLength = static_cast<int>(record.significant.size());
  record.firstCharacter = record.significant.empty() ? '\0' : record.significant[0];
  return record;
}

// Character at a 1-based position of a text, '0' where the text has none.
char CharAt(std::string_view text, int position) {
  if (position < 1 || static_cast<std::size_t>(position) > text.size()) return '0';
  return text[static_cast<std::size_t>(position - 1)];
}

int CompareWithBound(const AccountDigits& record, std::string_view bound) {
  const auto length = static_cast<std::size_t>(record.significantLength);
  if (length != bound.size()) return length < bound.size() ? -1 : 1;
  return record.significant.compare(bound);
}

}  // namespace

AccountText StripLeadingZeros(std::string_view text) {
  const std::size_t first = text.find_first_not_of('0');
  return first == std::string_view::npos ? AccountText{} : AccountText{text.substr(first)};
}

int SignificantLength(std::string_view text) {
  const std::size_t first = text.find_first_not_of('0');
  return first == std::string_view::npos ? 0 : static_cast<int>(text.size() - first);
}

TenDigitForm PadToTen(std::string_view text) { return TenDigitForm(text); }

AccountText DropLeft(std::string_view text, int count) {
  const auto n = static_cast<std::size_t>(std::max(count, 0));
  return n >= text.size() ? AccountText{} : AccountText{text.substr(n)};
}

AccountText TakeLeft(std::string_view text, int count) {
  return AccountText{text.substr(0, static_cast<std::size_t>(std::max(count, 0)))};
}

char DigitAtPosition(std::string_view account, int position) {
  const auto index = static_cast<std::ptrdiff_t>(account.size()) - 10 + position - 1;
  return index >= 0 && static_cast<std::size_t>(index) < account.size()
             ? account[static_cast<std::size_t>(index)]
             : '0';
}

std::uint64_t AccountNumber(std::string_view account) {
  constexpr std::array<std::uint64_t, 10> kPlaces = {
      1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
  const std::size_t n = std::min<std::size_t>(account.size(), 10);
  if (n == 0) return 0;
  std::uint64_t number = 0;
  // Ten independent products whatever the length: no chain of multiplications,
  // and mixed lengths do not mispredict the loop's end.
#pragma GCC unroll 10
  for (std::size_t i = 0; i < 10; ++i) {
    const bool inside = i < n;
    const auto digit = static_cast<std::uint64_t>(account[inside ? i : 0] - '0');
    number += inside ? digit * kPlaces[inside ? n - 1 - i : 0] : 0;
  }
  return number;
}

AccountText AppendText(std::string_view text, std::string_view tail) {
  AccountText joined{text};
  joined.Append(tail);
  return joined;
}

bool KeyIs(std::string_view text, std::string_view key) { return text == key; }

bool KeyIsOneOf(std::string_view text, std::initializer_list<std::string_view> keys) {
  return std::any_of(keys.begin(), keys.end(),
                     [&](std::string_view key) { return KeyIs(text, key); });
}

bool AtLeast(const AccountDigits& record, std::string_view bound) {
  return CompareWithBound(record, bound) >= 0;
}

bool AtMost(const AccountDigits& record, std::string_view bound) {
  return CompareWithBound(record, bound) <= 0;
}

bool InRange(const AccountDigits& record, std::string_view lower, std::string_view upper) {
  return AtLeast(record, lower) && AtMost(record, upper);
}

AccountDigits MakeAccountDigits(std::string_view account) {
  AccountDigits record = StartRecord(account);
  FillFromDigitString(record, record.significant);
  return record;
}

AccountDigits MakeAccountDigitsForward(std::string_view account) {
  AccountDigits record = StartRecord(account);
  const TenDigitForm ten = PadToTen(account);
  for (int k = 1; k <= 10; ++k)
    record.digits[static_cast<std::size_t>(k - 1)] = DigitValue(CharAt(ten, k));
  record.checkDigit = record.digits[9];
  return record;
}

AccountDigits MakeAccountDigitsRange(std::string_view account, int checkPosition, int firstPosition,
                                     int lastPosition, bool leftToRight) {
  AccountDigits record = StartRecord(account);
  // The ten-digit form, with a '0' before position 1 and after position 10 so
  // that positions outside the form read as 0 once clamped.
  std::array<char, 12> ten;
  ten.fill('0');
  const std::size_t length = std::min<std::size_t>(account.size(), 10);
  std::copy_n(account.data(), length, ten.data() + 11 - length);
  const auto digitAt = [&](int position) {
    return DigitValue(ten[static_cast<std::size_t>(std::clamp(position, 0, 11))]);
  };
  record.checkDigit = digitAt(checkPosition);
  // Entry 1 is the collected digit nearest the check digit's side of the string:
  // the last one, or the first with left-to-right order. At most nine are kept.
  std::size_t entry = 0;
  if (leftToRight) {
    for (int position = firstPosition; position <= lastPosition && entry < 9; ++position) {
      if (position != checkPosition) record.digits[entry++] = digitAt(position);
    }
  } else {
    for (int position = lastPosition; position >= firstPosition && entry < 9; --position) {
      if (position != checkPosition) record.digits[entry++] = digitAt(position);
    }
  }
  return record;
}

AccountDigits MakeEserDigits(std::string_view account, std::string_view bankCode) {
  AccountDigits record = StartRecord(account);
  const std::string_view s = record.significant;
  const auto bank = [&](int position) { return CharAt(bankCode, position); };
  AccountText converted;
  AccountText tail;
  const auto put = [&](char c) { converted.Append(std::string_view{&c, 1}); };
  if (record.significantLength == 9) {
    tail = StripLeadingZeros(s.substr(3, 6));
    put(bank(5)), put(bank(6)), put(s[1]), put(bank(8)), put(s[0]), put('0');
    record.checkDigit = DigitValue(s[2]);
  } else if (record.significantLength == 8) {
    tail = StripLeadingZeros(s.substr(2, 6));
    put(bank(5)), put(bank(6)), put(bank(7)), put(bank(8)), put(s[0]), put('0');
    record.checkDigit = DigitValue(s[1]);
  } else {
    return record;
  }
  converted.Append(tail);
  record.checkWeightIndex = static_cast<int>(tail.size());
  const std::size_t n = converted.size();
  for (std::size_t k = 0; k < 12 && k < n; ++k) record.digits[k] = DigitValue(converted[n - 1 - k]);
  return record;
}

}  // namespace tavrel::engine
