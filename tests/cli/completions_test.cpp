// The bash and zsh completions hold every command and option that the help
// lists, so a new one cannot be left out silently; and bash's completes.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
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

// The commands of the help's "Commands:" list, and every option named anywhere
// in the help and in the server's.
std::set<std::string> WordsTheHelpLists() {
  const std::string help = RunTavrel({"--help"}).out;
  const std::string serveHelp = RunTavrel({"serve", "--help"}).out;
  std::set<std::string> words;
  const std::string commands = help.substr(0, help.find("\nOptions:"));
  const std::regex command(R"(\n  ([a-z]+)\b)");
  for (std::sregex_iterator it(commands.begin(), commands.end(), command), end; it != end; ++it) {
    words.insert((*it)[1]);
  }
  const std::regex option(R"((?:^|[^A-Za-z0-9-])(--[a-z][a-z-]*|-h)\b)");
  for (const std::string& text : {help, serveHelp}) {
    for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) {
      words.insert((*it)[1]);
    }
  }
  return words;
}

bool HoldsWord(const std::string& script, const std::string& word) {
  const std::regex whole("(^|[^A-Za-z0-9-])" + word + "($|[^A-Za-z0-9-])");
  return std::regex_search(script, whole);
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
    {{"se"}, {"search", "serve"}},
    {{"check", "--rules", ""}, {"2009", "current"}},
    {{"check", "--rules", "=", "c"}, {"current"}},
    {{"--rules", "2009", "check", "--c"}, {"--csv"}},
    {{"search", "--"}, {"--fuzzy", "--json", "--help"}},
    {{"rules", "--"}, {"--json", "--on", "--help"}},
    {{"serve", "--b"}, {"--bind"}},
    {{"method", "E"}, {"E0", "E1", "E2", "E3", "E4"}},
    {{"name", ""}, {}},
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
