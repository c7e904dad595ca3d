// FuzzySearchBanks on arbitrary text over the compiled-in current directory:
// every hit is a bank of the directory with its own name, listed once, scored
// 1 to 100, in the documented order; more terms than allowed give no hits; and
// the same query in capitals finds the same banks in the same order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_assert.h"
#include "tavrel/directory.h"

namespace {

using namespace tavrel::directory;

bool InOrder(const FuzzyHit& a, const FuzzyHit& b) {
  return a.score > b.score || (a.score == b.score && a.edits <= b.edits);
}

std::string Capitals(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view query(reinterpret_cast<const char*>(data), size);
  const Directory& current = *CompiledDirectory(RuleGeneration::kCurrent);
  const FuzzySearchResult result = FuzzySearchBanks(current, query);
  if (result.tooManyTerms) FUZZ_ASSERT(result.hits.empty());
  std::set<std::string_view> seen;
  for (std::size_t i = 0; i < result.hits.size(); ++i) {
    const FuzzyHit& hit = result.hits[i];
    FUZZ_ASSERT(hit.score >= 1 && hit.score <= 100);
    const std::optional<Bank> bank = current.Find(hit.bankCode);
    FUZZ_ASSERT(bank && bank->shortName == hit.shortName);
    FUZZ_ASSERT(seen.insert(hit.bankCode).second);
    if (i > 0) FUZZ_ASSERT(InOrder(result.hits[i - 1], hit));
  }
  const FuzzySearchResult upper = FuzzySearchBanks(current, Capitals(query));
  FUZZ_ASSERT(upper.tooManyTerms == result.tooManyTerms);
  FUZZ_ASSERT(upper.hits.size() == result.hits.size());
  for (std::size_t i = 0; i < result.hits.size(); ++i) {
    FUZZ_ASSERT(upper.hits[i].bankCode == result.hits[i].bankCode);
  }
  return 0;
}
