#include "why_panel.h"

#include <QFontDatabase>

#include "internal/qt_text.h"
#include "tavrel/service.h"

namespace tavrel::control {
namespace {

std::string Digit(std::string_view text, int position) {
  return std::string(1, text[static_cast<std::size_t>(position - 1)]);
}

// The slip in the typed text's terms, German as the control's texts.
std::string SlipText(const service::Suggestion& suggestion, std::string_view typed) {
  const std::string place = "Stelle " + std::to_string(suggestion.position);
  switch (suggestion.slip) {
    case service::Slip::kTransposition:
      return "Stellen " + std::to_string(suggestion.position) + " und " +
             std::to_string(suggestion.position + 1) + " vertauscht";
    case service::Slip::kSubstitution:
      return place + ": " + Digit(suggestion.text, suggestion.position) + " statt " +
             Digit(typed, suggestion.position);
    case service::Slip::kMissingDigit:
      return Digit(suggestion.text, suggestion.position) + " fehlte an " + place;
    case service::Slip::kDoubledDigit:
      break;
  }
  return Digit(typed, suggestion.position) + " doppelt an " + place;
}

void AppendSuggestions(std::string& text, std::string_view heading,
                       const std::vector<service::Suggestion>& list, std::string_view typed) {
  if (list.empty()) return;
  text += "\n" + std::string(heading) + "\n";
  for (const service::Suggestion& suggestion : list) {
    text += "  " + suggestion.text + "  ";
    if (!suggestion.bankName.empty()) text += suggestion.bankName + "  ";
    text += SlipText(suggestion, typed) + "\n";
  }
}

}  // namespace

std::string WhyText(std::string_view bankCode, std::string_view account) {
  if (bankCode.empty() && account.empty())
    return "Bankleitzahl und Kontonummer eingeben, dann steht hier, warum.";
  const service::RuleSet& rules = service::DefaultRules();
  std::string text = service::ExplanationText(
      service::ExplainAccount({bankCode, account}, service::DefaultSourceWith(rules)));
  const service::Suggestions suggestions = service::SuggestCorrections(
      {bankCode, account}, service::DefaultSourceWith(rules), {5, true});
  AppendSuggestions(text, "Meinten Sie (g\xFCltige Konten, ein Tippfehler entfernt):",
                    suggestions.accounts, suggestions.account);
  AppendSuggestions(
      text, "Oder die Bankleitzahl (ein Tippfehler entfernt, das Konto ist dort g\xFCltig):",
      suggestions.bankCodes, suggestions.bankCode);
  return text;
}

WhyPanel::WhyPanel(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(QStringLiteral("whyPanel"));
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  // The figures stand in columns under their digits.
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setMinimumSize(700, 420);
}

void WhyPanel::Explain(std::string_view bankCode, std::string_view account) {
  setPlainText(ToQString(WhyText(bankCode, account)));
}

}  // namespace tavrel::control
