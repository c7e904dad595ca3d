#include "tavrel/automation/tavrel_ctrl.h"

#include <algorithm>

#include "internal/account_texts.h"
#include "tavrel/ascii.h"
#include "tavrel/service.h"

namespace tavrel::automation {
namespace {

using VT = ValueType;
constexpr MemberInfo kMembers[] = {
    {DISPID_ABOUTBOX, "AboutBox", MemberKind::Method, VT::None},
    {DISPID_BACKCOLOR, "BackColor", MemberKind::Property, VT::Colour},
    {DISPID_CTRL_BLZ, "blz", MemberKind::Property, VT::String},
    {DISPID_CTRL_KONTO, "konto", MemberKind::Property, VT::String},
    {DISPID_CTRL_CHECKRESULT, "checkResult", MemberKind::ReadOnlyProperty, VT::Long},
    {DISPID_CTRL_NUMMPROBE, "Nummprobe", MemberKind::Method, VT::Long, {VT::String, VT::String}},
    {DISPID_CTRL_GETERRORMESSAGE, "GetErrorMessage", MemberKind::Method, VT::String, {VT::Long}},
    {DISPID_CTRL_BANKNAME, "bankname", MemberKind::Property, VT::String},
    {DISPID_CTRL_BLZNUMACHT, "BlzNumAcht", MemberKind::Method, VT::Bool},
    {DISPID_ENABLED, "Enabled", MemberKind::Property, VT::Bool},
    {DISPID_FONT, "Font", MemberKind::Property, VT::Font},
    {DISPID_BORDERSTYLE, "BorderStyle", MemberKind::Property, VT::Short},
};

constexpr InterfaceInfo kDtavrel{"_Dtavrel", DIID_Dtavrel,
                                 "Dispatchschnittstelle f\xFCr tavrel Control", kMembers};
constexpr InterfaceInfo kDtavrelEvents{
    "_DtavrelEvents", DIID_DtavrelEvents, "Ereignisschnittstelle f\xFCr tavrel Control", {}};

// Takes the field's text into `stored` when the window has that field.
void RefreshFrom(const std::optional<std::string>& fieldText, std::string& stored) {
  if (fieldText) stored = *fieldText;
}

}  // namespace

const InterfaceInfo& DtavrelEventsInterface() { return kDtavrelEvents; }

const InterfaceInfo& CtavrelCtrl::Interface() const { return kDtavrel; }

void CtavrelCtrl::AboutBox() {
  if (window_ != nullptr) window_->ShowAboutBox();
}

std::string CtavrelCtrl::GetBlz() {
  if (window_ != nullptr) RefreshFrom(window_->BankCodeFieldText(), state_.blzText);
  return state_.blzText;
}

void CtavrelCtrl::SetBlz(std::string_view text) {
  state_.blzText = text;
  state_.nameSearchMode = false;
  if (window_ != nullptr) window_->SetBankCodeFieldText(text);
  modified_ = true;
}

std::string CtavrelCtrl::GetKonto() {
  if (window_ != nullptr) RefreshFrom(window_->AccountFieldText(), state_.kontoText);
  return state_.kontoText;
}

void CtavrelCtrl::SetKonto(std::string_view text) {
  state_.kontoText = text;
  if (window_ != nullptr) window_->SetAccountFieldText(text);
  modified_ = true;
}

std::int32_t CtavrelCtrl::Nummprobe(std::string_view konto, std::string_view blz) const {
  return service::CheckAccount(konto, blz);
}

std::string CtavrelCtrl::GetErrorMessage(std::int32_t checkResult) const {
  return MessageText(checkResult);
}

void CtavrelCtrl::SetBankname(std::string_view text) {
  state_.bankName = text;
  modified_ = true;
}

bool CtavrelCtrl::BlzNumAcht() { return IsEightDigits(GetBlz()); }

void CtavrelCtrl::SetBackColor(Colour colour) {
  stock_.backColor = colour;
  StockChanged(DISPID_BACKCOLOR);
}

void CtavrelCtrl::SetEnabled(bool enabled) {
  stock_.enabled = enabled;
  StockChanged(DISPID_ENABLED);
}

void CtavrelCtrl::SetFont(Font font) {
  stock_.font = std::move(font);
  StockChanged(DISPID_FONT);
}

void CtavrelCtrl::SetBorderStyle(std::int16_t style) {
  stock_.borderStyle = style;
  StockChanged(DISPID_BORDERSTYLE);
}

void CtavrelCtrl::StockChanged(DispId id) {
  modified_ = true;
  if (window_ != nullptr) window_->StockPropertyChanged(id);
}

HRESULT CtavrelCtrl::InvokeMember(const MemberInfo& member, Access access,
                                  std::span<const Variant> args, Variant& result) {
  if (access == Access::Put) {
    PutProperty(member.id, args[0]);
  } else {
    result = GetOrCall(member.id, args);
  }
  return S_OK;
}

void CtavrelCtrl::PutProperty(DispId id, const Variant& value) {
  switch (id) {
    case DISPID_BACKCOLOR:
      return SetBackColor(value.AsColour());
    case DISPID_CTRL_BLZ:
      return SetBlz(ToCp1252(value.AsString()));
    case DISPID_CTRL_KONTO:
      return SetKonto(ToCp1252(value.AsString()));
    case DISPID_CTRL_BANKNAME:
      return SetBankname(ToCp1252(value.AsString()));
    case DISPID_ENABLED:
      return SetEnabled(value.AsBool());
    case DISPID_FONT:
      return SetFont(value.AsFont());
    case DISPID_BORDERSTYLE:
      return SetBorderStyle(value.AsInt16());
    default:
      return;  // the dispatch layer refuses puts on methods and read-only properties
  }
}

Variant CtavrelCtrl::GetOrCall(DispId id, std::span<const Variant> args) {
  switch (id) {
    case DISPID_ABOUTBOX:
      AboutBox();
      return {};
    case DISPID_BACKCOLOR:
      return stock_.backColor;
    case DISPID_CTRL_BLZ:
      return FromCp1252(GetBlz());
    case DISPID_CTRL_KONTO:
      return FromCp1252(GetKonto());
    case DISPID_CTRL_CHECKRESULT:
      return GetCheckResult();
    case DISPID_CTRL_NUMMPROBE:
      return Nummprobe(ToCp1252(args[0].AsString()), ToCp1252(args[1].AsString()));
    case DISPID_CTRL_GETERRORMESSAGE:
      return FromCp1252(GetErrorMessage(args[0].AsInt32()));
    case DISPID_CTRL_BANKNAME:
      return FromCp1252(GetBankname());
    case DISPID_CTRL_BLZNUMACHT:
      return BlzNumAcht();
    case DISPID_ENABLED:
      return stock_.enabled;
    case DISPID_FONT:
      return stock_.font;
    case DISPID_BORDERSTYLE:
      return stock_.borderStyle;
    default:
      return {};
  }
}

}  // namespace tavrel::automation
