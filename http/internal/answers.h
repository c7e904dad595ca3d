// The JSON documents of the API, all written by nlohmann::json. A check's
// answer depends only on its outcome and its bank, so each distinct answer is
// serialized once and then copied: batches run at millions of items a second.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "tavrel/iban.h"
#include "tavrel/json.h"
#include "tavrel/outcome.h"

namespace tavrel::http {

using json::Json;
using json::ToText;

Json ErrorJson(std::string_view code, std::string_view message);

// An IBAN verdict: the IBAN's outcome ("result", "code", "message"), "valid"
// (true only when the IBAN and, for a German one, its account are valid),
// "iban" and "print_format" (null when the text is no IBAN at all), "country"
// (the registry's country code or null) and "german": {"bank_code", "account",
// "account_check", "bank": `bank` as json::BankJson or null} or null.
Json IbanVerdictJson(const iban::IbanVerdict& verdict, const std::optional<service::Bank>& bank);

// An IBAN built by the standard conversion: "iban" and "print_format" (null
// when the account is not valid), "conversion", a "note" that the bank should
// confirm it, the "account_check" and the "bank" (json::BankJson or null).
Json IbanConversionJson(const iban::AccountConversion& conversion,
                        const std::optional<service::Bank>& bank);

// Serialized answers by (row, outcome): one row per bank of a directory and a
// last row for "no bank". Lock-free: two threads that meet a new pair at once
// both serialize it, and one text wins.
class AnswerCache {
 public:
  explicit AnswerCache(std::size_t rows);
  ~AnswerCache();
  AnswerCache(const AnswerCache&) = delete;
  AnswerCache& operator=(const AnswerCache&) = delete;

  // The text of (row, outcome), made by `make` the first time; nullopt for an
  // outcome that is not in the outcome table or a row past the last.
  template <typename Make>
  std::optional<std::string_view> Find(std::size_t row, Outcome outcome, Make make) const {
    std::atomic<const char*>* cell = Cell(row, outcome);
    if (cell == nullptr) return std::nullopt;
    const char* block = cell->load(std::memory_order_acquire);
    if (block == nullptr) {
      std::unique_ptr<const char[]> made = Pack(make());
      if (cell->compare_exchange_strong(block, made.get(), std::memory_order_acq_rel)) {
        block = made.release();
      }
    }
    return Unpack(block);
  }

 private:
  // A text as one block, its length first: a batch reads thousands of texts of
  // banks met at random, and a std::string would cost a cache miss more for each.
  static std::unique_ptr<const char[]> Pack(std::string_view text);
  static std::string_view Unpack(const char* block);

  std::atomic<const char*>* Cell(std::size_t row, Outcome outcome) const;

  std::size_t rows_;
  std::unique_ptr<std::atomic<const char*>[]> cells_;
};

}  // namespace tavrel::http
