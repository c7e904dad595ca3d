// CtavrelPropPage: the control's single property page. It exchanges no
// properties, so its automation object has no members; the window library shows
// the page itself.
#pragma once

#include "tavrel/automation/dispatch.h"

namespace tavrel::automation {

inline constexpr Guid CLSID_tavrelPropPage{
    0x42338D0F, 0x2131, 0x4894, {0x8C, 0xC4, 0xEB, 0xAD, 0x55, 0x17, 0x6A, 0x49}};
inline constexpr Guid IID_tavrelPropPage{
    0xAD55176A, 0xE2D9, 0x4214, {0x98, 0xF8, 0x3F, 0xFD, 0x8C, 0x55, 0xD4, 0x9C}};

class CtavrelPropPage final : public DispatchObject {
 public:
  // A new page object holding one reference for the caller.
  static CtavrelPropPage* New() { return new CtavrelPropPage(); }

  const InterfaceInfo& Interface() const override;

 protected:
  HRESULT InvokeMember(const MemberInfo&, Access, std::span<const Variant>, Variant&) override {
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  CtavrelPropPage() = default;
  ~CtavrelPropPage() override = default;
};

}  // namespace tavrel::automation
