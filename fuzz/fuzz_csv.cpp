// The CSV reader of `check --csv` on arbitrary bytes: records are split one after
// another until the input is used up. Every record must be consumed whole (its
// text and line end are the bytes consumed), end where the quote-parity scan says,
// and a well-formed record written back field by field must split into the same
// values. The whole input then goes through the chunk processor as one chunk.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/internal/csv.h"
#include "cli/internal/csv_batch.h"
#include "fuzz_assert.h"

namespace {

using namespace tavrel::cli;

std::vector<std::string> FieldValues(const std::vector<std::string_view>& fields) {
  std::vector<std::string> values;
  std::string scratch;
  for (std::string_view field : fields) values.emplace_back(CsvFieldValue(field, scratch));
  return values;
}

// Writes the values as one record and splits it again.
void CheckRewrite(const std::vector<std::string>& values, char delimiter) {
  std::string record;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) record += delimiter;
    AppendCsvField(record, values[i], delimiter);
  }
  record += '\n';
  std::vector<std::string_view> fields;
  const CsvSplit again = SplitCsvRecord(record, delimiter, true, fields);
  FUZZ_ASSERT(again.status == CsvSplitStatus::kRecord && again.consumed == record.size());
  FUZZ_ASSERT(FieldValues(fields) == values);
}

void CheckRecord(std::string_view rest, const CsvSplit& split, char delimiter,
                 const std::vector<std::string_view>& fields) {
  FUZZ_ASSERT(split.consumed > 0 && split.consumed <= rest.size());
  const std::string_view consumed = rest.substr(0, split.consumed);
  FUZZ_ASSERT(consumed.starts_with(split.text));
  FUZZ_ASSERT(split.lineEnd.empty() || consumed.substr(split.text.size()) == split.lineEnd);
  if (!split.lineEnd.empty()) {
    bool inQuotes = false;
    FUZZ_ASSERT(FindCsvRecordEnd(rest, inQuotes) == split.consumed - 1);
  }
  if (split.status == CsvSplitStatus::kRecord) {
    CheckRewrite(FieldValues(fields), delimiter);
  } else {
    FUZZ_ASSERT(split.fault != nullptr);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const char delimiter = provider.PickValueInArray({',', ';', '\t', '|'});
  const CsvLayout layout{delimiter, provider.ConsumeIntegralInRange<std::size_t>(0, 3),
                         provider.ConsumeIntegralInRange<std::size_t>(0, 3)};
  const std::string input = provider.ConsumeRemainingBytesAsString();

  std::string_view rest = input;
  std::vector<std::string_view> fields;
  std::uint64_t records = 0;
  while (!rest.empty()) {
    const CsvSplit split = SplitCsvRecord(rest, delimiter, true, fields);
    FUZZ_ASSERT(split.status != CsvSplitStatus::kNeedMore);
    CheckRecord(rest, split, delimiter, fields);
    rest.remove_prefix(split.consumed);
    ++records;
  }
  FUZZ_ASSERT(SplitCsvRecord(rest, delimiter, true, fields).status == CsvSplitStatus::kNeedMore);

  std::string output;
  const BatchCounts counts = ProcessCsvChunk(Chunk{input, 1, false}, layout, output);
  FUZZ_ASSERT(counts.malformed <= counts.lines);
  FUZZ_ASSERT(records == 0 || !output.empty());
  return 0;
}
