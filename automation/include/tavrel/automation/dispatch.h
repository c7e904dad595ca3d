// The dispatch layer: reference-counted objects whose members are found by name
// and called by number with tagged arguments, as automation hosts call them.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "tavrel/automation/guid.h"
#include "tavrel/automation/hresult.h"
#include "tavrel/automation/variant.h"

namespace tavrel::automation {

using DispId = std::int32_t;
inline constexpr DispId DISPID_UNKNOWN = -1;

// Invoke flags; hosts often combine METHOD and PROPERTYGET.
inline constexpr std::uint16_t DISPATCH_METHOD = 1;
inline constexpr std::uint16_t DISPATCH_PROPERTYGET = 2;
inline constexpr std::uint16_t DISPATCH_PROPERTYPUT = 4;
inline constexpr std::uint16_t DISPATCH_PROPERTYPUTREF = 8;

inline constexpr Guid IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr Guid IID_IDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

enum class MemberKind : std::uint8_t { Method, Property, ReadOnlyProperty };

// The type of a property, a method parameter or a method result. Arguments are
// coerced to it before a member sees them.
enum class ValueType : std::uint8_t { None, String, Long, Short, Bool, Colour, Font };

struct MemberInfo {
  DispId id;
  std::string_view name;
  MemberKind kind;
  ValueType type;  // property type, or the method's result (None: no result)
  std::array<ValueType, 2> params{ValueType::None, ValueType::None};  // methods only

  std::size_t ParamCount() const;
  // "Methode <name>" or "Eigenschaft <name>".
  std::string HelpString() const;
};

struct InterfaceInfo {
  std::string_view name;
  Guid iid;
  std::string_view help;  // Windows-1252
  std::span<const MemberInfo> members;

  const MemberInfo* FindMember(DispId id) const;
};

// Converts an argument to the parameter type: strings only from strings (null
// allowed), Long from Int16/Int32, Short from Int16 or an Int32 in range, Bool
// from Bool or a number (non-zero is true), Colour from Colour or Int32, Font from
// Font. An Empty argument is a left-out parameter: DISP_E_PARAMNOTOPTIONAL.
HRESULT CoerceArgument(const Variant& argument, ValueType type, Variant& coerced);

// Base of every automation object. Objects start with one reference, owned by
// whoever created them, and delete themselves when the last one is released.
class DispatchObject {
 public:
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  std::uint32_t AddRef();
  std::uint32_t Release();

  // Succeeds for IUnknown, IDispatch and the object's own interface, adding a
  // reference that the caller releases.
  HRESULT QueryInterface(const Guid& iid, DispatchObject** object);

  // Finds a member by name, ignoring ASCII case.
  HRESULT GetIDsOfNames(std::u16string_view name, DispId* id) const;

  // Calls member `id`. `args` are in the member's parameter order (first
  // parameter first); a property put takes the new value as its one argument.
  // Out parameters and return values come back in `result`, which may be null.
  HRESULT Invoke(DispId id, std::uint16_t flags, std::span<const Variant> args, Variant* result);

  virtual const InterfaceInfo& Interface() const = 0;

  // Number of automation objects alive in the process.
  static std::size_t LiveObjectCount();

 protected:
  enum class Access : std::uint8_t { Call, Get, Put };

  DispatchObject();
  virtual ~DispatchObject();

  // Runs a member with arguments already counted and coerced to its types.
  virtual HRESULT InvokeMember(const MemberInfo& member, Access access,
                               std::span<const Variant> args, Variant& result) = 0;

 private:
  HRESULT InvokeChecked(const MemberInfo& member, std::uint16_t flags,
                        std::span<const Variant> args, Variant* result);

  std::atomic<std::uint32_t> references_{1};
};

// Owns one reference to an automation object.
template <typename T>
class Ref {
 public:
  Ref() = default;
  // Takes over the caller's reference.
  explicit Ref(T* object) : object_(object) {}
  Ref(const Ref& other) : object_(other.object_) {
    if (object_ != nullptr) object_->AddRef();
  }
  Ref(Ref&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
  Ref& operator=(Ref other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~Ref() {
    if (object_ != nullptr) object_->Release();
  }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_ = nullptr;
};

}  // namespace tavrel::automation
