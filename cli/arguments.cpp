#include "cli/arguments.h"

#include <optional>
#include <string_view>

#include "encoding/encoding.h"

namespace tavrel::cli {
namespace {

struct CommandShape {
  std::string_view word;
  CommandKind single;
  std::size_t minOperands;
  std::size_t maxOperands;
  std::optional<CommandKind> batch;  // the kind when the one operand is "-"
};

constexpr CommandShape kShapes[] = {
    {"check", CommandKind::kCheck, 2, 2, CommandKind::kCheckBatch},
    {"name", CommandKind::kName, 1, 1, std::nullopt},
    {"method", CommandKind::kMethod, 2, 3, CommandKind::kMethodBatch},
    {"search", CommandKind::kSearch, 1, 1, std::nullopt},
};

struct SplitArguments {
  std::vector<std::string_view> operands;
  bool help = false;
  bool version = false;
  bool json = false;
  std::string_view unknownOption;
};

SplitArguments SplitOptions(int argc, const char* const* argv) {
  SplitArguments split;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
      split.operands.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      split.help = true;
    } else if (arg == "--version") {
      split.version = true;
    } else if (arg == "--json") {
      split.json = true;
    } else if (split.unknownOption.empty()) {
      split.unknownOption = arg;
    }
  }
  return split;
}

ParseResult UsageError(std::string message) {
  ParseResult result;
  result.status = ParseStatus::kUsageError;
  result.error = std::move(message);
  return result;
}

const CommandShape* FindShape(std::string_view word) {
  for (const CommandShape& shape : kShapes) {
    if (shape.word == word) return &shape;
  }
  return nullptr;
}

std::optional<CommandKind> KindFor(const CommandShape& shape,
                                   const std::vector<std::string_view>& operands) {
  if (shape.batch && operands.size() == 1 && operands.front() == "-") return shape.batch;
  if (operands.size() < shape.minOperands || operands.size() > shape.maxOperands) {
    return std::nullopt;
  }
  return shape.single;
}

}  // namespace

ParseResult ParseArguments(int argc, const char* const* argv) {
  SplitArguments split = SplitOptions(argc, argv);
  if (split.help) return {};
  if (!split.unknownOption.empty()) {
    return UsageError("unknown option '" + std::string(split.unknownOption) + "'");
  }
  ParseResult result;
  if (split.version) {
    if (!split.operands.empty() || split.json) return UsageError("--version takes no arguments");
    result.command.kind = CommandKind::kVersion;
    return result;
  }
  if (split.operands.empty()) return UsageError("no command given");
  const CommandShape* shape = FindShape(split.operands.front());
  if (shape == nullptr) {
    return UsageError("unknown command '" + std::string(split.operands.front()) + "'");
  }
  split.operands.erase(split.operands.begin());
  std::optional<CommandKind> kind = KindFor(*shape, split.operands);
  if (!kind) return UsageError("wrong number of arguments for '" + std::string(shape->word) + "'");
  if (split.json && *kind != CommandKind::kSearch) {
    return UsageError("--json applies to 'search' only");
  }
  result.command.kind = *kind;
  result.command.json = split.json;
  for (std::size_t i = 0; i < split.operands.size(); ++i) {
    std::optional<std::string> text = encoding::Utf8ToCp1252(split.operands[i]);
    if (!text) {
      result.status = ParseStatus::kEncodingError;
      result.error = "argument " + std::to_string(i + 1) + " of '" + std::string(shape->word) +
                     "' is not valid UTF-8 or has a character without a Windows-1252 form";
      return result;
    }
    result.command.operands.push_back(std::move(*text));
  }
  return result;
}

}  // namespace tavrel::cli
