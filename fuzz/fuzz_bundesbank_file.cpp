// The Bundesbank-file reader on arbitrary bytes: a directory or an error, never
// both, never neither; a directory it gives is well formed (bank codes unique
// and ascending, method codes 00-99 or A0-E9, every record found by its code),
// and its warnings name banks whose method code the generation lacks.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_assert.h"
#include "tavrel/ascii.h"
#include "tavrel/directory.h"

namespace {

using namespace tavrel;

bool IsMethodCode(std::string_view code) {
  return code.size() == 2 && (IsAsciiDigit(code[0]) || (code[0] >= 'A' && code[0] <= 'E')) &&
         IsAsciiDigit(code[1]);
}

bool LacksMethod(std::string_view code) { return code[0] == 'E'; }

void CheckDirectory(const directory::Directory& banks, std::size_t size) {
  FUZZ_ASSERT(banks.size() > 0 && banks.size() <= size / 168);
  std::string_view previous;
  for (const directory::Bank bank : banks) {
    FUZZ_ASSERT(IsEightDigits(bank.bankCode) && bank.bankCode > previous);
    FUZZ_ASSERT(IsMethodCode(bank.methodCode));
    FUZZ_ASSERT(!bank.shortName.empty() && bank.shortName.size() <= 27);
    FUZZ_ASSERT(bank.bic.empty() || bank.bic.size() == 8 || bank.bic.size() == 11);
    FUZZ_ASSERT(bank.successor.empty() || IsEightDigits(bank.successor));
    FUZZ_ASSERT(banks.FindMethodCode(bank.bankCode) == bank.methodCode);
    FUZZ_ASSERT(banks.Find(bank.bankCode)->shortName == bank.shortName);
    previous = bank.bankCode;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  directory::LoadOptions options;
  if ((data[0] & 1) != 0)
    options.hasMethod = [](std::string_view code) { return !LacksMethod(code); };
  options.strict = (data[0] & 2) != 0;
  const std::string_view content(reinterpret_cast<const char*>(data) + 1, size - 1);

  const directory::LoadResult result =
      directory::ParseDirectory(content, "blz_20260309.txt", options);
  FUZZ_ASSERT((result.directory == nullptr) == result.error.has_value());
  if (result.error) {
    FUZZ_ASSERT(!result.error->message.empty());
    return 0;
  }
  CheckDirectory(*result.directory, content.size());
  FUZZ_ASSERT(result.warnings.empty() || (options.hasMethod && !options.strict));
  for (const directory::FileProblem& warning : result.warnings) {
    FUZZ_ASSERT(warning.line > 0);
    const std::string_view methodCode = result.directory->FindMethodCode(warning.bankCode);
    FUZZ_ASSERT(!methodCode.empty() && LacksMethod(methodCode));
  }
  return 0;
}
