// The one reader of the Bundesbank's bank-code file, for the generator of the
// compiled-in tables and for files loaded at run time. A file either gives a
// whole directory or one error naming the line and the field; nothing is half
// filled.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "internal/bank_fields.h"
#include "internal/bundesbank_layout.h"
#include "tavrel/directory.h"

namespace tavrel::directory {
namespace {

// Far above any bank-code file (about 3.5 MB), far below what would hurt.
constexpr std::uintmax_t kLargestFile = 64u << 20;
constexpr std::string_view kNotABankCodeFile =
    " (this does not look like a Bundesbank bank-code file)";

// Appended piece by piece: gcc 12 without LTO sees an overlapping memcpy in
// `"\"" + std::string(text)` (-Wrestrict) that cannot happen.
std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  quoted += text;
  quoted += '"';
  return quoted;
}

std::string Columns(const Field& field) {
  return field.first == field.last
             ? "column " + std::to_string(field.first)
             : "columns " + std::to_string(field.first) + "-" + std::to_string(field.last);
}

// "method code "Z1" is not 00-99 or A0-E9 (columns 151-152)"
std::string FieldFault(std::string_view name, const Field& field, std::string_view record,
                       std::string_view expected) {
  return std::string(name) + " " + Quoted(field.Of(record)) + " is not " + std::string(expected) +
         " (" + Columns(field) + ")";
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

std::string ControlCharacterFault(std::string_view record) {
  const auto control = std::find_if(record.begin(), record.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
  if (control == record.end()) {
    return {};
  }
  char code[8];
  std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(*control));
  return "control character " + std::string(code) + " in column " +
         std::to_string(control - record.begin() + 1);
}

// The reason a record of the right width is malformed, or an empty string.
std::string RecordFault(std::string_view record) {
  if (std::string fault = ControlCharacterFault(record); !fault.empty()) {
    return fault;
  }
  if (!IsEightDigits(kBankCodeField.Of(record))) {
    return FieldFault("bank code", kBankCodeField, record, "eight digits");
  }
  const std::string_view feature = kFeatureField.Of(record);
  if (feature != "1" && feature != "2") {
    return FieldFault("Merkmal", kFeatureField, record, "1 or 2");
  }
  const std::string_view shortName = kShortNameField.Of(record);
  if (IsBlank(shortName)) {
    return "short name is blank (" + Columns(kShortNameField) + ")";
  }
  if (shortName.front() == ' ') {
    return "short name " + Quoted(shortName) + " begins with a blank (" + Columns(kShortNameField) +
           ")";
  }
  const std::string_view bic = TrimTrailingBlanks(kBicField.Of(record));
  if (!bic.empty() && !IsBic(bic)) {
    return FieldFault("BIC", kBicField, record, "8 or 11 capital letters and digits, or blank");
  }
  if (!IsMethodCode(kMethodCodeField.Of(record))) {
    return FieldFault("method code", kMethodCodeField, record, "00-99 or A0-E9");
  }
  if (kChangeFlagField.Of(record).find_first_not_of("ADUM") != std::string_view::npos) {
    return FieldFault("change flag", kChangeFlagField, record, "A, D, U or M");
  }
  if (kDeletionNoticeField.Of(record).find_first_not_of("01 ") != std::string_view::npos) {
    return FieldFault("deletion notice", kDeletionNoticeField, record, "0, 1 or blank");
  }
  const std::string_view successor = kSuccessorField.Of(record);
  if (!IsEightDigits(successor) && !IsBlank(successor)) {
    return FieldFault("successor bank code", kSuccessorField, record, "eight digits or blank");
  }
  if (record.size() == kExtendedRecordLength && !IsIbanRule(kIbanRuleField.Of(record))) {
    return FieldFault("IBAN rule", kIbanRuleField, record, "six digits");
  }
  return {};
}

// A Merkmal 1 record's entry, its views into the file's content.
Bank EntryOf(std::string_view record) {
  const std::string_view successor = kSuccessorField.Of(record);
  return {kBankCodeField.Of(record),
          kMethodCodeField.Of(record),
          TrimTrailingBlanks(kShortNameField.Of(record)),
          TrimTrailingBlanks(kBicField.Of(record)),
          kDeletionNoticeField.Of(record) == "1",
          successor == "00000000" || IsBlank(successor) ? std::string_view{} : successor,
          record.size() == kExtendedRecordLength ? kIbanRuleField.Of(record) : std::string_view{}};
}

// One pass over the lines of a file, collecting the entries.
class FileReader {
 public:
  FileReader(std::string_view content, const LoadOptions& options)
      : content_(content), options_(options) {}

  // The entries in ascending order, or the first fault (then `result.error` is set).
  std::vector<Bank> Read(LoadResult& result) {
    if (content_.empty()) {
      result.error = FileProblem{0, {}, "the file is empty"};
      return {};
    }
    for (std::size_t start = 0, number = 1; start < content_.size(); ++number) {
      const std::size_t end = std::min(content_.find('\n', start), content_.size());
      std::string_view record = content_.substr(start, end - start);
      if (record.ends_with('\r')) record.remove_suffix(1);
      const bool lastWithoutEnd = end == content_.size();
      start = end + 1;
      if (std::string fault = LineFault(record, number, lastWithoutEnd); !fault.empty()) {
        result.error = FileProblem{number, {}, std::move(fault)};
        return {};
      }
      if (!Take(record, number, result)) return {};
    }
    return Finish(result);
  }

 private:
  std::string LineFault(std::string_view record, std::size_t number, bool lastWithoutEnd) {
    if (number == 1) {
      if (record.size() != kRecordLength && record.size() != kExtendedRecordLength) {
        return "record has " + std::to_string(record.size()) + " characters, expected 168 or 174" +
               std::string(kNotABankCodeFile);
      }
      width_ = record.size();
      const std::string fault = RecordFault(record);
      return fault.empty() ? fault : fault + std::string(kNotABankCodeFile);
    }
    if (record.size() != width_) {
      return "record has " + std::to_string(record.size()) + " characters, expected " +
             std::to_string(width_) +
             (lastWithoutEnd && record.size() < width_ ? ": the file is cut off" : "");
    }
    return RecordFault(record);
  }

  // Keeps the record's entry when it has one; false after a fault.
  bool Take(std::string_view record, std::size_t number, LoadResult& result) {
    if (kFeatureField.Of(record) != "1" || kChangeFlagField.Of(record) == "D") {
      return true;
    }
    const Bank bank = EntryOf(record);
    if (options_.hasMethod && !options_.hasMethod(bank.methodCode)) {
      FileProblem problem{number, std::string(bank.bankCode),
                          "method code " + Quoted(bank.methodCode) +
                              " has no method in rule generation " +
                              std::string(NameOf(options_.generation))};
      if (options_.strict) {
        result.error = std::move(problem);
        return false;
      }
      result.warnings.push_back(std::move(problem));
    }
    entries_.push_back({bank, number});
    return true;
  }

  std::vector<Bank> Finish(LoadResult& result) {
    std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
      return a.bank.bankCode < b.bank.bankCode;
    });
    const auto twin = std::adjacent_find(
        entries_.begin(), entries_.end(),
        [](const Entry& a, const Entry& b) { return a.bank.bankCode == b.bank.bankCode; });
    if (twin != entries_.end()) {
      result.error = FileProblem{std::next(twin)->line,
                                 {},
                                 "bank code " + std::string(twin->bank.bankCode) +
                                     " has more than one Merkmal 1 record (the first on line " +
                                     std::to_string(twin->line) + ")"};
      return {};
    }
    if (entries_.empty()) {
      result.error = FileProblem{0, {}, "no bank code has a Merkmal 1 record that is not deleted"};
      return {};
    }
    if (entries_.size() > 0xFFFF) {
      result.error = FileProblem{0, {}, "more than 65535 bank codes"};
      return {};
    }
    std::vector<Bank> banks;
    banks.reserve(entries_.size());
    for (const Entry& entry : entries_) banks.push_back(entry.bank);
    return banks;
  }

  struct Entry {
    Bank bank;
    std::size_t line;
  };

  std::string_view content_;
  const LoadOptions& options_;
  std::size_t width_ = 0;
  std::vector<Entry> entries_;
};

LoadResult Failure(std::string message, bool unreadable) {
  LoadResult result;
  result.error = FileProblem{0, {}, std::move(message)};
  result.unreadable = unreadable;
  return result;
}

}  // namespace

std::optional<std::chrono::year_month_day> DateInFileName(std::string_view source) {
  const std::size_t slash = source.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? source : source.substr(slash + 1);
  constexpr std::string_view kPrefix = "blz_";
  constexpr std::string_view kSuffix = ".txt";
  constexpr std::size_t kDigits = 8;
  if (name.size() < kPrefix.size() + kDigits + kSuffix.size() || !name.starts_with(kPrefix) ||
      !EqualIgnoringAsciiCase(name.substr(name.size() - kSuffix.size()), kSuffix) ||
      !IsEightDigits(name.substr(kPrefix.size(), kDigits))) {
    return std::nullopt;
  }
  const std::string_view digits = name.substr(kPrefix.size(), kDigits);
  const auto number = [&](std::size_t at, std::size_t count) {
    int value = 0;
    for (const char c : digits.substr(at, count)) value = value * 10 + (c - '0');
    return value;
  };
  const std::chrono::year_month_day date{std::chrono::year{number(0, 4)},
                                         std::chrono::month{static_cast<unsigned>(number(4, 2))},
                                         std::chrono::day{static_cast<unsigned>(number(6, 2))}};
  return date.ok() ? std::optional(date) : std::nullopt;
}

std::string Describe(const FileProblem& problem) {
  return problem.line == 0 ? problem.message
                           : "line " + std::to_string(problem.line) + ": " + problem.message;
}

LoadResult ParseDirectory(std::string_view content, std::string_view source,
                          const LoadOptions& options) {
  LoadResult result;
  const std::vector<Bank> banks = FileReader(content, options).Read(result);
  if (!result.error) {
    DirectoryInfo info{std::string(source), false, DateInFileName(source),
                       std::nullopt,        0,     options.generation};
    result.directory = std::make_shared<const Directory>(std::move(info), banks);
  }
  return result;
}

LoadResult LoadDirectory(const std::filesystem::path& path, const LoadOptions& options) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) {
    return Failure("cannot read " + path.string() + ": " + error.message(), true);
  }
  if (size > kLargestFile) {
    return Failure(path.string() + " has " + std::to_string(size) +
                       " bytes, more than any Bundesbank bank-code file",
                   false);
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return Failure("cannot open " + path.string() + ": " + std::strerror(errno), true);
  }
  std::string content(static_cast<std::size_t>(size), '\0');
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  if (static_cast<std::uintmax_t>(in.gcount()) != size) {
    return Failure("cannot read " + path.string() + ": it changed while being read", true);
  }
  return ParseDirectory(content, path.string(), options);
}

}  // namespace tavrel::directory
