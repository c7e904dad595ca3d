// Every method code that the bank directory assigns must have a method: a code
// without one gives -2 for every account, which the service would report as
// "method not found" for all accounts of that bank.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>

#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

const std::filesystem::path kDirectoryFile =
    std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "directory" / "banks.tsv";

// Well-formed accounts of ten, seven and nine significant digits. A method may
// give -2 for some accounts by its own rule (57 has none for eight or fewer
// digits), but a method that exists accepts or rejects at least one of them.
constexpr std::array<std::string_view, 3> kAccounts = {"1234567890", "9290701", "0123456789"};

bool HasMethod(std::string_view bankCode, std::string_view method) {
  for (std::string_view account : kAccounts) {
    if (ComputeMethod(account, method, bankCode) != kMethodNotFound) return true;
  }
  return false;
}

TEST(DirectoryMethods, EveryAssignedMethodCodeHasAMethod) {
  std::ifstream file(kDirectoryFile);
  if (!file) GTEST_SKIP() << "no directory file at " << kDirectoryFile;
  int entries = 0;
  std::set<std::string> missing;
  for (std::string line; std::getline(file, line);) {
    const std::size_t firstTab = line.find('\t');
    const std::size_t secondTab = line.find('\t', firstTab + 1);
    ASSERT_NE(secondTab, std::string::npos) << "malformed line " << entries + 1 << ": " << line;
    const std::string bankCode = line.substr(0, firstTab);
    const std::string method = line.substr(firstTab + 1, secondTab - firstTab - 1);
    ++entries;
    if (!HasMethod(bankCode, method)) missing.insert(method);
  }
  EXPECT_EQ(entries, 4051);
  for (const std::string& method : missing)
    ADD_FAILURE() << "method code " << method << " has no method";
}

}  // namespace
}  // namespace tavrel::engine
