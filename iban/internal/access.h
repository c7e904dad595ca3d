// The one door into the fixed-size values of tavrel/iban.h, for this
// subsystem's functions: they alone fill them, so every IbanText holds only
// A-Z and 0-9, with digits 0 after its end.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "tavrel/iban.h"

namespace tavrel::iban::detail {

struct Access {
  static constexpr std::size_t kIbanBytes = std::tuple_size_v<decltype(IbanText::chars_)>;

  // A fresh IbanText or PrintedIban holding `chars`, which fits its capacity.
  template <typename FixedText>
  static constexpr FixedText Make(std::string_view chars) {
    FixedText text;
    std::copy(chars.begin(), chars.end(), text.chars_.begin());
    text.size_ = static_cast<std::uint8_t>(chars.size());
    return text;
  }

  // Makes `text` hold `Size` characters from `chars`, then digits 0.
  template <std::size_t Size>
  static void AssignOfSize(IbanText& text, const char* chars) {
    static_assert(Size <= kMaxLength);
    std::memcpy(text.chars_.data(), chars, Size);
    std::fill(text.chars_.begin() + Size, text.chars_.end(), '0');
    text.size_ = static_cast<std::uint8_t>(Size);
  }

  // Makes `text` hold all its bytes from words: `size` characters, then digits 0.
  template <typename Words>
  static void AssignWords(IbanText& text, const Words& words, std::size_t size) {
    static_assert(sizeof words == kIbanBytes);
    std::memcpy(text.chars_.data(), words.data(), kIbanBytes);
    text.size_ = static_cast<std::uint8_t>(size);
  }

  // Every byte of an IbanText.
  static constexpr const char* Bytes(const IbanText& text) { return text.chars_.data(); }

  // Fills `account` in place from the eighteen digits of a German BBAN, as
  // words, and the count of its account's leading zeros. Copying a value just
  // built from these pieces would read it back in wider loads than it was
  // stored with, which stalls.
  static void AssignGermanAccount(GermanAccount& account, std::uint64_t bankCode,
                                  std::uint64_t accountHead, std::uint16_t accountTail,
                                  std::size_t leadingZeros) {
    std::memcpy(account.digits_.data(), &bankCode, sizeof bankCode);
    std::memcpy(account.digits_.data() + 8, &accountHead, sizeof accountHead);
    std::memcpy(account.digits_.data() + 16, &accountTail, sizeof accountTail);
    account.leadingZeros_ = static_cast<std::uint8_t>(leadingZeros);
  }
};

}  // namespace tavrel::iban::detail
