// The bank a check looks up: its method code and short name. Explanations,
// suggestions and generated accounts find banks here, in the compiled-in 2009
// directory that CheckAccount reads; a directory of the caller's choice comes in
// at this one place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrel::service {

struct Bank {
  std::string_view methodCode;
  std::string_view name;  // Windows-1252
};

// The bank with exactly this bank code, or nothing.
std::optional<Bank> FindBank(std::string_view bankCode);

}  // namespace tavrel::service
