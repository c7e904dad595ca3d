// QXcompute: the windowless automation class. It checks an account, turns a
// result value into its German message and looks up a bank's short name; it
// keeps no state between calls.
#pragma once

#include <cstdint>

#include "tavrel/automation/dispatch.h"

namespace tavrel::automation {

inline constexpr Guid CLSID_QXcompute{
    0x9A162F68, 0xC1A0, 0x4424, {0x8C, 0x94, 0x44, 0x0A, 0x82, 0xAA, 0x9D, 0x46}};
inline constexpr Guid IID_IQXcompute{
    0x433BEFC9, 0xA5C2, 0x4596, {0x85, 0x1E, 0xE2, 0xC6, 0x7F, 0xED, 0xFF, 0xED}};

inline constexpr DispId DISPID_QX_NUMMPROBE = 1;
inline constexpr DispId DISPID_QX_GETERRORMESSAGE = 2;
inline constexpr DispId DISPID_QX_LOOKUPNAME = 3;

// The dual interface IQXcompute: callable directly and through Invoke. Every
// method returns S_OK, E_POINTER for a null out parameter, or E_OUTOFMEMORY; on
// failure the out parameter is left as it was.
class CQXcompute final : public DispatchObject {
 public:
  // A new object holding one reference for the caller.
  static CQXcompute* New() { return new CQXcompute(); }

  // Checks the account against the bank code (account first) and stores the
  // result value. Null strings count as empty.
  HRESULT Nummprobe(const Bstr& konto, const Bstr& blz, std::int32_t* checkResult);

  // The message for a result value; "" for a value without one.
  HRESULT GetErrorMessage(std::int32_t checkResult, Bstr* message);

  // The short name for exactly this bank code, untrimmed; "" when not found.
  HRESULT LookupName(const Bstr& blz, Bstr* bankname);

  const InterfaceInfo& Interface() const override;

 protected:
  HRESULT InvokeMember(const MemberInfo& member, Access access, std::span<const Variant> args,
                       Variant& result) override;

 private:
  CQXcompute() = default;
  ~CQXcompute() override = default;
};

}  // namespace tavrel::automation
