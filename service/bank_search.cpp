#include "tavrel/directory.h"
#include "tavrel/service.h"

namespace tavrel::service {

// The compiled-in directories live as long as the process, so the hits' views do.
directory::FuzzySearchResult FuzzySearchBanks(std::string_view query) {
  using directory::RuleGeneration;
  return directory::FuzzySearchBanks(*directory::CompiledDirectory(RuleGeneration::kCurrent),
                                     query);
}

}  // namespace tavrel::service
