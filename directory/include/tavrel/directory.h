// Bank directory: the compiled-in table from bank code to method code and short
// name, filled once on first use, and the bank search over it. Beside it,
// directories as values: the compiled-in 2009 and current ones and Bundesbank
// files loaded at run time, each an immutable Directory.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::directory {

inline constexpr std::size_t kEntryCount = 4051;

// Fills the directory if it is not filled yet. Thread-safe; readers never lock.
void EnsureLoaded();

// On a hit, stores the two-character method code and returns true; on a miss
// returns false and leaves `methodCode` as it was. The key is compared unchanged.
bool LookupMethodCode(std::string_view bankCode, std::string& methodCode);

// As LookupMethodCode, but stores the bank's short name (Windows-1252).
bool LookupBankName(std::string_view bankCode, std::string& bankName);

// Allocation-free lookup for the check path: views into the compiled-in data,
// valid for the life of the process.
struct EntryView {
  std::string_view methodCode;
  std::string_view bankName;
};
bool FindEntry(std::string_view bankCode, EntryView& entry);

// The method code alone, from the hash table's own slot: the cheapest lookup,
// for the check path. Leaves `methodCode` unchanged on a miss.
bool FindMethodCode(std::string_view bankCode, std::string_view& methodCode);

// Hands every (bank code, entry) pair to `visitor` once; the entry is the method
// code followed directly by the short name.
void ForEachEntry(
    const std::function<void(std::string_view bankCode, std::string_view entry)>& visitor);

// The bank search behind the control's bank-code field. Digits list the bank
// codes that begin with them (two to seven digits); a text that begins with any
// other character lists the banks whose short name contains it, or contains both
// terms when a comma (not the first character) splits it into two. Names and
// terms are compared after mapping A-Z, Ä, Ö and Ü onto their small forms.
// The new mode follows from the text alone; `nameSearchMode`, the control's mode
// before the change, does not alter the result.
struct SearchResult {
  bool nameSearchMode = false;    // the mode after this change
  int fieldLimit = 8;             // 27 in name-search mode, 8 otherwise
  bool openAboutBox = false;      // the text is exactly "info:" in name-search mode
  std::vector<std::string> hits;  // "BANKCODE | short name", ascending; list shown when not empty
};
SearchResult BankSearch(std::string_view searchText, bool nameSearchMode);

// Which rules a directory's method codes are run by.
enum class RuleGeneration { k2009, kCurrent };

// "2009" or "current".
std::string_view NameOf(RuleGeneration generation);

// "2026-03-09".
std::string IsoDate(std::chrono::year_month_day date);

struct DirectoryInfo {
  std::string source;  // the Bundesbank file's name or path
  bool compiledIn = false;
  std::optional<std::chrono::year_month_day> validFrom;   // from a name "blz_YYYYMMDD...txt"
  std::optional<std::chrono::year_month_day> validUntil;  // unknown for loaded files
  std::size_t entryCount = 0;
  RuleGeneration generation = RuleGeneration::kCurrent;
};

// One bank code's record. Text is Windows-1252; the views stay valid as long as
// the directory that handed them out.
struct Bank {
  std::string_view bankCode;
  std::string_view methodCode;
  std::string_view shortName;
  std::string_view bic;         // 8 or 11 characters; empty when the bank has none
  bool deletionNotice = false;  // the bank code will be withdrawn
  std::string_view successor;   // the successor's bank code; empty when none is named
  std::string_view ibanRule;    // rule number and version, six digits; empty when not given
};

// An immutable directory: one record per bank code, ascending, with a hash
// index from bank code to record. Lookups never allocate.
class Directory {
 public:
  // Throws std::invalid_argument unless every bank is well formed and the bank
  // codes ascend strictly. `info.entryCount` is set from `banks`.
  Directory(DirectoryInfo info, std::span<const Bank> banks);
  ~Directory();
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;

  const DirectoryInfo& Info() const noexcept { return info_; }
  std::size_t size() const noexcept { return info_.entryCount; }

  // The record at `index` in ascending order of bank codes; index < size().
  Bank operator[](std::size_t index) const noexcept;

  // The record for exactly this bank code; anything that is not eight digits misses.
  std::optional<Bank> Find(std::string_view bankCode) const noexcept;

  // The method code alone, from the hash slot: the check path's lookup, one
  // cache line. Empty on a miss.
  std::string_view FindMethodCode(std::string_view bankCode) const noexcept;

  // The index of exactly this bank code's record, for callers that keep
  // something per bank; nullopt on a miss.
  std::optional<std::size_t> IndexOf(std::string_view bankCode) const noexcept;

  // FindMethodCode and IndexOf from one probe of the hash slots.
  struct MethodCodeHit {
    std::string_view methodCode;
    std::size_t index;
  };
  std::optional<MethodCodeHit> FindMethodCodeAndIndex(std::string_view bankCode) const noexcept;

  // How many banks use each method code.
  std::map<std::string, std::size_t, std::less<>> MethodCounts() const;

  class Iterator {
   public:
    using value_type = Bank;
    using difference_type = std::ptrdiff_t;
    Iterator() = default;
    Iterator(const Directory* directory, std::size_t index)
        : directory_(directory), index_(index) {}
    Bank operator*() const noexcept { return (*directory_)[index_]; }
    Iterator& operator++() noexcept {
      ++index_;
      return *this;
    }
    Iterator operator++(int) noexcept {
      Iterator before = *this;
      ++index_;
      return before;
    }
    bool operator==(const Iterator&) const = default;

   private:
    const Directory* directory_ = nullptr;
    std::size_t index_ = 0;
  };
  Iterator begin() const noexcept { return {this, 0}; }
  Iterator end() const noexcept { return {this, size()}; }

 private:
  struct Row;
  struct Slot;

  const Slot* FindSlot(std::string_view bankCode) const noexcept;

  DirectoryInfo info_;
  std::vector<Row> rows_;
  std::vector<Slot> slots_;
  unsigned slotBits_ = 0;
};

// The compiled-in directories: k2009 holds the banks of the 2009 directory
// above together with their BIC, deletion notice and successor; kCurrent the
// newest Bundesbank file at build time. Built on first use; thread-safe.
std::shared_ptr<const Directory> CompiledDirectory(RuleGeneration generation);

// The bank search of BankSearch over any directory.
SearchResult SearchBanks(const Directory& directory, std::string_view searchText);

// The typo-tolerant bank search, beside the control's. The query is cut into
// terms at every character other than a letter or a digit; every term must match
// a word of the short name, in any order, or as digits the bank code (all eight,
// or its first two to seven). Letters are compared without case and accents, with
// ä, ö, ü and ß read as ae, oe, ue and ss. A term scores 100 as a whole word, 90
// as the start of a word or of the bank code, 75 inside a word (four letters and
// more), and with typos (one edit for four to seven letters, two for eight and
// more; a swap of neighbours is one edit) 60 or 40 against a whole word, 55 or 35
// against the start of one. A hit's score is the mean over the terms.
inline constexpr std::size_t kMaxFuzzyTerms = 8;

struct FuzzyHit {
  std::string_view bankCode;
  std::string_view shortName;  // Windows-1252, a view into the directory
  int score = 0;               // 35 to 100
  int edits = 0;               // over all terms
};

struct FuzzySearchResult {
  // Best first: higher score, then fewer edits, then names of fewer words, then
  // by name and bank code.
  std::vector<FuzzyHit> hits;
  bool tooManyTerms = false;  // more than kMaxFuzzyTerms different terms: nothing searched
};

// No hits for a query without terms. Never throws but std::bad_alloc.
FuzzySearchResult FuzzySearchBanks(const Directory& directory, std::string_view query);

// What an older directory says of a bank code that a newer one lacks.
struct SuccessorHint {
  std::string_view successor;             // empty when the older directory names none
  bool successorIsKnown = false;          // the newer directory lists the successor
  const DirectoryInfo* seenIn = nullptr;  // the older directory's info
};
// Empty when `newer` lists the bank code or `older` does not.
std::optional<SuccessorHint> FindSuccessorHint(std::string_view bankCode, const Directory& newer,
                                               const Directory& older);

// A fault of a Bundesbank file, or a warning about one of its banks.
struct FileProblem {
  std::size_t line = 0;  // counted from 1; 0 when it concerns the whole file
  std::string bankCode;  // the bank a warning concerns
  std::string message;   // as: method code "Z1" is not 00-99 or A0-E9 (columns 151-152)
};
// "line 4711: message", or the message alone for the whole file.
std::string Describe(const FileProblem& problem);

struct LoadOptions {
  RuleGeneration generation = RuleGeneration::kCurrent;
  // Whether a method code has a method in `generation`; when empty, every code
  // of the form 00-99 or A0-E9 has one.
  std::function<bool(std::string_view methodCode)> hasMethod;
  // A bank whose method code has no method is an error rather than a warning.
  bool strict = false;
};

struct LoadResult {
  std::shared_ptr<const Directory> directory;  // null when the file was rejected
  std::optional<FileProblem> error;
  std::vector<FileProblem> warnings;
  // The error is that the file could not be read, not what it holds.
  bool unreadable = false;
};

// Reads a Bundesbank bank-code file: records of 168 or 174 characters (the
// latter with the IBAN rule), LF or CRLF line ends, ISO-8859-1. One entry per
// bank code from its Merkmal 1 record; records flagged D are left out.
LoadResult LoadDirectory(const std::filesystem::path& path, const LoadOptions& options = {});

// The valid-from date in a file name of the Bundesbank's form
// "blz_YYYYMMDD...txt", after any folders; nullopt for any other name.
std::optional<std::chrono::year_month_day> DateInFileName(std::string_view path);

// LoadDirectory on content already in memory; `source` names it, and gives the
// valid-from date when it has the Bundesbank's form.
LoadResult ParseDirectory(std::string_view content, std::string_view source,
                          const LoadOptions& options = {});

// Hands one directory to many reader threads and lets a writer replace it.
// Current() takes no lock: it reads one atomic version number and, while that
// is unchanged, answers from the calling thread's own reference.
class PublishedDirectory {
 public:
  explicit PublishedDirectory(std::shared_ptr<const Directory> initial);

  // Replaces the directory; readers see the new one from their next Current().
  void Publish(std::shared_ptr<const Directory> next);

  // The directory now published, valid until this thread's next Current() on
  // this object.
  const Directory& Current() const;

  // The directory now published, for holding beyond that.
  std::shared_ptr<const Directory> Snapshot() const;

 private:
  mutable std::mutex lock_;
  std::shared_ptr<const Directory> directory_;
  std::atomic<std::uint64_t> version_;
};

}  // namespace tavrel::directory
