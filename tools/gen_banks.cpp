// Turns a Bundesbank bank-code file (fixed-width records of 168 characters,
// ISO-8859-1) into the directory's data file: one line per bank code,
// "BANKCODE<TAB>METHODCODE<TAB>SHORTNAME" in UTF-8, ascending by bank code.
#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "directory/internal/bank_records.h"
#include "tavrel/ascii.h"
#include "tavrel/encoding.h"
#include "text_file.h"

namespace tavrel::tools {
namespace {

constexpr std::string_view kUsage =
    "Usage: tavrel_gen_banks [-o OUTPUT] BUNDESBANK_FILE\n"
    "\n"
    "Reads a Bundesbank bank-code file (168-character records, LF or CRLF line\n"
    "ends) and writes the bank directory's data file: one line per bank code,\n"
    "BANKCODE<TAB>METHODCODE<TAB>SHORTNAME in UTF-8, ascending by bank code.\n"
    "Each bank code's entry comes from its Merkmal 1 record; records flagged D\n"
    "(deleted) are left out. The short name loses its trailing blanks.\n"
    "\n"
    "  -o OUTPUT   write to OUTPUT instead of standard output\n"
    "  -h, --help  show this text\n"
    "\n"
    "Exit status: 0 written, 1 unreadable or malformed input, 2 bad arguments.\n";

constexpr std::size_t kRecordLength = 168;

// Columns of a record, counted from 1 as the Bundesbank documents them.
struct Field {
  std::size_t first;
  std::size_t last;
  std::string_view Of(std::string_view record) const {
    return record.substr(first - 1, last - first + 1);
  }
};
constexpr Field kBankCode{1, 8};
constexpr Field kFeature{9, 9};  // Merkmal: 1 holds the bank code, 2 is a further branch
constexpr Field kShortName{108, 134};
constexpr Field kMethodCode{151, 152};
constexpr Field kChangeFlag{159, 159};  // A added, D deleted, U unchanged, M modified

struct Bank {
  std::string bankCode;
  std::string methodCode;
  std::string shortName;
};

std::string_view TrimTrailingBlanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

// Checks a record's form; gives the reason it is malformed, or an empty string.
std::string RecordFault(std::string_view record) {
  if (record.size() != kRecordLength) {
    return "record has " + std::to_string(record.size()) + " characters, expected 168";
  }
  if (!IsEightDigits(kBankCode.Of(record))) {
    return "bank code (columns 1-8) is not eight digits";
  }
  if (kFeature.Of(record) != "1" && kFeature.Of(record) != "2") {
    return "Merkmal (column 9) is neither 1 nor 2";
  }
  if (kChangeFlag.Of(record).find_first_not_of("ADUM") != std::string_view::npos) {
    return "change flag (column 159) is not one of A, D, U, M";
  }
  if (!directory::IsMethodCode(kMethodCode.Of(record))) {
    return "method code (columns 151-152) is not a digit or A-D followed by a digit";
  }
  if (TrimTrailingBlanks(kShortName.Of(record)).empty()) {
    return "short name (columns 108-134) is blank";
  }
  return {};
}

std::vector<Bank> ReadBanks(const std::string& path) {
  const std::vector<std::string> lines = ReadLines(path);
  std::vector<Bank> banks;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view record = lines[i];
    if (const std::string fault = RecordFault(record); !fault.empty()) {
      throw ToolError(Where(path, i, fault));
    }
    if (kFeature.Of(record) == "1" && kChangeFlag.Of(record) != "D") {
      banks.push_back({std::string(kBankCode.Of(record)), std::string(kMethodCode.Of(record)),
                       encoding::Cp1252ToUtf8(TrimTrailingBlanks(kShortName.Of(record)))});
    }
  }
  std::sort(banks.begin(), banks.end(),
            [](const Bank& a, const Bank& b) { return a.bankCode < b.bankCode; });
  const auto twin =
      std::adjacent_find(banks.begin(), banks.end(),
                         [](const Bank& a, const Bank& b) { return a.bankCode == b.bankCode; });
  if (twin != banks.end()) {
    throw ToolError(path + ": bank code " + twin->bankCode + " has more than one Merkmal 1 record");
  }
  return banks;
}

std::string FormatBanks(const std::vector<Bank>& banks) {
  std::string text;
  for (const Bank& bank : banks) {
    text.append(bank.bankCode)
        .append("\t")
        .append(bank.methodCode)
        .append("\t")
        .append(bank.shortName)
        .append("\n");
  }
  return text;
}

int Run(const std::vector<std::string_view>& args) {
  std::string input;
  std::string output;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-h" || args[i] == "--help") {
      std::cout << kUsage;
      return 0;
    }
    if (args[i] == "-o" && i + 1 < args.size()) {
      output = args[++i];
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
  try {
    WriteText(FormatBanks(ReadBanks(input)), output);
  } catch (const ToolError& error) {
    std::cerr << "tavrel_gen_banks: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace tavrel::tools

int main(int argc, char** argv) { return tavrel::tools::Run({argv + 1, argv + argc}); }
