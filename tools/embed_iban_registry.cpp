// Build step: turns iban/iban_registry.tsv into the rows of the compiled-in IBAN
// country table, refusing any row the checks would not pass, with its line.
#include <charconv>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "iban/internal/notation.h"
#include "text_file.h"

namespace tavrel::tools {
namespace {

constexpr std::string_view kUsage =
    "Usage: tavrel_embed_iban_registry REGISTRY_TSV OUTPUT_INC\n"
    "\n"
    "Reads the IBAN registry (the header line \"country<TAB>length<TAB>structure<TAB>sepa<TAB>\n"
    "example\", then one line per country, ascending by country code, SEPA Yes or No)\n"
    "and writes the rows of the compiled-in country table.\n";

constexpr std::string_view kHeader = "country\tlength\tstructure\tsepa\texample";
constexpr std::size_t kFieldCount = 5;

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

// The row "{CODE, LENGTH, STRUCTURE, SEPA, EXAMPLE}," of one registry line. The
// checked fields hold only letters, digits and "!", so they need no escapes.
std::string Row(const std::string& path, std::size_t lineIndex, std::string_view line) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.size() != kFieldCount) {
    throw ToolError(Where(path, lineIndex, "expected five fields separated by tabs"));
  }
  const std::string_view code = fields[0];
  std::size_t length = 0;
  const auto [end, error] =
      std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), length);
  if (error != std::errc() || end != fields[1].data() + fields[1].size() || fields[1].empty()) {
    throw ToolError(Where(path, lineIndex, "the length is not a number"));
  }
  const std::string_view sepa = fields[3];
  if (sepa != "Yes" && sepa != "No") {
    throw ToolError(Where(path, lineIndex, "the SEPA field is neither Yes nor No"));
  }
  if (const std::string_view fault = iban::RowFault(code, length, fields[2], fields[4]);
      !fault.empty()) {
    throw ToolError(Where(path, lineIndex, fault));
  }
  return "{\"" + std::string(code) + "\", " + std::to_string(length) + ", \"" +
         std::string(fields[2]) + "\", " + (sepa == "Yes" ? "true" : "false") + ", \"" +
         std::string(fields[4]) + "\"},\n";
}

std::string Source(const std::string& path, const std::vector<std::string>& lines) {
  if (lines.empty() || lines[0] != kHeader) {
    throw ToolError(Where(path, 0, "expected the header line " + std::string(kHeader)));
  }
  std::string source =
      "// Generated from iban/iban_registry.tsv by tavrel_embed_iban_registry. Do not edit.\n";
  std::string_view previousCode;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    source += Row(path, i, lines[i]);
    const std::string_view code = std::string_view(lines[i]).substr(0, 2);
    if (code <= previousCode) {
      throw ToolError(Where(path, i, "country codes are not strictly ascending"));
    }
    previousCode = code;
  }
  return source;
}

int Run(const std::vector<std::string_view>& args) {
  if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
    std::cout << kUsage;
    return 0;
  }
  if (args.size() != 2) {
    std::cerr << "tavrel_embed_iban_registry: expected two arguments\n" << kUsage;
    return 2;
  }
  try {
    const std::string input(args[0]);
    WriteText(Source(input, ReadLines(input)), std::string(args[1]));
  } catch (const ToolError& error) {
    std::cerr << "tavrel_embed_iban_registry: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace tavrel::tools

int main(int argc, char** argv) { return tavrel::tools::Run({argv + 1, argv + argc}); }
