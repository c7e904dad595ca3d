#include "internal/qxcompute.h"

#include <new>

#include "internal/account_texts.h"
#include "tavrel/service.h"

namespace tavrel::automation {
namespace {

constexpr MemberInfo kMembers[] = {
    {DISPID_QX_NUMMPROBE,
     "Nummprobe",
     MemberKind::Method,
     ValueType::Long,
     {ValueType::String, ValueType::String}},
    {DISPID_QX_GETERRORMESSAGE,
     "GetErrorMessage",
     MemberKind::Method,
     ValueType::String,
     {ValueType::Long}},
    {DISPID_QX_LOOKUPNAME,
     "LookupName",
     MemberKind::Method,
     ValueType::String,
     {ValueType::String}},
};

constexpr InterfaceInfo kInterface{"IQXcompute", IID_IQXcompute, "IQXcompute-Schnittstelle",
                                   kMembers};

// Runs `compute` and stores its value in `*out`; the out parameter is written
// only when everything before it succeeded.
template <typename T, typename Compute>
HRESULT StoreResult(T* out, Compute compute) {
  if (out == nullptr) return E_POINTER;
  try {
    *out = compute();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

// Invoke's result for a direct call that fills an out parameter of type T.
template <typename T, typename Call>
HRESULT ReturnThrough(Variant& result, Call call) {
  T value{};
  const HRESULT hr = call(&value);
  if (Succeeded(hr)) result = std::move(value);
  return hr;
}

}  // namespace

HRESULT CQXcompute::Nummprobe(const Bstr& konto, const Bstr& blz, std::int32_t* checkResult) {
  return StoreResult(checkResult,
                     [&] { return service::CheckAccount(ToCp1252(konto), ToCp1252(blz)); });
}

HRESULT CQXcompute::GetErrorMessage(std::int32_t checkResult, Bstr* message) {
  return StoreResult(message, [&] { return FromCp1252(MessageText(checkResult)); });
}

HRESULT CQXcompute::LookupName(const Bstr& blz, Bstr* bankname) {
  return StoreResult(bankname, [&] { return FromCp1252(BankNameOrEmpty(ToCp1252(blz))); });
}

const InterfaceInfo& CQXcompute::Interface() const { return kInterface; }

HRESULT CQXcompute::InvokeMember(const MemberInfo& member, Access, std::span<const Variant> args,
                                 Variant& result) {
  switch (member.id) {
    case DISPID_QX_NUMMPROBE:
      return ReturnThrough<std::int32_t>(result, [&](std::int32_t* out) {
        return Nummprobe(args[0].AsString(), args[1].AsString(), out);
      });
    case DISPID_QX_GETERRORMESSAGE:
      return ReturnThrough<Bstr>(
          result, [&](Bstr* out) { return GetErrorMessage(args[0].AsInt32(), out); });
    case DISPID_QX_LOOKUPNAME:
      return ReturnThrough<Bstr>(result,
                                 [&](Bstr* out) { return LookupName(args[0].AsString(), out); });
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

}  // namespace tavrel::automation
