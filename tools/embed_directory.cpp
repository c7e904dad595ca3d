// Build step: turns a six-column bank file (directory/banks_2009.tsv,
// directory/banks_current.tsv) into the C++ source of a compiled-in Directory's
// data, names in Windows-1252, checked at compile time.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "directory/internal/bank_fields.h"
#include "tavrel/encoding.h"
#include "text_file.h"

namespace tavrel::tools {
namespace {

constexpr std::string_view kUsage =
    "Usage: tavrel_embed_directory --generation 2009|current --source NAME\n"
    "                              --valid-until YYYY-MM-DD BANKS_TSV OUTPUT_CPP\n"
    "\n"
    "Reads a bank file of tavrel_gen_banks --full (BANKCODE, METHODCODE, SHORTNAME,\n"
    "BIC, deletion notice 0 or 1, successor bank code, and optionally the IBAN rule,\n"
    "separated by tabs, UTF-8, ascending by bank code) and writes the C++ source of\n"
    "a compiled-in directory. NAME is the Bundesbank file it was generated from\n"
    "(blz_YYYYMMDD.txt gives the valid-from date); --valid-until its last valid day.\n";

struct Arguments {
  std::string generation;
  std::string source;
  std::string validUntil;
  std::string input;
  std::string output;
};

// The fields of one line, the name already in Windows-1252.
struct Line {
  std::vector<std::string> fields;
  directory::Bank Bank() const {
    return {fields[0],
            fields[1],
            fields[2],
            fields[3],
            fields[4] == "1",
            fields[5],
            fields.size() > 6 ? std::string_view(fields[6]) : std::string_view{}};
  }
};

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.emplace_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

Line ParseLine(const std::string& path, std::size_t lineIndex, std::string_view text) {
  Line line{SplitTabs(text)};
  if (line.fields.size() != 6 && line.fields.size() != 7) {
    throw ToolError(Where(path, lineIndex, "expected six or seven fields separated by tabs"));
  }
  const std::optional<std::string> name = encoding::Utf8ToCp1252(line.fields[2]);
  if (!name) {
    throw ToolError(Where(path, lineIndex, "short name is not UTF-8 with a Windows-1252 form"));
  }
  line.fields[2] = *name;
  if ((line.fields[4] != "0" && line.fields[4] != "1") ||
      !directory::IsWellFormedBank(line.Bank())) {
    throw ToolError(Where(path, lineIndex, "malformed field"));
  }
  return line;
}

// "std::chrono::year_month_day{...}" for a date YYYY-MM-DD.
std::string DateExpression(std::string_view date) {
  const bool digits = date.size() == 10 && date[4] == '-' && date[7] == '-' &&
                      IsEightDigits(std::string(date.substr(0, 4)) +
                                    std::string(date.substr(5, 2)) + std::string(date.substr(8)));
  const auto number = [&](std::size_t at, std::size_t count) {
    return digits ? std::stoi(std::string(date.substr(at, count))) : 0;
  };
  const std::chrono::year_month_day parsed{std::chrono::year{number(0, 4)},
                                           std::chrono::month{static_cast<unsigned>(number(5, 2))},
                                           std::chrono::day{static_cast<unsigned>(number(8, 2))}};
  if (!parsed.ok()) {
    throw ToolError("--valid-until " + std::string(date) + " is not a date YYYY-MM-DD");
  }
  return "std::chrono::year_month_day{std::chrono::year{" + std::to_string(number(0, 4)) +
         "}, std::chrono::month{" + std::to_string(number(5, 2)) + "}, std::chrono::day{" +
         std::to_string(number(8, 2)) + "}}";
}

std::string Source(const Arguments& args, const std::vector<Line>& lines) {
  const bool is2009 = args.generation == "2009";
  std::string source = "// Generated from " +
                       std::filesystem::path(args.input).filename().string() +
                       " by tavrel_embed_directory. Do not edit.\n" +
                       "#include \"internal/bank_fields.h\"\n"
                       "#include \"internal/compiled_directories.h\"\n"
                       "\n"
                       "namespace tavrel::directory {\n"
                       "namespace {\n"
                       "\n"
                       "constexpr Bank kBanks[] = {\n";
  for (const Line& line : lines) {
    const directory::Bank bank = line.Bank();
    source += "    {" + CppStringLiteral(bank.bankCode) + ", " + CppStringLiteral(bank.methodCode) +
              ", " + CppStringLiteral(bank.shortName) + ", " + CppStringLiteral(bank.bic) + ", " +
              (bank.deletionNotice ? "true" : "false") + ", " + CppStringLiteral(bank.successor) +
              ", " + CppStringLiteral(bank.ibanRule) + "},\n";
  }
  source += "};\n\n";
  // One check per block keeps each within the compilers' constant-evaluation
  // step limits; the blocks overlap by one bank so the order is checked across.
  constexpr std::size_t kBlock = 512;
  for (std::size_t first = 0; first < lines.size(); first += kBlock) {
    const std::size_t count = std::min(kBlock + 1, lines.size() - first);
    source += "static_assert(IsWellFormedDirectory(std::span(kBanks).subspan(" +
              std::to_string(first) + ", " + std::to_string(count) +
              ")), \"the bank file holds a malformed or unsorted record\");\n";
  }
  source += "\n";
  source += "constexpr CompiledDirectoryData kData{" + CppStringLiteral(args.source) + ",\n    " +
            DateExpression(args.validUntil) + ",\n    " +
            (is2009 ? "RuleGeneration::k2009" : "RuleGeneration::kCurrent") + ", kBanks};\n" +
            "static_assert(kData.validUntil.ok());\n\n}  // namespace\n\n";
  source += "const CompiledDirectoryData& CompiledData" + std::string(is2009 ? "2009" : "Current") +
            "() { return kData; }\n\n";
  return source + "}  // namespace tavrel::directory\n";
}

std::optional<Arguments> ParseArguments(const std::vector<std::string_view>& args) {
  Arguments parsed;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--generation" && hasValue) {
      parsed.generation = args[++i];
    } else if (args[i] == "--source" && hasValue) {
      parsed.source = args[++i];
    } else if (args[i] == "--valid-until" && hasValue) {
      parsed.validUntil = args[++i];
    } else if (args[i].starts_with('-')) {
      return std::nullopt;
    } else {
      files.emplace_back(args[i]);
    }
  }
  if (files.size() != 2 || (parsed.generation != "2009" && parsed.generation != "current") ||
      parsed.source.empty() || parsed.validUntil.empty()) {
    return std::nullopt;
  }
  parsed.input = files[0];
  parsed.output = files[1];
  return parsed;
}

int Run(const std::vector<std::string_view>& args) {
  if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
    std::cout << kUsage;
    return 0;
  }
  const std::optional<Arguments> parsed = ParseArguments(args);
  if (!parsed) {
    std::cerr << "tavrel_embed_directory: bad arguments\n" << kUsage;
    return 2;
  }
  try {
    const std::vector<std::string> lines = ReadLines(parsed->input);
    std::vector<Line> banks;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      banks.push_back(ParseLine(parsed->input, i, lines[i]));
      if (i > 0 && banks[i - 1].fields[0] >= banks[i].fields[0]) {
        throw ToolError(Where(parsed->input, i, "bank codes do not ascend"));
      }
    }
    if (banks.empty()) {
      throw ToolError(parsed->input + " holds no bank");
    }
    WriteText(Source(*parsed, banks), parsed->output);
  } catch (const ToolError& error) {
    std::cerr << "tavrel_embed_directory: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace tavrel::tools

int main(int argc, char** argv) { return tavrel::tools::Run({argv + 1, argv + argc}); }
