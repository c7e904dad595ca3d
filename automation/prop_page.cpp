#include "internal/prop_page.h"

namespace tavrel::automation {

const InterfaceInfo& CtavrelPropPage::Interface() const {
  static constexpr InterfaceInfo kInterface{
      "CtavrelPropPage", IID_tavrelPropPage, "tavrel Property Page", {}};
  return kInterface;
}

}  // namespace tavrel::automation
