// The compiled-in directories' data, generated at build time from
// banks_2009.tsv and banks_current.tsv by tavrel_embed_banks.
#pragma once

#include <chrono>
#include <span>
#include <string_view>

#include "tavrel/directory.h"

namespace tavrel::directory {

struct CompiledDirectoryData {
  std::string_view source;  // the Bundesbank file's name, which gives the valid-from date
  std::chrono::year_month_day validUntil;
  RuleGeneration generation;
  std::span<const Bank> banks;  // ascending by bank code
};

const CompiledDirectoryData& CompiledData2009();
const CompiledDirectoryData& CompiledDataCurrent();

}  // namespace tavrel::directory
