// Builds an explanation while a check runs on the record path: the steps of
// the keys that ran or were skipped, and the arithmetic of every computation.
// Procedures reach it through Call::trace, the record path and the primitives
// through Recording (trace.h). Only explanations make one: the check path never
// allocates.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "method_table.h"
#include "recipe.h"
#include "tavrel/explanation.h"

namespace tavrel::engine {

class StepRecorder {
 public:
  // Without `detailed`, only steps, results and each computation's form and check
  // digit place are kept: reasons, rules, figures and notes are dropped.
  explicit StepRecorder(bool detailed = true) : detailed_(detailed) {}
  bool Detailed() const { return detailed_; }

  // The reason of the next step or computation; later reasons are joined to it.
  void Because(std::string reason);
  // Opens the step of `key` on `account` inside the innermost open step.
  std::size_t Begin(std::string_view key, std::string_view account);
  void End(std::size_t step, int result);
  // A key the innermost open step did not run, and why.
  void Skip(std::string_view key, std::string reason);
  // A decision of the innermost open step.
  void Decide(std::string decision);

  // A computation of the innermost open step, and what it reports.
  void BeginComputation(const Recipe& recipe, std::string_view account);
  void EndComputation(int result);
  void Term(std::size_t entry, int digit, int weight, int product, int added);
  void Sum(int sum, int modulus, int remainder);
  void Accepts(std::uint16_t digits);
  void CheckAt(int position);
  void Note(std::string note);

  Explanation Finish(int result) &&;

 private:
  std::string TakeReason();
  ExplainedStep& Innermost();
  ExplainedComputation* Computing();

  std::vector<ExplainedStep> steps_;
  std::vector<std::size_t> open_;  // the running steps, outermost first
  std::string reason_;
  bool detailed_;
  bool computing_ = false;
  // The ten-digit position of each entry of the current computation's record,
  // 0 for entries that hold no digit of the account.
  std::array<int, 15> positions_{};
  // Entries whose digits come from elsewhere than a position: a constant's, or
  // every entry of a converted number. Other entries without a position are
  // padding that adds nothing, and are left out.
  std::uint16_t foreignEntries_ = 0;
};

// Explanations of the choices the helpers of method_table.h make: each records
// the reason of the key it runs and the keys it leaves out.
void RecordSequenceStep(StepRecorder& recorder, std::initializer_list<MethodKey> keys,
                        std::size_t index, int previousResult);
void RecordSequenceSkips(StepRecorder& recorder, std::initializer_list<MethodKey> keys,
                         std::size_t after, MethodKey acceptedBy);
// `chosen` is whether position `position` of `ten` holds one of `digits`.
void RecordPositionChoice(StepRecorder& recorder, std::string_view ten, int position,
                          std::string_view digits, bool chosen, std::string_view meaning);
void RecordPositionSkips(StepRecorder& recorder, std::initializer_list<MethodKey> keys,
                         int position, std::string_view digits, bool whenOneOf,
                         std::string_view meaning);
void RecordPositions3And4(StepRecorder& recorder, std::string_view ten, bool bothNine);
void RecordPositions3And4Skips(StepRecorder& recorder, std::initializer_list<MethodKey> keys,
                               bool whenBothNine);

}  // namespace tavrel::engine
