#include "internal/compiled_directories.h"

#include "internal/bundesbank_layout.h"
#include "tavrel/directory.h"

namespace tavrel::directory {
namespace {

std::shared_ptr<const Directory> Build(const CompiledDirectoryData& data) {
  DirectoryInfo info{std::string(data.source), true, DateInFileName(data.source),
                     data.validUntil,          0,    data.generation};
  return std::make_shared<const Directory>(std::move(info), data.banks);
}

}  // namespace

std::shared_ptr<const Directory> CompiledDirectory(RuleGeneration generation) {
  // Built on first use, once: a function-local static's initialisation is
  // thread-safe, and after it every call is one guard test.
  if (generation == RuleGeneration::k2009) {
    static const std::shared_ptr<const Directory> k2009 = Build(CompiledData2009());
    return k2009;
  }
  static const std::shared_ptr<const Directory> kCurrent = Build(CompiledDataCurrent());
  return kCurrent;
}

}  // namespace tavrel::directory
