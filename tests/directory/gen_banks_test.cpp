// Runs the build tools as a user would: the generator of banks.tsv from a
// Bundesbank file, the step that compiles banks.tsv into C++, and the step that
// turns the IBAN registry into the rows of its table.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, std::string_view content) {
  std::ofstream(path, std::ios::binary)
      .write(content.data(), static_cast<std::streamsize>(content.size()));
}

struct ToolRun {
  int exitStatus;
  std::string output;
  std::string errors;
};

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() /
                 ("tavrel_tools_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  // Runs `tool` with `arguments`, writing the given input file first when not empty.
  ToolRun Run(std::string_view tool, std::string_view arguments) {
    const fs::path out = directory_ / "stdout";
    const fs::path err = directory_ / "stderr";
    const std::string command = std::string(tool) + " " + std::string(arguments) + " >" +
                                out.string() + " 2>" + err.string();
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
  }

  fs::path Input(std::string_view content) {
    const fs::path path = directory_ / "input";
    WriteFile(path, content);
    return path;
  }

  fs::path directory_;
};

// A 168-character Bundesbank record with the fields the generator reads.
std::string Record(std::string_view bankCode, char feature, std::string_view shortName,
                   std::string_view methodCode, char changeFlag) {
  std::string record(168, ' ');
  record.replace(0, bankCode.size(), bankCode);
  record[8] = feature;
  record.replace(9, 10, "Full name ");
  record.replace(107, shortName.size(), shortName);
  record.replace(150, methodCode.size(), methodCode);
  record[158] = changeFlag;
  return record;
}

TEST_F(ToolTest, CommittedBanksFileIsTheGeneratorsOutputForTheBundesbankFile) {
  const char* sharedData = std::getenv("TAVREL_SHARED_DATA");
  const fs::path bundesbankFile = fs::path(sharedData ? sharedData : "") / "blz_20090907.txt";
  if (sharedData == nullptr || !fs::exists(bundesbankFile)) {
    GTEST_SKIP() << "the Bundesbank file is not available";
  }
  const fs::path generated = directory_ / "banks.tsv";
  const ToolRun run = Run(TAVREL_GEN_BANKS, bundesbankFile.string() + " -o " + generated.string());
  ASSERT_EQ(run.exitStatus, 0) << run.errors;
  EXPECT_TRUE(ReadFile(generated) == ReadFile(TAVREL_BANKS_TSV))
      << "directory/banks.tsv is out of date";
}

TEST_F(ToolTest, GeneratorTakesMerkmalOneRecordsThatAreNotDeleted) {
  const std::string records = Record("20000000", '1', "Zweite Bank", "06", 'U') + "\n" +
                              Record("10000000", '1', "Bank f\xFCr Alle", "A1", 'A') + "\n" +
                              Record("10000000", '2', "Filiale", "A1", 'U') + "\n" +
                              Record("30000000", '1', "Geschlossen", "00", 'D') + "\n" +
                              Record("40000000", '1', "Neu", "C6", 'M') + "\n";
  const std::string expected =
      "10000000\tA1\tBank f\xC3\xBCr Alle\n20000000\t06\tZweite Bank\n40000000\tC6\tNeu\n";
  for (const std::string_view lineEnd : {"\n", "\r\n"}) {
    std::string input = records;
    for (std::size_t at = input.find('\n'); at != std::string::npos;
         at = input.find('\n', at + lineEnd.size())) {
      input.replace(at, 1, lineEnd);
    }
    SCOPED_TRACE(lineEnd.size() == 1 ? "LF" : "CRLF");
    const ToolRun run = Run(TAVREL_GEN_BANKS, Input(input).string());
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(run.output, expected);
  }
}

struct Malformed {
  std::string_view why;
  std::string input;
  std::string_view message;
};

TEST_F(ToolTest, GeneratorRejectsMalformedRecords) {
  const std::string good = Record("10000000", '1', "Bank", "09", 'U') + "\n";
  const Malformed cases[] = {
      {"short record", good + Record("10000001", '1', "Bank", "09", 'U').substr(0, 167) + "\n",
       ":2: record has 167"},
      {"empty line", good + "\n" + good, ":2: record has 0"},
      {"bank code", Record("1000000x", '1', "Bank", "09", 'U'), ":1: bank code"},
      {"Merkmal", Record("10000000", '3', "Bank", "09", 'U'), ":1: Merkmal"},
      {"change flag", Record("10000000", '1', "Bank", "09", 'X'), ":1: change flag"},
      {"method code", Record("10000000", '1', "Bank", "E0", 'U'), ":1: method code"},
      {"blank short name", Record("10000000", '1', "", "09", 'U'), ":1: short name"},
      {"bank code twice", good + good, "10000000 has more than one"},
  };
  for (const Malformed& bad : cases) {
    SCOPED_TRACE(bad.why);
    const ToolRun run = Run(TAVREL_GEN_BANKS, Input(bad.input).string());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(run.output.empty());
    EXPECT_NE(run.errors.find(bad.message), std::string::npos) << run.errors;
  }
}

TEST_F(ToolTest, GeneratorArguments) {
  EXPECT_EQ(Run(TAVREL_GEN_BANKS, "--help").exitStatus, 0);
  EXPECT_NE(Run(TAVREL_GEN_BANKS, "--help").output.find("Usage: tavrel_gen_banks"),
            std::string::npos);
  EXPECT_EQ(Run(TAVREL_GEN_BANKS, "").exitStatus, 2);
  EXPECT_EQ(Run(TAVREL_GEN_BANKS, "--bogus").exitStatus, 2);
  EXPECT_EQ(Run(TAVREL_GEN_BANKS, (directory_ / "missing").string()).exitStatus, 1);
}

TEST_F(ToolTest, EmbedderWritesWindows1252LiteralsAndRejectsMalformedLines) {
  const fs::path output = directory_ / "out.cpp";
  const ToolRun good =
      Run(TAVREL_EMBED_BANKS,
          Input("10000000\t09\tBank f\xC3\xBCr \"Alle\" 1\n").string() + " " + output.string());
  ASSERT_EQ(good.exitStatus, 0) << good.errors;
  const std::string source = ReadFile(output);
  EXPECT_NE(source.find("\"09Bank f\\374r \\042Alle\\042 1\""), std::string::npos) << source;
  EXPECT_NE(source.find("{\"10000000\", {kEntryText + 0, 19}},"), std::string::npos) << source;

  const Malformed cases[] = {
      {"two fields", "10000000\t09\n", ":1: expected three fields"},
      {"name not UTF-8", "10000000\t09\tBank f\xFCr\n", ":1: short name is not UTF-8"},
      {"no Windows-1252 form", "10000000\t09\tBank \xE2\x82\xB9\n", ":1: short name is not UTF-8"},
      {"bank code", "1000000\t09\tBank\n", ":1: malformed"},
      {"method code", "10000000\t9\tBank\n", ":1: malformed"},
      {"name too long", "10000000\t09\t" + std::string(28, 'x') + "\n", ":1: malformed"},
  };
  for (const Malformed& bad : cases) {
    SCOPED_TRACE(bad.why);
    const ToolRun run = Run(TAVREL_EMBED_BANKS, Input(bad.input).string() + " " + output.string());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.errors.find(bad.message), std::string::npos) << run.errors;
  }
}

TEST_F(ToolTest, RegistryEmbedderWritesRowsAndRejectsMalformedLines) {
  const std::string header = "country\tlength\tstructure\tsepa\texample\n";
  const std::string germany = "DE\t22\tDE2!n8!n10!n\tYes\tDE89370400440532013000\n";
  const fs::path output = directory_ / "rows.inc";
  const ToolRun good =
      Run(TAVREL_EMBED_IBAN_REGISTRY, Input(header + germany).string() + " " + output.string());
  ASSERT_EQ(good.exitStatus, 0) << good.errors;
  EXPECT_NE(
      ReadFile(output).find("{\"DE\", 22, \"DE2!n8!n10!n\", true, \"DE89370400440532013000\"},\n"),
      std::string::npos);

  const Malformed cases[] = {
      {"no header", germany, ":1: expected the header line"},
      {"four fields", header + "DE\t22\tDE2!n8!n10!n\tYes\n", ":2: expected five fields"},
      {"length", header + "DE\t2x\tDE2!n8!n10!n\tYes\tDE89370400440532013000\n",
       ":2: the length is not a number"},
      {"SEPA", header + "DE\t22\tDE2!n8!n10!n\tNov-16\tDE89370400440532013000\n",
       ":2: the SEPA field"},
      {"structure", header + "DE\t22\tDE2!n8n10!n\tYes\tDE89370400440532013000\n",
       ":2: the structure is not in the notation"},
      {"length differs", header + "DE\t21\tDE2!n8!n10!n\tYes\tDE89370400440532013000\n",
       ":2: the structure and the length disagree"},
      {"example class", header + "DE\t22\tDE2!n8!n10!n\tYes\tDE8937040044053201300A\n",
       ":2: the example breaks the structure"},
      {"example checksum", header + "DE\t22\tDE2!n8!n10!n\tYes\tDE88370400440532013000\n",
       ":2: the example fails the mod-97 check"},
      {"order", header + germany + "AT\t20\tAT2!n5!n11!n\tYes\tAT611904300234573201\n",
       ":3: country codes are not strictly ascending"},
  };
  for (const Malformed& bad : cases) {
    SCOPED_TRACE(bad.why);
    const ToolRun run =
        Run(TAVREL_EMBED_IBAN_REGISTRY, Input(bad.input).string() + " " + output.string());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.errors.find(bad.message), std::string::npos) << run.errors;
  }
}

}  // namespace

namespace {

TEST_F(ToolTest, CommittedSixColumnFilesAreTheGeneratorsFullOutput) {
  const char* sharedData = std::getenv("TAVREL_SHARED_DATA");
  for (const auto& [bundesbankName, committed] :
       {std::pair{"blz_20090907.txt", "banks_2009.tsv"},
        std::pair{"blz_20260309.txt", "banks_current.tsv"}}) {
    SCOPED_TRACE(committed);
    const fs::path bundesbankFile = fs::path(sharedData ? sharedData : "") / bundesbankName;
    if (sharedData == nullptr || !fs::exists(bundesbankFile)) {
      GTEST_SKIP() << "the Bundesbank file is not available";
    }
    const ToolRun run = Run(TAVREL_GEN_BANKS, "--full " + bundesbankFile.string());
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_TRUE(run.output == ReadFile(fs::path(TAVREL_DIRECTORY_SOURCES) / committed))
        << "directory/" << committed << " is out of date";
  }
}

TEST_F(ToolTest, FullOutputHasBicDeletionNoticeSuccessorAndTheIbanRuleWhenGiven) {
  std::string withRule = Record("20000000", '1', "Neu", "E4", 'A');
  withRule.replace(139, 11, "GENODEF1ABC");
  withRule.replace(159, 9, "110000000");
  const std::string input = Record("10000000", '1', "Alt", "09", 'U') + "\n" + withRule + "\n";
  EXPECT_EQ(Run(TAVREL_GEN_BANKS, "--full " + Input(input).string()).output,
            "10000000\t09\tAlt\t\t0\t\n20000000\tE4\tNeu\tGENODEF1ABC\t1\t10000000\n");
  const std::string extended = Record("10000000", '1', "Alt", "09", 'U') + "004201\n";
  EXPECT_EQ(Run(TAVREL_GEN_BANKS, "--full " + Input(extended).string()).output,
            "10000000\t09\tAlt\t\t0\t\t004201\n");
}

TEST_F(ToolTest, DirectoryEmbedderWritesTheInfoAndRejectsMalformedLines) {
  const fs::path output = directory_ / "out.cpp";
  const std::string arguments = "--generation current --source blz_20260309.txt --valid-until ";
  const ToolRun good =
      Run(TAVREL_EMBED_DIRECTORY,
          arguments + "2026-06-07 " +
              Input("10000000\t09\tB\xC3\xBCro\tMARKDEF1100\t1\t20000000\n").string() + " " +
              output.string());
  ASSERT_EQ(good.exitStatus, 0) << good.errors;
  const std::string source = ReadFile(output);
  EXPECT_NE(source.find("{\"10000000\", \"09\", \"B\\374ro\", \"MARKDEF1100\", true, \"20000000\", "
                        "\"\"},"),
            std::string::npos)
      << source;
  EXPECT_NE(source.find("std::chrono::year{2026}, std::chrono::month{6}, std::chrono::day{7}"),
            std::string::npos);
  EXPECT_NE(source.find("CompiledDataCurrent()"), std::string::npos);

  const Malformed cases[] = {
      {"five fields", "10000000\t09\tBank\t\t0\n", ":1: expected six or seven fields"},
      {"deletion notice", "10000000\t09\tBank\t\t2\t\n", ":1: malformed"},
      {"BIC", "10000000\t09\tBank\tMARK\t0\t\n", ":1: malformed"},
      {"successor", "10000000\t09\tBank\t\t0\t123\n", ":1: malformed"},
      {"order", "20000000\t09\tB\t\t0\t\n10000000\t09\tA\t\t0\t\n", ":2: bank codes do not ascend"},
  };
  for (const Malformed& bad : cases) {
    SCOPED_TRACE(bad.why);
    const ToolRun run =
        Run(TAVREL_EMBED_DIRECTORY,
            arguments + "2026-06-07 " + Input(bad.input).string() + " " + output.string());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.errors.find(bad.message), std::string::npos) << run.errors;
  }
  EXPECT_EQ(Run(TAVREL_EMBED_DIRECTORY,
                arguments + "2026-13-01 " + Input("").string() + " " + output.string())
                .exitStatus,
            1);
  EXPECT_EQ(Run(TAVREL_EMBED_DIRECTORY, "--generation 2010 x y").exitStatus, 2);
}

}  // namespace
