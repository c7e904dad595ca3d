// Account digits: the record every check primitive reads, its builders, and the
// small string helpers that method blocks use to test or rewrite an account.
//
// Positions 1 to 10 are those of the ten-digit form (right-aligned, zero-padded);
// the check digit is position 10 unless a method says otherwise. Nothing here
// allocates: texts and records are fixed-size values.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace tavrel::engine {

// An account text of at most kCapacity characters, held by value. Longer input is
// cut at the capacity; the dispatcher never hands in more than ten characters and
// the longest rewrite appends three.
class AccountText {
 public:
  static constexpr std::size_t kCapacity = 16;

  constexpr AccountText() = default;
  constexpr AccountText(std::string_view text) { Append(text); }  // NOLINT: implicit by design

  constexpr std::size_t size() const { return size_; }
  constexpr bool empty() const { return size_ == 0; }
  constexpr char operator[](std::size_t i) const { return chars_[i]; }
  constexpr std::string_view view() const { return {chars_.data(), size_}; }
  constexpr operator std::string_view() const { return view(); }  // NOLINT

  constexpr void Append(std::string_view text) {
    const std::size_t n = text.size() < kCapacity - size_ ? text.size() : kCapacity - size_;
    std::copy_n(text.data(), n, chars_.data() + size_);
    size_ += n;
  }

  constexpr void AppendRepeated(char c, std::size_t count) {
    const std::size_t n = count < kCapacity - size_ ? count : kCapacity - size_;
    std::fill_n(chars_.data() + size_, n, c);
    size_ += n;
  }

 private:
  std::array<char, kCapacity> chars_{};
  std::size_t size_ = 0;
};

// The ten-digit form of an account: right-aligned and zero-padded, positions 1 to
// 10 counted from the left. Procedures test digits by position on this form only,
// so that the account as received and its significant digits are never read by
// position by mistake. PadToTen makes it; a longer text is kept whole.
class TenDigitForm {
 public:
  constexpr std::string_view view() const { return text_.view(); }
  constexpr operator std::string_view() const { return view(); }  // NOLINT: sub-calls take text

  // The digit at `position`, '\0' outside the form.
  constexpr char At(int position) const {
    return IsInside(position) ? text_[static_cast<std::size_t>(position - 1)] : '\0';
  }
  constexpr bool PositionIs(int position, char digit) const {
    return IsInside(position) && At(position) == digit;
  }
  constexpr bool PositionIsOneOf(int position, std::string_view digits) const {
    if (!IsInside(position)) return false;
    const char c = At(position);
    return std::any_of(digits.begin(), digits.end(), [c](char digit) { return digit == c; });
  }

 private:
  friend TenDigitForm PadToTen(std::string_view text);
  constexpr explicit TenDigitForm(std::string_view account) {
    if (account.size() < 10) text_.AppendRepeated('0', 10 - account.size());
    text_.Append(account);
  }
  constexpr bool IsInside(int position) const {
    return position >= 1 && static_cast<std::size_t>(position) <= text_.size();
  }

  AccountText text_;
};

// The record of check digit and weighted digits. Entries are counted from 1 in the
// method tables; here entry k is digits[k - 1]. Entries without a digit are 0.
struct AccountDigits {
  static constexpr int kNoCheckDigit = -9999;  // matches no digit

  int checkDigit = kNoCheckDigit;
  std::array<int, 15> digits{};
  int significantLength = 0;
  int checkWeightIndex = 0;  // 0-based index of the weight of the check digit's place
  // The account without its leading zeros: a view into the text the record was
  // built from, which must outlive the record (records live inside one check).
  std::string_view significant;
  char firstCharacter = '\0';
};

// String helpers. Each returns a new value and changes nothing.
AccountText StripLeadingZeros(std::string_view text);
int SignificantLength(std::string_view text);
TenDigitForm PadToTen(std::string_view text);
AccountText DropLeft(std::string_view text, int count);
AccountText TakeLeft(std::string_view text, int count);
// The character at a position (1 to 10) of the account's ten-digit form: '0'
// left of the account's first character. Accounts of up to ten characters.
char DigitAtPosition(std::string_view account, int position);
// The value of an account of up to ten digits.
std::uint64_t AccountNumber(std::string_view account);
AccountText AppendText(std::string_view text, std::string_view tail);
bool KeyIs(std::string_view text, std::string_view key);
bool KeyIsOneOf(std::string_view text, std::initializer_list<std::string_view> keys);

// Numeric comparisons of the record's whole account with a bound written without
// leading zeros.
bool AtLeast(const AccountDigits& record, std::string_view bound);
bool AtMost(const AccountDigits& record, std::string_view bound);
bool InRange(const AccountDigits& record, std::string_view lower, std::string_view upper);

// Builders. Every builder is safe for any input: an account without a significant
// digit gives a record whose check digit matches nothing.
AccountDigits MakeAccountDigits(std::string_view account);
AccountDigits MakeAccountDigitsForward(std::string_view account);
AccountDigits MakeAccountDigitsRange(std::string_view account, int checkPosition, int firstPosition,
                                     int lastPosition, bool leftToRight = false);
AccountDigits MakeEserDigits(std::string_view account, std::string_view bankCode);

}  // namespace tavrel::engine
