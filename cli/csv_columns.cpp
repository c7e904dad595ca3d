#include "internal/csv_columns.h"

#include <algorithm>
#include <utility>

#include "internal/exit_status.h"
#include "tavrel/ascii.h"

namespace tavrel::cli {
namespace {

// In normal form, so "bank_code", "Bank Code" and "BANKCODE" are all "bankcode".
constexpr std::string_view kBankCodeNames[] = {"blz", "bankleitzahl", "bankcode", "sortcode"};
constexpr std::string_view kAccountNames[] = {"konto", "kontonummer", "kontonr",      "kto",
                                              "ktonr", "account",     "accountnumber"};
constexpr std::string_view kIbanNames[] = {"iban"};

}  // namespace

constexpr std::array<ColumnKindInfo, kColumnKindCount> kColumnKinds = {{
    {ColumnKind::kBankCode, "bank code", "--bank-column", 0, kBankCodeNames},
    {ColumnKind::kAccount, "account", "--account-column", 1, kAccountNames},
    {ColumnKind::kIban, "IBAN", "--iban-column", 0, kIbanNames},
}};

namespace {

constexpr bool KindsInEnumOrder() {
  for (std::size_t i = 0; i < kColumnKinds.size(); ++i) {
    if (static_cast<std::size_t>(kColumnKinds[i].kind) != i) return false;
  }
  return true;
}
static_assert(KindsInEnumOrder());

std::string ColumnName(std::size_t index, const std::vector<std::string>* header) {
  std::string text = std::to_string(index + 1);
  if (header && index < header->size()) text += " \"" + (*header)[index] + "\"";
  return text;
}

std::string ColumnList(const std::vector<std::size_t>& indices,
                       const std::vector<std::string>* header) {
  std::string text;
  for (std::size_t index : indices) {
    if (!text.empty()) text += ", ";
    text += ColumnName(index, header);
  }
  return text;
}

// The columns that may hold `info`'s kind: the one chosen by number, the first
// one of the chosen name, or every one the header names the kind by.
std::vector<std::size_t> Candidates(const ColumnKindInfo& info, const ColumnChoice& choice,
                                    const std::vector<std::string>* header) {
  if (choice.number > 0) return {choice.number - 1};
  if (!header) return {info.defaultIndex};
  const std::string wanted = NormalHeaderName(choice.name);
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < header->size(); ++i) {
    const std::string name = NormalHeaderName((*header)[i]);
    if (choice.name.empty() ? std::ranges::find(info.headerNames, name) != info.headerNames.end()
                            : name == wanted) {
      found.push_back(i);
      if (!choice.name.empty()) break;
    }
  }
  return found;
}

const ColumnChoice& ChoiceOf(const ColumnChoices& choices, ColumnKind kind) {
  return choices[static_cast<std::size_t>(kind)];
}

bool Chosen(const ColumnChoice& choice) { return choice.number > 0 || !choice.name.empty(); }

// The IBAN column is used when chosen, or when the header names it and names
// neither a bank code nor an account column, and neither is chosen.
bool UsesIban(const ColumnChoices& choices, const std::vector<std::string>* header) {
  if (Chosen(ChoiceOf(choices, ColumnKind::kIban))) return true;
  if (!header) return false;
  for (const ColumnKindInfo& info : kColumnKinds) {
    const bool found = !Candidates(info, ChoiceOf(choices, info.kind), header).empty();
    if (found != (info.kind == ColumnKind::kIban)) return false;
  }
  return true;
}

bool IsUsed(ColumnKind kind, bool iban) { return (kind == ColumnKind::kIban) == iban; }

// Two used kinds in one column: the first such pair, described; empty when none.
std::string Collision(const ColumnResolution& result, const std::vector<std::string>* header,
                      std::vector<std::string_view>& options) {
  for (std::size_t a = 0; a < kColumnKinds.size(); ++a) {
    if (!IsUsed(kColumnKinds[a].kind, result.iban)) continue;
    for (std::size_t b = a + 1; b < kColumnKinds.size(); ++b) {
      if (!IsUsed(kColumnKinds[b].kind, result.iban)) continue;
      if (result.index[a] != result.index[b]) continue;
      options = {kColumnKinds[a].option, kColumnKinds[b].option};
      return "the " + std::string(kColumnKinds[a].description) + " and the " +
             std::string(kColumnKinds[b].description) + " would both be column " +
             ColumnName(result.index[a], header);
    }
  }
  return {};
}

std::string OptionHint(const std::vector<std::string_view>& options, bool header) {
  std::string text =
      options.size() == 1 ? "tavrel: give the column with " : "tavrel: give the columns with ";
  for (std::size_t i = 0; i < options.size(); ++i) {
    if (i > 0) text += " and ";
    text += std::string(options[i]) + (header ? " N|NAME" : " N");
  }
  return text + "\n";
}

ColumnResolution Unusable(int exitStatus, std::string error) {
  ColumnResolution result;
  result.exitStatus = exitStatus;
  result.error = std::move(error);
  return result;
}

}  // namespace

std::string NormalHeaderName(std::string_view name) {
  std::string normal;
  for (char c : name) {
    if (c != ' ' && c != '\t' && c != '_' && c != '-' && c != '.') normal += FoldAsciiCase(c);
  }
  return normal;
}

ColumnResolution ResolveColumns(const ColumnChoices& choices,
                                const std::vector<std::string>* header) {
  ColumnResolution result;
  result.iban = UsesIban(choices, header);
  std::vector<std::string> problems;
  std::vector<std::string_view> options;
  for (const ColumnKindInfo& info : kColumnKinds) {
    if (!IsUsed(info.kind, result.iban)) continue;
    const ColumnChoice& choice = choices[static_cast<std::size_t>(info.kind)];
    const std::vector<std::size_t> found = Candidates(info, choice, header);
    if (found.size() == 1) {
      result.index[static_cast<std::size_t>(info.kind)] = found.front();
    } else if (!choice.name.empty()) {
      return Unusable(kExitInputFault, "tavrel: header row: no column '" + choice.name + "'\n");
    } else {
      problems.push_back(found.empty() ? "no " + std::string(info.description) + " column"
                                       : "the " + std::string(info.description) +
                                             " is named in columns " + ColumnList(found, header));
      options.push_back(info.option);
    }
  }
  if (problems.empty()) {
    if (std::string collision = Collision(result, header, options); !collision.empty()) {
      problems.push_back(std::move(collision));
    }
  }
  if (problems.empty()) return result;
  std::string error = header ? "tavrel: header row: " : "tavrel: ";
  for (std::size_t i = 0; i < problems.size(); ++i) error += (i > 0 ? " and " : "") + problems[i];
  if (header) {
    std::vector<std::size_t> all(header->size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    error += " (columns: " + ColumnList(all, header) + ")";
  }
  return Unusable(kExitUsage, error + "\n" + OptionHint(options, header != nullptr));
}

std::string ChosenColumnsLine(const ColumnResolution& columns,
                              const std::vector<std::string>* header) {
  std::string line = "tavrel: ";
  bool first = true;
  for (const ColumnKindInfo& info : kColumnKinds) {
    if (!IsUsed(info.kind, columns.iban)) continue;
    if (!std::exchange(first, false)) line += ", ";
    line += std::string(info.description) + " from column " +
            ColumnName(columns.index[static_cast<std::size_t>(info.kind)], header);
  }
  return line + "\n";
}

}  // namespace tavrel::cli
