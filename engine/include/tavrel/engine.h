// Check-digit engine: runs one of the Bundesbank's check-digit methods by its key.
//
// A key is a two-character method code ("00" to "99", "A0" to "D3") or a variant
// key ("51MethodeA", "Eser", ...). The engine knows nothing of banks: the caller
// finds the method code for a bank code and hands it in.
#pragma once

#include <span>
#include <string_view>

#include "tavrel/outcome.h"

namespace tavrel::engine {

// Result values of the engine, as numbers of the outcome table.
inline constexpr int kValid = ValueOf(Outcome::kValid);
inline constexpr int kValidWithoutCheck = ValueOf(Outcome::kValidWithoutCheck);
inline constexpr int kMethodNotFound = ValueOf(Outcome::kMethodNotFound);
inline constexpr int kInvalid = ValueOf(Outcome::kInvalidCheckDigit);

// Runs the block selected by `key` (exact, case-sensitive) on `account`.
// `bankCode` is the eight-digit bank code; only the "Eser" rule reads it.
// Safe for any bytes: unknown keys give kMethodNotFound, and an account that is
// empty, longer than ten characters or not all digits never reaches a block and
// gives kInvalid. Allocation-free and re-entrant.
int ComputeMethod(std::string_view account, std::string_view key, std::string_view bankCode);

// ComputeMethod with an empty bank code: how blocks run other methods and variants.
int ComputeSubMethod(std::string_view account, std::string_view key);

// All 188 keys of the dispatcher in selection order (09 first, then method codes
// ascending, each followed by its variant keys).
std::span<const std::string_view> Keys();

}  // namespace tavrel::engine
