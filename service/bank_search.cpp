#include "tavrel/directory.h"
#include "tavrel/service.h"

namespace tavrel::service {

FuzzySearchResult FuzzySearchBanks(const Directory& directory, std::string_view query) {
  return directory::FuzzySearchBanks(directory, query);
}

}  // namespace tavrel::service
