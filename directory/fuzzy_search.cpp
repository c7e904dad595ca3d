// The typo-tolerant bank search. Each short name is folded into the search
// spelling in a fixed buffer and cut into words; every term of the query then
// takes its best match among them. A bank drops out at its first term without
// a match, which is where most of them go.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "internal/bank_records.h"
#include "internal/fuzzy_text.h"
#include "tavrel/directory.h"

namespace tavrel::directory {
namespace {

constexpr int kWholeWordScore = 100;
constexpr int kStartScore = 90;
constexpr int kInsideScore = 75;
constexpr int kNoMatch = 0;
constexpr std::size_t kShortestInsideTerm = 4;
constexpr std::size_t kShortestCodePrefix = 2;

// Typo scores by edits, against a whole word and against the start of one.
constexpr int kTypoScores[] = {0, 60, 40};
constexpr int kTypoStartScores[] = {0, 55, 35};

// Terms of four to seven characters may have one typo, longer ones two.
int AllowedEdits(std::string_view term) {
  if (term.size() >= 8) return 2;
  return term.size() >= 4 ? 1 : 0;
}

std::uint64_t CharacterSet(std::string_view text) {
  std::uint64_t set = 0;
  for (const char c : text) set |= CharacterBit(c);
  return set;
}

struct Term {
  std::string text;  // in the search spelling
  int maxEdits = 0;
  bool digits = false;
  std::uint64_t characters = 0;
};

struct TermMatch {
  int score = kNoMatch;
  int edits = 0;
};

TermMatch Better(TermMatch a, TermMatch b) { return b.score > a.score ? b : a; }

// Calls onWord(word) for each word of Windows-1252 `text` in the search spelling.
template <typename OnWord>
void ForEachWord(std::string_view text, const OnWord& onWord) {
  std::string word;
  for (const char c : text) {
    const FoldedByte folded = FoldForSearch(c);
    if (folded.size != 0) {
      word.append(folded.text.data(), folded.size);
    } else if (!word.empty()) {
      onWord(std::string_view(word));
      word.clear();
    }
  }
  if (!word.empty()) onWord(std::string_view(word));
}

// A short name in the search spelling, cut into words, in fixed buffers: the
// search visits every bank and allocates for none.
class FoldedName {
 public:
  explicit FoldedName(std::string_view name) {
    std::size_t end = 0;
    std::size_t wordStart = 0;
    std::uint64_t characters = 0;
    for (const char c : name) {
      const FoldedByte folded = FoldForSearch(c);
      characters |= folded.characters;
      if (folded.size == 0) {
        EndWord(wordStart, end, characters);
        wordStart = end;
        characters = 0;
      } else {
        // Both characters, whatever the size: a fixed copy is the cheaper one.
        text_[end] = folded.text[0];
        text_[end + 1] = folded.text[1];
        end += folded.size;
      }
    }
    EndWord(wordStart, end, characters);
  }

  std::size_t WordCount() const { return count_; }
  std::string_view Word(std::size_t i) const {
    return std::string_view(text_.data() + starts_[i], lengths_[i]);
  }
  std::uint64_t CharactersOf(std::size_t i) const { return characters_[i]; }

 private:
  void EndWord(std::size_t start, std::size_t end, std::uint64_t characters) {
    if (end == start) return;
    starts_[count_] = static_cast<std::uint8_t>(start);
    lengths_[count_] = static_cast<std::uint8_t>(end - start);
    characters_[count_] = characters;
    ++count_;
  }

  // Only the first count_ words are set: the search builds one of these for
  // every bank, and clearing the rest would cost more than the fold.
  std::array<char, 2 * kLongestBankName + 1> text_;
  std::array<std::uint8_t, kLongestBankName> starts_;
  std::array<std::uint8_t, kLongestBankName> lengths_;
  std::array<std::uint64_t, kLongestBankName> characters_;
  std::size_t count_ = 0;
};

TermMatch MatchWord(const Term& term, std::string_view word, std::uint64_t wordCharacters) {
  if (word == term.text) return {kWholeWordScore, 0};
  if (word.starts_with(term.text)) return {kStartScore, 0};
  if (term.digits) return {};
  if (term.text.size() >= kShortestInsideTerm && word.find(term.text) != std::string_view::npos) {
    return {kInsideScore, 0};
  }
  // Each letter of the term that the word lacks costs an edit of its own.
  if (term.maxEdits == 0 || std::popcount(term.characters & ~wordCharacters) > term.maxEdits) {
    return {};
  }
  const EditDistances distances = BoundedEditDistances(term.text, word, term.maxEdits);
  TermMatch match;
  if (distances.whole <= term.maxEdits) {
    match = {kTypoScores[distances.whole], distances.whole};
  }
  if (distances.prefix <= term.maxEdits) {
    match = Better(match, {kTypoStartScores[distances.prefix], distances.prefix});
  }
  return match;
}

TermMatch MatchBank(const Term& term, const Bank& bank, const FoldedName& name) {
  TermMatch best;
  if (term.digits && term.text.size() <= kBankCodeLength) {
    if (term.text == bank.bankCode) return {kWholeWordScore, 0};
    if (term.text.size() >= kShortestCodePrefix && bank.bankCode.starts_with(term.text)) {
      best = {kStartScore, 0};
    }
  }
  for (std::size_t i = 0; i < name.WordCount() && best.score < kWholeWordScore; ++i) {
    best = Better(best, MatchWord(term, name.Word(i), name.CharactersOf(i)));
  }
  return best;
}

struct Candidate {
  FuzzyHit hit;
  std::size_t wordCount = 0;
};

// Best first; see FuzzySearchResult.
bool Precedes(const Candidate& a, const Candidate& b) {
  if (a.hit.score != b.hit.score) return a.hit.score > b.hit.score;
  if (a.hit.edits != b.hit.edits) return a.hit.edits < b.hit.edits;
  if (a.wordCount != b.wordCount) return a.wordCount < b.wordCount;
  if (a.hit.shortName != b.hit.shortName) return a.hit.shortName < b.hit.shortName;
  return a.hit.bankCode < b.hit.bankCode;
}

// The query's different terms, in the order given; false when there are more
// than kMaxFuzzyTerms.
bool SplitQuery(std::string_view query, std::vector<Term>& terms) {
  bool tooMany = false;
  ForEachWord(query, [&](std::string_view text) {
    if (tooMany) return;
    const auto same = [text](const Term& term) { return term.text == text; };
    if (std::any_of(terms.begin(), terms.end(), same)) return;
    if (terms.size() == kMaxFuzzyTerms) {
      tooMany = true;
      return;
    }
    const bool digits = std::all_of(text.begin(), text.end(), IsAsciiDigit);
    terms.push_back(
        {std::string(text), digits ? 0 : AllowedEdits(text), digits, CharacterSet(text)});
  });
  return !tooMany;
}

}  // namespace

FuzzySearchResult FuzzySearchBanks(const Directory& directory, std::string_view query) {
  FuzzySearchResult result;
  std::vector<Term> terms;
  if (!SplitQuery(query, terms)) {
    result.tooManyTerms = true;
    return result;
  }
  if (terms.empty()) return result;
  std::vector<Candidate> candidates;
  for (const Bank bank : directory) {
    const FoldedName name(bank.shortName);
    int total = 0;
    int edits = 0;
    bool allMatch = true;
    for (const Term& term : terms) {
      const TermMatch match = MatchBank(term, bank, name);
      if (match.score == kNoMatch) {
        allMatch = false;
        break;
      }
      total += match.score;
      edits += match.edits;
    }
    if (allMatch) {
      const int score = total / static_cast<int>(terms.size());
      candidates.push_back({{bank.bankCode, bank.shortName, score, edits}, name.WordCount()});
    }
  }
  std::sort(candidates.begin(), candidates.end(), Precedes);
  result.hits.reserve(candidates.size());
  for (const Candidate& candidate : candidates) result.hits.push_back(candidate.hit);
  return result;
}

}  // namespace tavrel::directory
