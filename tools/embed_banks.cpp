// Build step: turns directory/banks.tsv (UTF-8) into a C++ source holding the
// bank records as a constant table in Windows-1252, each entry the method code
// followed directly by the short name.
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "directory/internal/bank_records.h"
#include "tavrel/encoding.h"
#include "text_file.h"

namespace tavrel::tools {
namespace {

constexpr std::string_view kUsage =
    "Usage: tavrel_embed_banks BANKS_TSV OUTPUT_CPP\n"
    "\n"
    "Reads the bank directory's data file (BANKCODE<TAB>METHODCODE<TAB>SHORTNAME,\n"
    "UTF-8, ascending by bank code) and writes the C++ source of the compiled-in\n"
    "table, names converted to Windows-1252.\n";

constexpr std::string_view kHead =
    "// Generated from directory/banks.tsv by tavrel_embed_banks. Do not edit.\n"
    "#include <iterator>\n"
    "\n"
    "#include \"internal/bank_records.h\"\n"
    "#include \"tavrel/directory.h\"\n"
    "\n"
    "namespace tavrel::directory {\n"
    "namespace {\n"
    "\n"
    "// Every entry back to back, then blanks, so that a window of\n"
    "// kNameWindowSize bytes from the start of any name stays inside the array.\n"
    "constexpr char kEntryText[] =\n";

constexpr std::string_view kRecordsHead =
    ";\n"
    "\n"
    "constexpr BankRecord kRecords[] = {\n";

constexpr std::string_view kTail =
    "};\n"
    "\n"
    "static_assert(IsInsideText(kRecords, kEntryText), \"an entry's name window leaves "
    "kEntryText\");\n"
    "static_assert(std::size(kRecords) == kEntryCount, \"banks.tsv and kEntryCount disagree\");\n"
    "static_assert(IsWellFormedTable(kRecords), \"banks.tsv holds a malformed or unsorted "
    "record\");\n"
    "\n"
    "}  // namespace\n"
    "\n"
    "std::span<const BankRecord> CompiledBankRecords() { return kRecords; }\n"
    "\n"
    "}  // namespace tavrel::directory\n";

struct Bank {
  std::string bankCode;
  std::string entry;  // method code followed directly by the name, Windows-1252
};

// The bank on a line "BANKCODE<TAB>METHODCODE<TAB>SHORTNAME".
Bank ParseLine(const std::string& path, std::size_t lineIndex, std::string_view line) {
  const std::size_t firstTab = line.find('\t');
  const std::size_t secondTab =
      firstTab == std::string_view::npos ? firstTab : line.find('\t', firstTab + 1);
  if (secondTab == std::string_view::npos) {
    throw ToolError(Where(path, lineIndex, "expected three fields separated by tabs"));
  }
  const std::string_view bankCode = line.substr(0, firstTab);
  const std::string_view methodCode = line.substr(firstTab + 1, secondTab - firstTab - 1);
  const std::optional<std::string> name = encoding::Utf8ToCp1252(line.substr(secondTab + 1));
  if (!name) {
    throw ToolError(Where(path, lineIndex, "short name is not UTF-8 with a Windows-1252 form"));
  }
  const std::string entry = std::string(methodCode) + *name;
  if (!directory::IsWellFormedRecord({bankCode, entry})) {
    throw ToolError(Where(path, lineIndex, "malformed bank code, method code or short name"));
  }
  return {std::string(bankCode), entry};
}

std::string Source(const std::vector<Bank>& banks) {
  std::string source(kHead);
  for (const Bank& bank : banks) {
    source += "    " + CppStringLiteral(bank.entry) + "\n";
  }
  source += "    " + CppStringLiteral(std::string(directory::kNameWindowSize, ' '));
  source += kRecordsHead;
  std::size_t offset = 0;
  for (const Bank& bank : banks) {
    source += "    {" + CppStringLiteral(bank.bankCode) + ", {kEntryText + " +
              std::to_string(offset) + ", " + std::to_string(bank.entry.size()) + "}},\n";
    offset += bank.entry.size();
  }
  return source + std::string(kTail);
}

int Run(const std::vector<std::string_view>& args) {
  if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
    std::cout << kUsage;
    return 0;
  }
  if (args.size() != 2) {
    std::cerr << "tavrel_embed_banks: expected two arguments\n" << kUsage;
    return 2;
  }
  try {
    const std::string input(args[0]);
    const std::vector<std::string> lines = ReadLines(input);
    std::vector<Bank> banks;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      banks.push_back(ParseLine(input, i, lines[i]));
    }
    WriteText(Source(banks), std::string(args[1]));
  } catch (const ToolError& error) {
    std::cerr << "tavrel_embed_banks: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace tavrel::tools

int main(int argc, char** argv) { return tavrel::tools::Run({argv + 1, argv + argc}); }
