// Which columns `check --csv` reads. Each kind of column is chosen on the command
// line, by number or by header name, or else recognised in the header row by the
// usual German and English names; without a header row, columns 1 and 2 are the
// default. An IBAN column is checked instead of the two when it is chosen, or
// when the header row names an IBAN column and neither of the two. A header that names a kind not
// at all, or in more than one column, or choices that put two kinds in one column, stop the run
// before the first record: a wrong column would give wrong results that look like right ones.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::cli {

enum class ColumnKind { kBankCode, kAccount, kIban };
inline constexpr std::size_t kColumnKindCount = 3;

struct ColumnKindInfo {
  ColumnKind kind;
  std::string_view description;  // "bank code"
  std::string_view option;       // "--bank-column"
  std::size_t defaultIndex;      // without a header row, from 0
  // The header names recognised, in the form NormalHeaderName gives.
  std::span<const std::string_view> headerNames;
};

extern const std::array<ColumnKindInfo, kColumnKindCount> kColumnKinds;

// A header name as it is compared: A-Z folded to a-z, blanks, '_', '-' and '.'
// dropped ("Konto-Nr." and "kontonr" are one name).
std::string NormalHeaderName(std::string_view name);

// A column chosen on the command line: a number from 1, or a header name (UTF-8,
// compared in normal form). Neither: recognised by name, or the default.
struct ColumnChoice {
  std::size_t number = 0;
  std::string name;
};

// The choices by kind, in the order of ColumnKind.
using ColumnChoices = std::array<ColumnChoice, kColumnKindCount>;

struct ColumnResolution {
  bool iban = false;                                  // the IBAN column, not the other two
  std::array<std::size_t, kColumnKindCount> index{};  // by kind, from 0; the used ones
  int exitStatus = 0;                                 // not 0: the columns cannot be used
  std::string error;  // then why, for standard error, one or more lines
};

// Places the used kinds of column. `header` holds the header row's field values
// (quotes removed), or is null without a header row.
ColumnResolution ResolveColumns(const ColumnChoices& choices,
                                const std::vector<std::string>* header);

// Says which columns were chosen, for standard error:
// "tavrel: bank code from column 2 "BLZ", account from column 3 "Konto"\n".
std::string ChosenColumnsLine(const ColumnResolution& columns,
                              const std::vector<std::string>* header);

}  // namespace tavrel::cli
