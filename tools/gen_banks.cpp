// Turns a Bundesbank bank-code file into one of the directory's data files: one
// line per bank code in UTF-8, ascending by bank code. Without --full the three
// columns of directory/banks.tsv; with --full the six (or seven) of
// directory/banks_2009.tsv and directory/banks_current.tsv.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/encoding.h"
#include "text_file.h"

namespace tavrel::tools {
namespace {

constexpr std::string_view kUsage =
    "Usage: tavrel_gen_banks [--full] [-o OUTPUT] BUNDESBANK_FILE\n"
    "\n"
    "Reads a Bundesbank bank-code file (records of 168 or 174 characters, LF or\n"
    "CRLF line ends) and writes a bank directory data file: one line per bank\n"
    "code, fields separated by tabs, UTF-8, ascending by bank code. Each bank\n"
    "code's entry comes from its Merkmal 1 record; records flagged D (deleted) are\n"
    "left out. The short name loses its trailing blanks.\n"
    "\n"
    "Without --full: BANKCODE, METHODCODE, SHORTNAME, the layout of the 2009\n"
    "directory (directory/banks.tsv), whose method codes run up to D9.\n"
    "\n"
    "  --full      six columns: also BIC (empty when none), deletion notice (0 or\n"
    "              1) and successor bank code (empty when none); a seventh, the\n"
    "              IBAN rule, when the file has 174-character records\n"
    "  -o OUTPUT   write to OUTPUT instead of standard output\n"
    "  -h, --help  show this text\n"
    "\n"
    "Exit status: 0 written, 1 unreadable or malformed input, 2 bad arguments.\n";

// The 2009 directory's method codes: in 2009 the Bundesbank's letter codes ran
// up to D; E0 and later belong to later rule generations.
bool IsMethodCodeOf2009(std::string_view methodCode) { return methodCode[0] <= 'D'; }

std::string FormatBanks(const directory::Directory& banks, bool full) {
  std::string text;
  for (const directory::Bank bank : banks) {
    text.append(bank.bankCode)
        .append("\t")
        .append(bank.methodCode)
        .append("\t")
        .append(encoding::Cp1252ToUtf8(bank.shortName));
    if (full) {
      text.append("\t")
          .append(bank.bic)
          .append(bank.deletionNotice ? "\t1\t" : "\t0\t")
          .append(bank.successor);
      if (!bank.ibanRule.empty()) text.append("\t").append(bank.ibanRule);
    }
    text.append("\n");
  }
  return text;
}

int Run(const std::vector<std::string_view>& args) {
  std::string input;
  std::string output;
  bool full = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-h" || args[i] == "--help") {
      std::cout << kUsage;
      return 0;
    }
    if (args[i] == "-o" && i + 1 < args.size()) {
      output = args[++i];
    } else if (args[i] == "--full") {
      full = true;
    } else if (input.empty() && !args[i].starts_with('-')) {
      input = args[i];
    } else {
      std::cerr << "tavrel_gen_banks: unexpected argument '" << args[i] << "'\n" << kUsage;
      return 2;
    }
  }
  if (input.empty()) {
    std::cerr << "tavrel_gen_banks: no Bundesbank file given\n" << kUsage;
    return 2;
  }
  directory::LoadOptions options;
  if (!full) {
    options = {directory::RuleGeneration::k2009, IsMethodCodeOf2009, true};
  }
  const directory::LoadResult loaded = directory::LoadDirectory(input, options);
  try {
    if (loaded.error) {
      throw ToolError(loaded.error->line == 0
                          ? loaded.error->message
                          : Where(input, loaded.error->line - 1, loaded.error->message));
    }
    WriteText(FormatBanks(*loaded.directory, full), output);
  } catch (const ToolError& error) {
    std::cerr << "tavrel_gen_banks: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace tavrel::tools

int main(int argc, char** argv) { return tavrel::tools::Run({argv + 1, argv + argc}); }
