// The line formats of the two batch modes.
#include <array>
#include <span>

#include "internal/batch.h"
#include "internal/output.h"
#include "tavrel/encoding.h"
#include "tavrel/service.h"

namespace tavrel::cli {
namespace {

// Splits `line` at tabs into at most fields.size() fields. Returns the number of
// fields, or fields.size() + 1 when the line has more.
std::size_t SplitFields(std::string_view line, std::span<std::string_view> fields) {
  std::size_t count = 0;
  for (;;) {
    if (count == fields.size()) return count + 1;
    std::size_t tab = line.find('\t');
    fields[count++] = line.substr(0, tab);
    if (tab == std::string_view::npos) return count;
    line.remove_prefix(tab + 1);
  }
}

// UTF-8 messages of the results -13 to 1 are converted once.
constexpr int kLowestResult = ValueOf(Outcome::kIbanChecksum);
constexpr int kHighestResult = 1;

}  // namespace

std::string_view BatchMessage(int result) {
  static const auto messages = [] {
    std::array<std::string, kHighestResult - kLowestResult + 1> table;
    for (int value = kLowestResult; value <= kHighestResult; ++value) {
      const OutcomeInfo* info = FindOutcome(value);
      if (info == nullptr || IsValid(info->outcome)) continue;
      table[static_cast<std::size_t>(value - kLowestResult)] =
          encoding::Cp1252ToUtf8(info->message);
    }
    return table;
  }();
  if (result < kLowestResult || result > kHighestResult) return {};
  return messages[static_cast<std::size_t>(result - kLowestResult)];
}

const char* CheckLine(const service::CheckSource& source, std::string_view utf8Line,
                      std::string_view cp1252Line, std::string& out) {
  std::array<std::string_view, 2> given;
  std::array<std::string_view, 2> text;
  if (SplitFields(utf8Line, given) != given.size()) return "expected BANKCODE<TAB>ACCOUNT";
  // An ASCII line is passed as its own Windows-1252 form: no second split.
  if (cp1252Line.data() == utf8Line.data()) {
    text = given;
  } else {
    SplitFields(cp1252Line, text);
  }
  const int result = ValueOf(service::CheckAccount({text[0], text[1]}, source));
  out += utf8Line;  // exactly the two fields and the tab between them
  out += '\t';
  AppendDecimal(out, result);
  out += '\t';
  out += BatchMessage(result);
  out += '\n';
  return nullptr;
}

// The output holds no input field, so only the Windows-1252 line is read.
const char* MethodLine(const service::CheckSource& source, std::string_view,
                       std::string_view cp1252Line, std::string& out) {
  std::array<std::string_view, 3> text;
  const std::size_t count = SplitFields(cp1252Line, text);
  if (count < 2 || count > text.size()) return "expected KEY<TAB>ACCOUNT[<TAB>BANKCODE]";
  AppendDecimal(out, service::ComputeMethod(text[1], text[0], text[2], *source.rules));
  out += '\n';
  return nullptr;
}

}  // namespace tavrel::cli
