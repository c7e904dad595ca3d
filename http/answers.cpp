#include "internal/answers.h"

namespace tavrel::http {

Json ErrorJson(std::string_view code, std::string_view message) {
  return Json{{"error", code}, {"message", message}};
}

AnswerCache::AnswerCache(std::size_t rows)
    : rows_(rows), cells_(new std::atomic<const std::string*>[rows * kOutcomes.size()]()) {}

AnswerCache::~AnswerCache() {
  for (std::size_t i = 0; i < rows_ * kOutcomes.size(); ++i) delete cells_[i].load();
}

std::atomic<const std::string*>* AnswerCache::Cell(std::size_t row, Outcome outcome) const {
  const OutcomeInfo* info = FindOutcome(ValueOf(outcome));
  if (info == nullptr || row >= rows_) return nullptr;
  const auto column = static_cast<std::size_t>(info - kOutcomes.data());
  return &cells_[row * kOutcomes.size() + column];
}

}  // namespace tavrel::http
