// The readable form of an explanation: the tests of the input, then each step
// with its reason, the numbers of each computation in columns under the digits
// they belong to, the sum and the check digit, and what the step gave.
#include <algorithm>
#include <string>
#include <vector>

#include "tavrel/service.h"

namespace tavrel::service {
namespace {

std::string Indent(int depth) { return std::string(static_cast<std::size_t>(depth) * 2, ' '); }

// One column of the figures: a position of the form, or a digit of a constant or
// converted number (position 0).
struct Column {
  std::string position;
  std::string digit;
  std::string counted;
  const ExplainedTerm* term = nullptr;
};

std::vector<Column> ColumnsOf(const ExplainedComputation& computation) {
  std::vector<Column> columns;
  for (auto it = computation.terms.rbegin(); it != computation.terms.rend(); ++it) {
    if (it->position == 0) columns.push_back({"", std::to_string(it->digit), "", &*it});
  }
  // A converted number weighs no position of the form: its digits are the table.
  const bool positions = computation.terms.empty() ||
                         std::any_of(computation.terms.begin(), computation.terms.end(),
                                     [](const ExplainedTerm& term) { return term.position > 0; });
  for (std::size_t p = 1; positions && p <= computation.form.size(); ++p) {
    Column column{std::to_string(p), std::string(1, computation.form[p - 1]), "", nullptr};
    for (const ExplainedTerm& term : computation.terms) {
      if (term.position == static_cast<int>(p)) column.term = &term;
    }
    if (column.term != nullptr) column.counted = std::to_string(column.term->digit);
    columns.push_back(std::move(column));
  }
  return columns;
}

void AppendRow(std::string& out, const std::string& lead, std::string_view label,
               const std::vector<std::string>& cells, std::size_t width) {
  std::string line = lead + std::string(label) + std::string(10 - label.size(), ' ');
  for (const std::string& cell : cells) line += std::string(width - cell.size(), ' ') + cell;
  while (!line.empty() && line.back() == ' ') line.pop_back();
  out += line + '\n';
}

void AppendFigures(std::string& out, const ExplainedComputation& computation,
                   const std::string& lead) {
  const std::vector<Column> columns = ColumnsOf(computation);
  std::vector<std::string> positions, digits, counted, weights, products, added;
  bool countedDiffers = false;
  bool addedDiffers = false;
  for (const Column& column : columns) {
    const ExplainedTerm* term = column.term;
    positions.push_back(column.position);
    digits.push_back(column.digit);
    counted.push_back(column.counted);
    weights.push_back(term ? std::to_string(term->weight) : "");
    products.push_back(term ? std::to_string(term->product) : "");
    added.push_back(term ? std::to_string(term->added) : "");
    countedDiffers |= term != nullptr && term->position != 0 && column.counted != column.digit;
    addedDiffers |= term != nullptr && term->added != term->product;
  }
  std::size_t width = 3;
  for (const auto* row : {&positions, &products, &added, &weights}) {
    for (const std::string& cell : *row) width = std::max(width, cell.size() + 1);
  }
  const bool converted = std::all_of(positions.begin(), positions.end(),
                                     [](const std::string& cell) { return cell.empty(); });
  if (converted) {
    out += lead + "account form " + computation.form + '\n';
    AppendRow(out, lead, "number", digits, width);
  } else {
    AppendRow(out, lead, "position", positions, width);
    AppendRow(out, lead, "account", digits, width);
  }
  if (countedDiffers) AppendRow(out, lead, "counts as", counted, width);
  if (computation.terms.empty()) return;
  AppendRow(out, lead, "weight", weights, width);
  AppendRow(out, lead, "product", products, width);
  if (addedDiffers) AppendRow(out, lead, "adds", added, width);
}

std::string ExpectedDigits(std::uint16_t accepted) {
  if (accepted == 0) return "none fits";
  if (accepted == 0x3FF) return "any";
  std::string digits;
  for (int d = 0; d <= 9; ++d) {
    if (((accepted >> d) & 1U) == 0) continue;
    digits += digits.empty() ? "" : " or ";
    digits += static_cast<char>('0' + d);
  }
  return digits + " expected";
}

void AppendComputation(std::string& out, const ExplainedComputation& computation, int depth) {
  const std::string lead = Indent(depth) + "    ";
  if (!computation.reason.empty()) out += lead + computation.reason + ":\n";
  out += lead + "rule: " + computation.rule + '\n';
  AppendFigures(out, computation, lead);
  std::string figures;
  if (computation.hasSum) {
    figures = "sum " + std::to_string(computation.sum);
    if (computation.modulus > 0) {
      figures += ", modulo " + std::to_string(computation.modulus) + ", remainder " +
                 std::to_string(computation.remainder);
    }
  }
  if (computation.checkPosition > 0) {
    figures += figures.empty() ? "" : "; ";
    figures += "check digit at position " + std::to_string(computation.checkPosition) + ": " +
               ExpectedDigits(computation.accepted) + ", " +
               std::to_string(computation.checkDigit) + " found";
  }
  if (!figures.empty()) out += lead + figures + '\n';
  for (const std::string& note : computation.notes) out += lead + note + '\n';
  out += lead + "gives " + OutcomeWords(computation.result) + '\n';
}

void AppendStepStart(std::string& out, const ExplainedStep& step) {
  std::string line = Indent(step.depth) + step.key;
  if (!step.ran) line += " not run";
  if (!step.reason.empty()) line += ": " + step.reason;
  out += line + '\n';
  for (const ExplainedComputation& computation : step.computations)
    AppendComputation(out, computation, step.depth);
}

void AppendStepEnd(std::string& out, const ExplainedStep& step) {
  for (const std::string& note : step.notes) out += Indent(step.depth) + "  " + note + '\n';
  out += Indent(step.depth) + "=> " + step.key + " gives " + OutcomeWords(step.result) + '\n';
}

std::string Heading(const AccountExplanation& explanation) {
  if (!explanation.tests.empty()) {
    return "account " + explanation.account + " at bank code " + explanation.bankCode + ", " +
           std::string(explanation.rules) + " rules";
  }
  std::string heading = "method " + explanation.methodCode + " on account " + explanation.account;
  if (!explanation.bankCode.empty()) heading += " with bank code " + explanation.bankCode;
  return heading + ", " + std::string(explanation.rules) + " rules";
}

}  // namespace

std::string OutcomeWords(Outcome outcome) {
  std::string words(InfoOf(outcome).code);
  std::replace(words.begin(), words.end(), '_', ' ');
  return words;
}

std::string ExplanationText(const AccountExplanation& explanation) {
  std::string out = Heading(explanation) + '\n';
  for (const InputTest& test : explanation.tests)
    out += std::string(test.passed ? "  passed  " : "  FAILED  ") + test.text + '\n';
  if (!explanation.steps.empty()) out += '\n';
  std::vector<const ExplainedStep*> open;
  for (const ExplainedStep& step : explanation.steps) {
    while (!open.empty() && open.back()->depth >= step.depth) {
      AppendStepEnd(out, *open.back());
      open.pop_back();
    }
    AppendStepStart(out, step);
    if (step.ran) open.push_back(&step);
  }
  for (; !open.empty(); open.pop_back()) AppendStepEnd(out, *open.back());
  const OutcomeInfo& info = InfoOf(explanation.outcome);
  out += "\nresult " + std::to_string(ValueOf(explanation.outcome)) + ": " +
         std::string(info.message) + '\n';
  return out;
}

}  // namespace tavrel::service
