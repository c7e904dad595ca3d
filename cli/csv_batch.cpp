#include "internal/csv_batch.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "internal/batch.h"
#include "internal/csv.h"
#include "internal/exit_status.h"
#include "internal/output.h"
#include "tavrel/encoding.h"
#include "tavrel/iban.h"
#include "tavrel/service.h"

namespace tavrel::cli {
namespace {

std::uint64_t CountLineFeeds(std::string_view bytes) {
  return static_cast<std::uint64_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

// A row ends as its record did; the input's last record may have had no line end.
void AppendRowEnd(std::string& out, std::string_view lineEnd) {
  out += lineEnd.empty() ? "\n" : lineEnd;
}

void AppendErrorColumns(std::string& out, char delimiter, std::uint64_t lineNumber,
                        std::string_view reason) {
  std::string message = "malformed record at line ";
  AppendDecimal(message, static_cast<long long>(lineNumber));
  message += ": ";
  message += reason;
  out += delimiter;
  out += "ERROR";
  out += delimiter;
  AppendCsvField(out, message, delimiter);
}

// A used field in the system's Windows-1252 form; false when it has none.
bool ToCp1252(std::string_view utf8, std::string& storage, std::string_view& text) {
  if (IsAscii(utf8)) {
    text = utf8;
    return true;
  }
  std::optional<std::string> converted = encoding::Utf8ToCp1252(utf8);
  if (!converted) return false;
  storage = std::move(*converted);
  text = storage;
  return true;
}

// Scratch space for one chunk, so records are checked without allocating.
struct RecordWork {
  std::vector<std::string_view> fields;
  std::array<std::string, 2> unquoted;
  std::array<std::string, 2> converted;
};

void AppendResult(std::string& out, char delimiter, Outcome outcome) {
  out += delimiter;
  AppendDecimal(out, ValueOf(outcome));
  out += delimiter;
  AppendCsvField(out, BatchMessage(ValueOf(outcome)), delimiter);
}

const char* AppendIbanColumns(const CsvLayout& layout, RecordWork& work, std::string& out,
                              BatchCounts& counts) {
  if (work.fields.size() <= layout.ibanIndex) return "too few columns";
  const std::string_view value = CsvFieldValue(work.fields[layout.ibanIndex], work.unquoted[0]);
  std::string_view text;
  if (!ToCp1252(value, work.converted[0], text)) return kNoCp1252Form;
  const iban::IbanVerdict verdict = iban::CheckIban(text, layout.source);
  const bool accountDecides = IsValid(verdict.iban) && verdict.german;
  counts.CountResult(ValueOf(accountDecides ? verdict.german->accountOutcome : verdict.iban));
  AppendResult(out, layout.delimiter, verdict.iban);
  if (verdict.german) {
    AppendResult(out, layout.delimiter, verdict.german->accountOutcome);
  } else {
    out += layout.delimiter;
    out += layout.delimiter;
  }
  return nullptr;
}

// Checks a well-formed record and appends its result columns; or returns why
// the record cannot be checked.
const char* AppendResultColumns(const CsvLayout& layout, RecordWork& work, std::string& out,
                                BatchCounts& counts) {
  if (layout.iban) return AppendIbanColumns(layout, work, out, counts);
  if (work.fields.size() <= std::max(layout.bankIndex, layout.accountIndex)) {
    return "too few columns";
  }
  const std::size_t indices[] = {layout.bankIndex, layout.accountIndex};
  std::array<std::string_view, 2> text;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string_view value = CsvFieldValue(work.fields[indices[i]], work.unquoted[i]);
    if (!ToCp1252(value, work.converted[i], text[i])) return kNoCp1252Form;
  }
  const Outcome outcome = service::CheckAccount({text[0], text[1]}, layout.source);
  counts.CountResult(ValueOf(outcome));
  AppendResult(out, layout.delimiter, outcome);
  return nullptr;
}

// An over-long record is not kept: its row is an empty field and the error.
void AppendOverLongRow(std::string& out, char delimiter, std::uint64_t lineNumber) {
  AppendErrorColumns(out, delimiter, lineNumber, kTooLong);
  out += '\n';
}

// Appends the output row of one record; returns false when it is malformed.
bool AppendRow(const CsvLayout& layout, const CsvSplit& split, std::uint64_t lineNumber,
               RecordWork& work, std::string& out, BatchCounts& counts) {
  if (split.status == CsvSplitStatus::kOverLong) {
    AppendOverLongRow(out, layout.delimiter, lineNumber);
    return false;
  }
  const std::size_t rowStart = out.size();
  out += split.text;
  const char* fault = split.fault;
  if (!fault) fault = AppendResultColumns(layout, work, out, counts);
  if (fault) {
    out.resize(rowStart + split.text.size());
    // Closing an open quote keeps the output readable as CSV.
    if (split.fault && std::string_view(split.fault) == kUnterminatedQuote) out += '"';
    AppendErrorColumns(out, layout.delimiter, lineNumber, fault);
  }
  AppendRowEnd(out, split.lineEnd);
  return fault == nullptr;
}

int HeaderFault(std::string_view reason) {
  WriteAll(STDERR_FILENO, "tavrel: header row: " + std::string(reason) + "\n");
  return kExitInputFault;
}

// Places the two used columns by `header` (null without a header row) and says
// which they are when asked to. Returns 0, or the exit status when they cannot be
// used.
int SetLayout(const std::vector<std::string>* header, const CsvOptions& options,
              const service::CheckSource& source, CsvLayout& layout) {
  const ColumnResolution columns = ResolveColumns(options.columns, header);
  if (columns.exitStatus != 0) {
    WriteAll(STDERR_FILENO, columns.error);
    return columns.exitStatus;
  }
  if (options.verbose || ::isatty(STDERR_FILENO) == 1) {
    WriteAll(STDERR_FILENO, ChosenColumnsLine(columns, header));
  }
  layout = {options.delimiter,
            columns.index[static_cast<std::size_t>(ColumnKind::kBankCode)],
            columns.index[static_cast<std::size_t>(ColumnKind::kAccount)],
            columns.iban,
            columns.index[static_cast<std::size_t>(ColumnKind::kIban)],
            source};
  return kExitValid;
}

// Reads the header record at the start of `first`, sets the layout from it and
// writes the header row, then drops the record from the chunk. Returns 0, or the
// exit status of a header that cannot be used.
int TakeHeader(Chunk& first, const CsvOptions& options, const service::CheckSource& source,
               CsvLayout& layout, OutputSink& sink) {
  if (first.overLongLine) return HeaderFault(kTooLong);
  std::vector<std::string_view> fields;
  const CsvSplit split = SplitCsvRecord(first.lines, options.delimiter, true, fields);
  if (split.fault) return HeaderFault(split.fault);
  std::vector<std::string> header;
  std::string scratch;
  for (std::string_view field : fields) header.emplace_back(CsvFieldValue(field, scratch));
  if (const int status = SetLayout(&header, options, source, layout)) return status;
  std::string& out = sink.Buffer();
  out += split.text;
  out += options.delimiter;
  out += "result";
  out += options.delimiter;
  out += "message";
  if (layout.iban) {
    out += options.delimiter;
    out += "account_result";
    out += options.delimiter;
    out += "account_message";
  }
  AppendRowEnd(out, split.lineEnd);
  first.firstLineNumber += CountLineFeeds(first.lines.substr(0, split.consumed));
  first.lines.remove_prefix(split.consumed);
  return kExitValid;
}

// Drops the header record of a later input from its first chunk.
void DropHeader(Chunk& first, char delimiter) {
  if (first.overLongLine) {
    first.overLongLine = false;
    return;
  }
  std::vector<std::string_view> fields;
  const CsvSplit split = SplitCsvRecord(first.lines, delimiter, true, fields);
  first.firstLineNumber += CountLineFeeds(first.lines.substr(0, split.consumed));
  first.lines.remove_prefix(split.consumed);
}

}  // namespace

BatchCounts ProcessCsvChunk(const Chunk& chunk, const CsvLayout& layout, std::string& out) {
  if (chunk.overLongLine) {
    AppendOverLongRow(out, layout.delimiter, chunk.firstLineNumber);
    return {1, 1};
  }
  BatchCounts counts;
  counts.bytes = chunk.lines.size();
  RecordWork work;
  std::uint64_t lineNumber = chunk.firstLineNumber;
  for (std::string_view rest = chunk.lines; !rest.empty();) {
    const CsvSplit split = SplitCsvRecord(rest, layout.delimiter, true, work.fields);
    if (!AppendRow(layout, split, lineNumber, work, out, counts)) ++counts.malformed;
    ++counts.lines;
    lineNumber += CountLineFeeds(rest.substr(0, split.consumed));
    rest.remove_prefix(split.consumed);
  }
  return counts;
}

int RunCsvBatch(const BatchOptions& batch, const CsvOptions& options,
                const service::CheckSource& source) {
  BatchRun run(batch, Framing::kCsvRecords, options.delimiter);
  if (const int status = run.Open()) return status;
  CsvLayout layout;
  // Without a header row the columns are known before any input is read.
  if (!options.header) {
    if (const int status = SetLayout(nullptr, options, source, layout)) return status;
  }
  // The first input's header row sets the columns; the later ones' are dropped.
  bool headerTaken = false;
  int headerStatus = kExitValid;
  auto next = [&](Chunk& chunk) {
    for (bool fileStart = false; run.Inputs().Next(chunk, fileStart);) {
      if (!options.header || !fileStart) return true;
      if (headerTaken) {
        DropHeader(chunk, options.delimiter);
      } else {
        headerStatus = TakeHeader(chunk, options, source, layout, run.Sink());
        if (headerStatus != kExitValid) return false;
      }
      headerTaken = true;
      if (!chunk.lines.empty()) return true;
    }
    return false;
  };
  // The first header row is read before the workers start, so one that cannot
  // be used stops the run before anything is written.
  Chunk first;
  bool firstPending = next(first);
  if (headerStatus != kExitValid) return headerStatus;
  auto fromFirst = [&](Chunk& chunk) {
    if (!firstPending) return next(chunk);
    chunk = first;
    firstPending = false;
    return true;
  };
  const BatchCounts counts = RunChunks(
      fromFirst,
      [&layout](const Chunk& chunk, std::string& out) {
        return ProcessCsvChunk(chunk, layout, out);
      },
      batch.threads, run.Sink(), run.Progress());
  return run.Finish(counts);
}

}  // namespace tavrel::cli
