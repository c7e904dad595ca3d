// The rule generations as values: their names, dates and method codes, and the
// generation in force on a date.
#include <algorithm>

#include "internal/rule_set.h"
#include "tavrel/engine.h"

namespace tavrel::engine {

const MethodRow* RuleSet::FindVariantRow(std::string_view key) const {
  // Variant keys begin with their method code (all but "Eser"), so most are
  // found among a handful of keys instead of all of them.
  const int methodSlot = key.size() > 2 ? CodeSlot(key.substr(0, 2)) : -1;
  const VariantKey* first = variantKeys.data();
  const VariantKey* last = first + variantKeys.size();
  if (methodSlot >= 0) {
    const VariantRange& range = variantRanges[static_cast<std::size_t>(methodSlot)];
    last = first + range.end;
    first += range.begin;
  }
  const VariantKey* it =
      std::find_if(first, last, [&](const VariantKey& entry) { return entry.key == key; });
  return it != last ? it->row : nullptr;
}

const RuleSet* FindRules(std::string_view name) {
  for (Generation generation : kGenerations) {
    const RuleSet& rules = Rules(generation);
    if (rules.name == name) return &rules;
  }
  return nullptr;
}

Generation GenerationOf(const RuleSet& rules) { return rules.generation; }

std::string_view NameOf(const RuleSet& rules) { return rules.name; }

std::chrono::year_month_day ValidFrom(const RuleSet& rules) { return rules.validFrom; }

std::span<const std::string_view> MethodCodes(const RuleSet& rules) { return rules.methodCodes; }

std::span<const std::string_view> Keys(const RuleSet& rules) { return rules.keys; }

RulesInForce RulesInForceOn(std::chrono::year_month_day date) {
  constexpr std::string_view kNotKept =
      "only the 2009 and the current rules are kept: methods changed after this date may differ "
      "from those in force on it";
  const RuleSet& current = Rules(Generation::kCurrent);
  const RuleSet& rules2009 = Rules(Generation::k2009);
  if (date >= current.validFrom) return {current, {}};
  if (date >= current.firstChange) return {current, kNotKept};
  return {rules2009, date >= rules2009.validFrom ? std::string_view{} : kNotKept};
}

}  // namespace tavrel::engine
