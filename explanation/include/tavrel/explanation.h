// The explanation of a verdict: which check-digit methods and variants ran, why
// each ran or was skipped, and the digits, weights and sums of every
// computation. Plain values, so that the engine can write them, the service pass
// them on and every face show them. Texts are Windows-1252 (the engine writes
// ASCII).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tavrel/outcome.h"

namespace tavrel {

// One weighted digit of a computation and what it adds to the sum.
struct ExplainedTerm {
  // 1 to 10 in the computation's ten-digit form; 0 for a digit of a constant
  // or of a number converted from the account and the bank code.
  int position = 0;
  int digit = 0;
  int weight = 0;
  int product = 0;  // weight times digit, or the rule's own product of the two
  int added = 0;    // what enters the sum: the product, its digit sum, its units digit, ...
};

// One run of a method's arithmetic on one form of the account.
struct ExplainedComputation {
  std::string reason;  // why this form was computed; empty for the account as received
  std::string form;    // the ten-digit form read
  std::string rule;    // the check rule in words
  std::vector<ExplainedTerm> terms;  // in the order the rule weighs them
  bool hasSum = false;
  int sum = 0;
  int modulus = 0;
  int remainder = 0;
  std::uint16_t accepted = 0;  // the check digits the rule accepts: bit d for digit d
  int checkPosition = 0;       // where the check digit stands in `form`; 0 when none is read apart
  int checkDigit = -1;         // the digit there, -1 when none is read
  std::vector<std::string> notes;
  Outcome result = Outcome::kInvalidCheckDigit;
};

// A method or variant key of a check: run, or skipped with the reason.
struct ExplainedStep {
  std::string key;
  int depth = 0;  // 0 for the method checked, 1 for the keys it ran, and so on
  bool ran = true;
  std::string reason;   // why it ran, or why it did not
  std::string account;  // the text it received
  std::vector<ExplainedComputation> computations;
  // What the key decided itself, after the keys it ran had given their results.
  std::vector<std::string> notes;
  Outcome result = Outcome::kInvalidCheckDigit;  // of a key that ran
};

// The verdict and its steps, in the order they ran: each key's own keys follow
// it, one level deeper.
struct Explanation {
  Outcome result = Outcome::kInvalidCheckDigit;
  std::vector<ExplainedStep> steps;
};

}  // namespace tavrel
