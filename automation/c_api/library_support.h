// What the C library's source files share: the directory handle and the copies
// of strings handed to the caller.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "tavrel.h"
#include "tavrel/digit_block.h"
#include "tavrel/encoding.h"
#include "tavrel/outcome.h"
#include "tavrel/service.h"

struct tavrel_directory {
  tavrel::service::CheckSource source;
};

namespace tavrel::c_api {

// A malloc'd, NUL-terminated copy of UTF-8 text, which the caller frees with
// tavrel_free(); NULL when memory runs out.
char* NewCopy(std::string_view utf8);

// One account check from C strings (either may be NULL) against `source`, a
// rule set or a check source. Plain ASCII, the usual input, reads the same in
// UTF-8 and Windows-1252 and is checked in place; anything else is converted
// first. TAVREL_CHECK_NO_MEMORY when the conversion runs out of memory.
template <typename Source>
int CheckCStrings(const char* bankCode, const char* account, const Source& source) {
  if (bankCode != nullptr && account != nullptr) {
    const CText bankText = ReadCText(bankCode);
    const CText accountText = ReadCText(account);
    if (bankText.ascii && accountText.ascii) {
      const std::string_view bankCodeView(bankCode, bankText.length);
      const std::string_view accountView(account, accountText.length);
      // The 2009 rules, the usual source, through the entry that holds them as
      // a constant: the method's row is then one load nearer.
      if constexpr (std::is_same_v<Source, service::RuleSet>) {
        if (&source == &service::DefaultRules())
          return service::CheckAccount(accountView, bankCodeView);
      }
      return ValueOf(service::CheckAccount({bankCodeView, accountView}, source));
    }
  }
  try {
    const auto convert = [](const char* utf8) {
      return encoding::Utf8ToCp1252Lossy(utf8 == nullptr ? std::string_view() : utf8);
    };
    const std::string bankCodeText = convert(bankCode);
    const std::string accountText = convert(account);
    return ValueOf(service::CheckAccount({bankCodeText, accountText}, source));
  } catch (...) {
    return TAVREL_CHECK_NO_MEMORY;
  }
}

}  // namespace tavrel::c_api
