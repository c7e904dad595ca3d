#include "internal/answers.h"

namespace tavrel::http {
namespace {

// The column of an outcome: its row in the outcome table, or none for a value
// that is no outcome.
std::optional<std::size_t> ColumnOf(Outcome outcome) {
  const OutcomeInfo* info = FindOutcome(ValueOf(outcome));
  if (info == nullptr) return std::nullopt;
  return static_cast<std::size_t>(info - kOutcomes.data());
}

// The kind of result, from the outcome's exit status, so that no client keeps
// its own list of which results are faults.
std::string_view VerdictOf(const OutcomeInfo& info) {
  switch (info.exitStatus) {
    case kExitValid:
      return "valid";
    case kExitInvalid:
      return "invalid";
    case kExitMethodNotFound:
      return "method_not_found";
    default:
      return "input_fault";
  }
}

Json FieldOf(const OutcomeInfo& info) {
  switch (info.field) {
    case Field::kBankCode:
      return "bank_code";
    case Field::kAccount:
      return "account";
    case Field::kIban:
      return "iban";
    case Field::kNone:
      break;
  }
  return nullptr;
}

}  // namespace

std::string ToText(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json BankJson(const Bank& bank) { return Json{{"bank_code", bank.code}, {"name", bank.name}}; }

Json ErrorJson(std::string_view code, std::string_view message) {
  return Json{{"error", code}, {"message", message}};
}

Json CheckJson(const CheckResult& result) {
  const OutcomeInfo* info = FindOutcome(ValueOf(result.outcome));
  if (info == nullptr) {
    return ErrorJson("internal_error", "the check gave the value " +
                                           std::to_string(ValueOf(result.outcome)) +
                                           ", which is no outcome");
  }
  return Json{{"result", ValueOf(result.outcome)},
              {"code", info->code},
              {"message", Core::MessageOf(result.outcome)},
              {"verdict", VerdictOf(*info)},
              {"field", FieldOf(*info)},
              {"bank", result.bank == nullptr ? Json(nullptr) : BankJson(*result.bank)}};
}

AnswerCache::AnswerCache(const Core& core)
    : core_(core),
      cells_(new std::atomic<const std::string*>[(core.BankCount() + 1) * kOutcomes.size()]()),
      cellCount_((core.BankCount() + 1) * kOutcomes.size()) {}

AnswerCache::~AnswerCache() {
  for (std::size_t i = 0; i < cellCount_; ++i) delete cells_[i].load();
}

void AnswerCache::AppendAnswer(const CheckResult& result, std::string& out) const {
  const std::optional<std::size_t> column = ColumnOf(result.outcome);
  if (!column) {
    out += ToText(CheckJson(result));
    return;
  }
  const std::size_t row = result.bank == nullptr ? core_.BankCount() : core_.IndexOf(*result.bank);
  std::atomic<const std::string*>& cell = cells_[row * kOutcomes.size() + *column];
  const std::string* text = cell.load(std::memory_order_acquire);
  if (text == nullptr) {
    auto made = std::make_unique<const std::string>(ToText(CheckJson(result)));
    if (cell.compare_exchange_strong(text, made.get(), std::memory_order_acq_rel)) {
      text = made.release();
    }
  }
  out += *text;
}

}  // namespace tavrel::http
