// Saving and loading the control's properties: the format version and the four
// stock properties. The texts and results are deliberately not persisted, so a
// reloaded control starts empty.
#include "tavrel/automation/tavrel_ctrl.h"

namespace tavrel::automation {
namespace {

constexpr std::string_view kVersionKey = "_Version";
constexpr std::string_view kBackColorKey = "BackColor";
constexpr std::string_view kEnabledKey = "Enabled";
constexpr std::string_view kFontKey = "Font";
constexpr std::string_view kBorderStyleKey = "BorderStyle";

// The saved value under `key`, coerced to `type`; Empty when missing or unusable.
Variant ReadEntry(const PropertyBag& bag, std::string_view key, ValueType type) {
  const auto entry = bag.find(key);
  Variant value;
  if (entry == bag.end() || Failed(CoerceArgument(entry->second, type, value))) return {};
  return value;
}

}  // namespace

void CtavrelCtrl::Save(PropertyBag& bag) const {
  bag.insert_or_assign(std::string(kVersionKey), Variant(kControlVersion));
  bag.insert_or_assign(std::string(kBackColorKey), Variant(stock_.backColor));
  bag.insert_or_assign(std::string(kEnabledKey), Variant(stock_.enabled));
  bag.insert_or_assign(std::string(kFontKey), Variant(stock_.font));
  bag.insert_or_assign(std::string(kBorderStyleKey), Variant(stock_.borderStyle));
}

void CtavrelCtrl::Load(const PropertyBag& bag) {
  if (Variant v = ReadEntry(bag, kBackColorKey, ValueType::Colour); !v.IsEmpty())
    SetBackColor(v.AsColour());
  if (Variant v = ReadEntry(bag, kEnabledKey, ValueType::Bool); !v.IsEmpty())
    SetEnabled(v.AsBool());
  if (Variant v = ReadEntry(bag, kFontKey, ValueType::Font); !v.IsEmpty()) SetFont(v.AsFont());
  if (Variant v = ReadEntry(bag, kBorderStyleKey, ValueType::Short); !v.IsEmpty())
    SetBorderStyle(v.AsInt16());
  modified_ = false;
}

}  // namespace tavrel::automation
