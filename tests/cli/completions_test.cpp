// The bash and zsh completions hold every command and option that the help
// lists, so a new one cannot be left out silently; and bash's completes.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

std::string ReadFile(const char* path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// The commands of the help's "Commands:" list (lines "  name ..."), and every
// option named anywhere in the help and in the server's.
std::set<std::string> WordsTheHelpLists() {
  const std::string help = RunTavrel({"--help"}).out;
  const std::string serveHelp = RunTavrel({"serve", "--help"}).out;
  std::set<std::string> words;
  const std::string commands = help.substr(0, help.find("\nOptions:"));
  for (std::size_t at = commands.find("\n  "); at != std::string::npos;
       at = commands.find("\n  ", at + 1)) {
    std::size_t end = at + 3;
    while (end < commands.size() && commands[end] >= 'a' && commands[end] <= 'z') ++end;
    if (end > at + 3 && (end == commands.size() || !IsWordChar(commands[end])))
      words.insert(commands.substr(at + 3, end - at - 3));
  }
  for (const std::string& text : {help, serveHelp}) {
    for (std::size_t at = 0; at < text.size(); ++at) {
      if (text[at] != '-' || (at > 0 && IsWordChar(text[at - 1]))) continue;
      if (text.compare(at, 2, "-h") == 0 && (at + 2 == text.size() || !IsWordChar(text[at + 2]))) {
        words.insert("-h");
        continue;
      }
      if (text.compare(at, 2, "--") != 0 || at + 2 >= text.size() || text[at + 2] < 'a' ||
          text[at + 2] > 'z')
        continue;
      std::size_t end = at + 2;
      while (end < text.size() && ((text[end] >= 'a' && text[end] <= 'z') || text[end] == '-'))
        ++end;
      if (end < text.size() && IsWordChar(text[end])) continue;
      words.insert(text.substr(at, end - at));
      at = end;
    }
  }
  return words;
}

bool HoldsWord(const std::string& script, const std::string& word) {
  for (std::size_t at = script.find(word); at != std::string::npos;
       at = script.find(word, at + 1)) {
    const std::size_t end = at + word.size();
    if ((at == 0 || !IsWordChar(script[at - 1])) &&
        (end == script.size() || !IsWordChar(script[end])))
      return true;
  }
  return false;
}

TEST(Completions, HoldEveryCommandAndOptionOfTheHelp) {
  const std::set<std::string> words = WordsTheHelpLists();
  ASSERT_GE(words.size(), 20u) << "the help's lists were not found";
  for (const char* path : {TAVREL_BASH_COMPLETION, TAVREL_ZSH_COMPLETION}) {
    const std::string script = ReadFile(path);
    ASSERT_FALSE(script.empty()) << path;
    for (const std::string& word : words)
      EXPECT_TRUE(HoldsWord(script, word)) << path << ": " << word;
  }
}

// What bash offers for the last of `words` (each free of single quotes).
std::set<std::string> BashOffers(const std::vector<std::string>& words) {
  std::string command =
      "bash -c 'source \"$0\"; COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); "
      "_tavrel; printf \"%s\\n\" \"${COMPREPLY[@]}\"' " TAVREL_BASH_COMPLETION;
  for (const std::string& word : words) command += " '" + word + "'";
  std::set<std::string> offers;
  FILE* out = popen(command.c_str(), "r");
  if (out == nullptr) return offers;
  char line[256];
  while (std::fgets(line, sizeof line, out) != nullptr) {
    std::string offer(line);
    if (!offer.empty() && offer.back() == '\n') offer.pop_back();
    if (!offer.empty()) offers.insert(offer);
  }
  pclose(out);
  return offers;
}

struct BashCase {
  std::vector<std::string> words;  // after the program
  std::set<std::string> offers;    // exactly these
};

const BashCase kBashCases[] = {
    {{"se"}, {"search", "selftest", "serve"}},
    {{"check", "--rules", ""}, {"2009", "current"}},
    {{"check", "--rules", "=", "c"}, {"current"}},
    {{"--rules", "2009", "check", "--c"}, {"--csv"}},
    {{"search", "--"}, {"--fuzzy", "--json", "--directory", "--as-of", "--strict", "--help"}},
    {{"di"}, {"directory"}},
    {{"selftest", "--rules", ""}, {"2009", "current", "all"}},
    {{"generate", "--length", "1"}, {"1", "10"}},
    {{"check", "--directory", "20"}, {"2009"}},
    {{"rules", "--"}, {"--json", "--on", "--help"}},
    {{"serve", "--b"}, {"--bind"}},
    {{"method", "E"}, {"E0", "E1", "E2", "E3", "E4"}},
    {{"name", ""}, {}},
    {{"help", "ex"}, {"explain"}},
    {{"iban", "-", "--f"}, {"--from", "--fail-on-invalid"}},
    {{"check", "--s"}, {"--strict", "--summary"}},
};

TEST(Completions, BashOffersCommandsOptionsAndValues) {
  for (const BashCase& c : kBashCases) {
    std::vector<std::string> words = {TAVREL_BINARY};
    words.insert(words.end(), c.words.begin(), c.words.end());
    SCOPED_TRACE(words.back());
    EXPECT_EQ(BashOffers(words), c.offers);
  }
}

}  // namespace
}  // namespace tavrel::cli::testing
