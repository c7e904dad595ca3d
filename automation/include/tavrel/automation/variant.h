// The value types that cross the dispatch interface: wide strings that can be
// null, colours, fonts, and the tagged Variant that carries any of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tavrel::automation {

// A wide (UTF-16) string as automation passes it. Null and empty are different
// values, as a null BSTR and an empty one are; most readers treat null as "".
class Bstr {
 public:
  Bstr() = default;  // null
  Bstr(std::u16string text) : text_(std::move(text)) {}
  Bstr(const char16_t* text)
      : text_(text == nullptr ? std::nullopt : std::optional<std::u16string>(text)) {}

  bool IsNull() const { return !text_.has_value(); }
  std::u16string_view View() const {
    return text_ ? std::u16string_view(*text_) : std::u16string_view();
  }
  std::size_t Length() const { return View().size(); }

  bool operator==(const Bstr&) const = default;

 private:
  std::optional<std::u16string> text_;
};

// Conversions between the system's Windows-1252 strings and wide strings. A null
// Bstr reads as ""; characters without a Windows-1252 form become '?'.
std::string ToCp1252(const Bstr& text);
Bstr FromCp1252(std::string_view text);

// OLE_COLOR: 0x00BBGGRR, or a system colour index with the top bit set.
struct Colour {
  std::uint32_t value = 0;
  bool operator==(const Colour&) const = default;
};

// The font description the control's Font property carries.
struct Font {
  std::u16string name = u"MS Shell Dlg";
  double pointSize = 8.0;
  bool bold = false;
  bool italic = false;
  bool operator==(const Font&) const = default;
};

inline constexpr std::int16_t VARIANT_TRUE = -1;
inline constexpr std::int16_t VARIANT_FALSE = 0;

enum class VarType : std::uint8_t { Empty, Bool, Int16, Int32, String, Colour, Font };

// A tagged value. Accessors expect the matching type (check Type() first; the
// dispatch layer coerces arguments before members read them).
class Variant {
 public:
  Variant() = default;
  Variant(bool value) : value_(value) {}
  Variant(std::int16_t value) : value_(value) {}
  Variant(std::int32_t value) : value_(value) {}
  Variant(Bstr value) : value_(std::move(value)) {}
  Variant(Colour value) : value_(value) {}
  Variant(Font value) : value_(std::move(value)) {}
  Variant(const char16_t* text) : value_(Bstr(text)) {}
  // Any other pointer would silently become a bool.
  template <typename T>
  Variant(T*) = delete;

  VarType Type() const { return static_cast<VarType>(value_.index()); }
  bool IsEmpty() const { return Type() == VarType::Empty; }

  bool AsBool() const { return std::get<bool>(value_); }
  std::int16_t AsVariantBool() const { return AsBool() ? VARIANT_TRUE : VARIANT_FALSE; }
  std::int16_t AsInt16() const { return std::get<std::int16_t>(value_); }
  std::int32_t AsInt32() const { return std::get<std::int32_t>(value_); }
  const Bstr& AsString() const { return std::get<Bstr>(value_); }
  Colour AsColour() const { return std::get<Colour>(value_); }
  const Font& AsFont() const { return std::get<Font>(value_); }

  bool operator==(const Variant&) const = default;

 private:
  // Order matches VarType.
  std::variant<std::monostate, bool, std::int16_t, std::int32_t, Bstr, Colour, Font> value_;
};

}  // namespace tavrel::automation
