#include "internal/result_text.h"

#include "tavrel/encoding.h"
#include "tavrel/outcome.h"

namespace tavrel::cli {

std::string ResultTextUtf8(int result) {
  const OutcomeInfo* info = FindOutcome(result);
  return info == nullptr ? std::string() : encoding::Cp1252ToUtf8(info->message);
}

}  // namespace tavrel::cli
