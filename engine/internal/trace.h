// What the record path and the primitives report while they compute. The check
// path instantiates them with NoTrace, whose reports compile to nothing;
// explanations with Recording, which hands every report to a StepRecorder.
// Texts built for a report (notes with figures) are built only when Detailed().
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tavrel::engine {

class StepRecorder;
struct Recipe;

struct NoTrace {
  // Whether texts are wanted: built only then, they cost the check path nothing.
  static constexpr bool Detailed() { return false; }

  // Entry `entry` (from 0) of the record, its weight, product and what it adds.
  constexpr void Term(std::size_t, int, int, int, int) const {}
  constexpr void Sum(int, int, int) const {}
  // The check digits the rule accepts, one bit per digit.
  constexpr void Accepts(std::uint16_t) const {}
  // The check digit stands at `position` of the ten-digit form (0: none is read).
  constexpr void CheckAt(int) const {}
  constexpr void Note(std::string_view) const {}
  constexpr void BeginComputation(const Recipe&, std::string_view) const {}
  constexpr void EndComputation(int) const {}
};

struct Recording {
  bool Detailed() const;

  void Term(std::size_t entry, int digit, int weight, int product, int added) const;
  void Sum(int sum, int modulus, int remainder) const;
  void Accepts(std::uint16_t digits) const;
  void CheckAt(int position) const;
  void Note(std::string_view note) const;
  void BeginComputation(const Recipe& recipe, std::string_view account) const;
  void EndComputation(int result) const;

  StepRecorder* recorder;
};

}  // namespace tavrel::engine
