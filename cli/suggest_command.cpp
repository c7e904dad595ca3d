// `tavrel suggest`: valid accounts and bank codes one slip away from a query.
#include "internal/assist.h"
#include "internal/exit_status.h"
#include "internal/output.h"
#include "internal/result_text.h"
#include "tavrel/encoding.h"
#include "tavrel/json.h"

namespace tavrel::cli {
namespace {

std::string Place(int position) { return "position " + std::to_string(position); }

// What the slip was, in the typed text's terms.
std::string SlipText(const service::Suggestion& suggestion, std::string_view typed) {
  const auto at = [](std::string_view text, int position) {
    return std::string(1, text[static_cast<std::size_t>(position - 1)]);
  };
  switch (suggestion.slip) {
    case service::Slip::kTransposition:
      return "positions " + std::to_string(suggestion.position) + " and " +
             std::to_string(suggestion.position + 1) + " swapped";
    case service::Slip::kSubstitution:
      return Place(suggestion.position) + ": " + at(suggestion.text, suggestion.position) +
             " typed as " + at(typed, suggestion.position);
    case service::Slip::kMissingDigit:
      return at(suggestion.text, suggestion.position) + " left out at " +
             Place(suggestion.position);
    case service::Slip::kDoubledDigit:
      break;
  }
  return at(typed, suggestion.position) + " typed twice at " + Place(suggestion.position);
}

void AppendList(std::string& out, const std::vector<service::Suggestion>& list, std::size_t count,
                std::string_view typed, bool bankCodes) {
  for (const service::Suggestion& suggestion : list) {
    out += "  " + suggestion.text + "  ";
    if (bankCodes) out += suggestion.bankName + "  ";
    out += SlipText(suggestion, typed);
    if (suggestion.outcome == Outcome::kValidWithoutCheck) out += " (valid without check)";
    out += '\n';
  }
  if (count > list.size()) {
    out += "  (" + std::to_string(count - list.size()) + " more; --max shows them)\n";
  }
}

std::string Text(const service::Suggestions& s, bool bankCodes) {
  std::string out = "account " + s.account + " at bank code " + s.bankCode + ": " +
                    std::string(InfoOf(s.outcome).message) + '\n';
  switch (s.status) {
    case service::SuggestionStatus::kAlreadyValid:
      out += "the account is valid: nothing to suggest\n";
      break;
    case service::SuggestionStatus::kNoCheckDigit:
      out +=
          "the method tests no check digit for this account: every slip would pass as well, so "
          "no account is suggested\n";
      break;
    case service::SuggestionStatus::kInputFault:
    case service::SuggestionStatus::kMethodNotFound:
      out += "no method ran: no account is suggested\n";
      break;
    case service::SuggestionStatus::kSuggested:
      if (s.accounts.empty()) {
        out += "no account one slip away passes the check digit test\n";
      } else {
        out += "accounts one slip away that pass the check digit test:\n";
        AppendList(out, s.accounts, s.accountCount, s.account, false);
      }
      break;
  }
  if (bankCodes && !IsValid(s.outcome)) {
    if (s.bankCodes.empty()) {
      out += "no bank code one slip away accepts the account\n";
    } else {
      out += "bank codes one slip away that accept the account:\n";
      AppendList(out, s.bankCodes, s.bankCodeCount, s.bankCode, true);
    }
  }
  return out;
}

}  // namespace

int RunSuggest(const std::vector<std::string>& operands, const AssistOptions& options,
               const service::CheckSource& source, bool json) {
  const service::Suggestions suggestions = service::SuggestCorrections(
      {operands[0], operands[1]}, source, {options.max, options.bankCodes});
  const std::string text =
      json ? json::ToText(json::SuggestionsJson(suggestions, options.bankCodes)) + '\n'
           : encoding::Cp1252ToUtf8(Text(suggestions, options.bankCodes));
  return Print(text, ExitStatusForResult(ValueOf(suggestions.outcome)));
}

}  // namespace tavrel::cli
