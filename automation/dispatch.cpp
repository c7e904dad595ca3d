#include "tavrel/automation/dispatch.h"

#include <algorithm>
#include <limits>
#include <new>

#include "tavrel/ascii.h"

namespace tavrel::automation {
namespace {

std::atomic<std::size_t> liveObjects{0};

// Member names are ASCII, so each wide character compares with one narrow one.
bool EqualIgnoringAsciiCase(std::u16string_view wide, std::string_view narrow) {
  return std::ranges::equal(wide, narrow, [](char16_t w, char n) {
    return FoldAsciiCase(w) == FoldAsciiCase(static_cast<char16_t>(static_cast<unsigned char>(n)));
  });
}

HRESULT CoerceNumber(std::int32_t number, ValueType type, Variant& coerced) {
  switch (type) {
    case ValueType::Long:
      coerced = number;
      return S_OK;
    case ValueType::Short:
      if (number < std::numeric_limits<std::int16_t>::min() ||
          number > std::numeric_limits<std::int16_t>::max()) {
        return DISP_E_OVERFLOW;
      }
      coerced = static_cast<std::int16_t>(number);
      return S_OK;
    case ValueType::Bool:
      coerced = number != 0;
      return S_OK;
    case ValueType::Colour:
      coerced = Colour{static_cast<std::uint32_t>(number)};
      return S_OK;
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

// The value types whose argument type equals the parameter type without change.
bool IsSameType(VarType argument, ValueType type) {
  return (argument == VarType::String && type == ValueType::String) ||
         (argument == VarType::Bool && type == ValueType::Bool) ||
         (argument == VarType::Colour && type == ValueType::Colour) ||
         (argument == VarType::Font && type == ValueType::Font);
}

}  // namespace

std::size_t MemberInfo::ParamCount() const {
  return static_cast<std::size_t>(
      std::ranges::count_if(params, [](ValueType t) { return t != ValueType::None; }));
}

std::string MemberInfo::HelpString() const {
  return std::string(kind == MemberKind::Method ? "Methode " : "Eigenschaft ") + std::string(name);
}

const MemberInfo* InterfaceInfo::FindMember(DispId id) const {
  const auto found = std::ranges::find(members, id, &MemberInfo::id);
  return found == members.end() ? nullptr : &*found;
}

HRESULT CoerceArgument(const Variant& argument, ValueType type, Variant& coerced) {
  switch (argument.Type()) {
    case VarType::Empty:
      return DISP_E_PARAMNOTOPTIONAL;
    case VarType::Int16:
      return CoerceNumber(argument.AsInt16(), type, coerced);
    case VarType::Int32:
      return CoerceNumber(argument.AsInt32(), type, coerced);
    default:
      if (!IsSameType(argument.Type(), type)) return DISP_E_TYPEMISMATCH;
      coerced = argument;
      return S_OK;
  }
}

DispatchObject::DispatchObject() { ++liveObjects; }

DispatchObject::~DispatchObject() { --liveObjects; }

std::size_t DispatchObject::LiveObjectCount() { return liveObjects.load(); }

std::uint32_t DispatchObject::AddRef() { return ++references_; }

std::uint32_t DispatchObject::Release() {
  const std::uint32_t remaining = --references_;
  if (remaining == 0) delete this;
  return remaining;
}

HRESULT DispatchObject::QueryInterface(const Guid& iid, DispatchObject** object) {
  if (object == nullptr) return E_POINTER;
  if (iid != IID_IUnknown && iid != IID_IDispatch && iid != Interface().iid) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  *object = this;
  return S_OK;
}

HRESULT DispatchObject::GetIDsOfNames(std::u16string_view name, DispId* id) const {
  if (id == nullptr) return E_POINTER;
  for (const MemberInfo& member : Interface().members) {
    if (EqualIgnoringAsciiCase(name, member.name)) {
      *id = member.id;
      return S_OK;
    }
  }
  *id = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT DispatchObject::Invoke(DispId id, std::uint16_t flags, std::span<const Variant> args,
                               Variant* result) {
  const MemberInfo* member = Interface().FindMember(id);
  if (member == nullptr) return DISP_E_MEMBERNOTFOUND;
  try {
    return InvokeChecked(*member, flags, args, result);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT DispatchObject::InvokeChecked(const MemberInfo& member, std::uint16_t flags,
                                      std::span<const Variant> args, Variant* result) {
  Access access{};
  std::span<const ValueType> types;
  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    if (member.kind == MemberKind::Method) return DISP_E_MEMBERNOTFOUND;
    if (member.kind == MemberKind::ReadOnlyProperty) return CTL_E_SETNOTSUPPORTED;
    access = Access::Put;
    types = std::span(&member.type, 1);
  } else if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) != 0) {
    access = member.kind == MemberKind::Method ? Access::Call : Access::Get;
    if (access == Access::Call) types = std::span(member.params).first(member.ParamCount());
  } else {
    return E_INVALIDARG;
  }
  if (args.size() != types.size()) return DISP_E_BADPARAMCOUNT;

  std::array<Variant, 2> coerced;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const HRESULT hr = CoerceArgument(args[i], types[i], coerced[i]);
    if (Failed(hr)) return hr;
  }
  Variant value;
  const HRESULT hr =
      InvokeMember(member, access, std::span<const Variant>(coerced).first(args.size()), value);
  if (Succeeded(hr) && result != nullptr) *result = std::move(value);
  return hr;
}

}  // namespace tavrel::automation
