// The CSV batch mode of `check`: reads CSV records, checks the bank code and
// account columns of each, or its IBAN column, and writes every record as read
// with two columns appended, `result` and `message`; for IBANs four:
// `result` and `message` of the IBAN, `account_result` and `account_message`
// of the account check of a German one.
#pragma once

#include <cstddef>
#include <string>

#include "batch_reader.h"
#include "batch_run.h"
#include "chunk_pipeline.h"
#include "csv_columns.h"
#include "tavrel/service.h"

namespace tavrel::cli {

struct CsvOptions {
  char delimiter = ',';
  bool header = true;
  bool verbose = false;  // say which columns were chosen even off a terminal
  ColumnChoices columns;
};

// Where the used columns are, from 0.
struct CsvLayout {
  char delimiter = ',';
  std::size_t bankIndex = 0;
  std::size_t accountIndex = 1;
  bool iban = false;  // the IBAN column instead of the other two
  std::size_t ibanIndex = 0;
  service::CheckSource source = service::DefaultSource();
};

// Appends one output row per record of `chunk`; a malformed record gets the
// result "ERROR" and the message "malformed record at line N: REASON".
BatchCounts ProcessCsvChunk(const Chunk& chunk, const CsvLayout& layout, std::string& out);

// Runs the CSV batch over `batch`'s inputs, each input's first record its header
// row unless `options.header` is off (the first one's sets the columns, the
// later ones' are dropped); exit statuses as RunBatch, plus 2
// when the header row is malformed or lacks a named column, and 64 when the
// columns cannot be told apart (see csv_columns.h); then nothing is written.
int RunCsvBatch(const BatchOptions& batch, const CsvOptions& options,
                const service::CheckSource& source);

}  // namespace tavrel::cli
