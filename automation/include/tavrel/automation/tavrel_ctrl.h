// CtavrelCtrl: the tavrel form control as an automation object (dispatch
// interface _Dtavrel). It holds the control's state and runs its properties and
// methods; the visible form is a ControlWindow that the window library attaches.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "tavrel/automation/control_window.h"
#include "tavrel/automation/dispatch.h"

namespace tavrel::automation {

inline constexpr Guid CLSID_tavrelCtrl{
    0x2C081F95, 0x5631, 0x4AC0, {0xB8, 0x1E, 0xE2, 0xC6, 0x7F, 0xEF, 0x23, 0xA4}};
inline constexpr Guid DIID_Dtavrel{
    0x91BEA63A, 0x7F43, 0x47BF, {0x95, 0x22, 0xFF, 0x6B, 0x1B, 0xE8, 0x9F, 0x63}};
inline constexpr Guid DIID_DtavrelEvents{
    0xAC378C3E, 0x6153, 0x42A5, {0x9C, 0x73, 0x06, 0x09, 0xFC, 0x71, 0x6B, 0xD3}};

// Stock members with the identifiers every control host uses.
inline constexpr DispId DISPID_ABOUTBOX = -552;
inline constexpr DispId DISPID_BACKCOLOR = -501;
inline constexpr DispId DISPID_BORDERSTYLE = -504;
inline constexpr DispId DISPID_FONT = -512;
inline constexpr DispId DISPID_ENABLED = -514;

inline constexpr DispId DISPID_CTRL_BLZ = 1;
inline constexpr DispId DISPID_CTRL_KONTO = 2;
inline constexpr DispId DISPID_CTRL_CHECKRESULT = 3;
inline constexpr DispId DISPID_CTRL_NUMMPROBE = 4;
inline constexpr DispId DISPID_CTRL_GETERRORMESSAGE = 5;
inline constexpr DispId DISPID_CTRL_BANKNAME = 6;
inline constexpr DispId DISPID_CTRL_BLZNUMACHT = 7;

// The persisted format version, 1.0.
inline constexpr std::int32_t kControlVersion = 0x10000;

// What the control knows between calls. The window library's input handling
// writes the check result, bank name, quiet flag, search mode and remembered
// texts here directly. Strings are Windows-1252.
struct ControlState {
  std::string blzText;              // last known text of the bank-code field
  std::string kontoText;            // last known text of the account field
  std::string bankName;             // short name found by the last check
  std::int32_t checkResult = 0;     // result value of the last check
  bool quiet = true;                // no error message to show
  bool nameSearchMode = false;      // the bank-code field holds a name search
  std::string rememberedBlzText;    // field texts as of the last key press,
  std::string rememberedKontoText;  // put back by the digit filter
};

struct StockProperties {
  Colour backColor{0x8000000F};  // the system's button face colour
  bool enabled = true;
  Font font;
  std::int16_t borderStyle = 0;
};

// Saved properties by name.
using PropertyBag = std::map<std::string, Variant, std::less<>>;

class CtavrelCtrl final : public DispatchObject {
 public:
  // A new control without a window, holding one reference for the caller.
  static CtavrelCtrl* New() { return new CtavrelCtrl(); }

  // _Dtavrel, in Windows-1252 strings.
  void AboutBox();
  std::string GetBlz();
  void SetBlz(std::string_view text);
  std::string GetKonto();
  void SetKonto(std::string_view text);
  std::int32_t GetCheckResult() const { return state_.checkResult; }
  std::int32_t Nummprobe(std::string_view konto, std::string_view blz) const;
  std::string GetErrorMessage(std::int32_t checkResult) const;
  std::string GetBankname() const { return state_.bankName; }
  void SetBankname(std::string_view text);
  bool BlzNumAcht();

  const StockProperties& Stock() const { return stock_; }
  void SetBackColor(Colour colour);
  void SetEnabled(bool enabled);
  void SetFont(Font font);
  void SetBorderStyle(std::int16_t style);

  // Only the version and the stock properties are saved; a loaded control keeps
  // its texts and results as they were (empty for a new one). Entries that are
  // missing or of the wrong type leave the property at its current value.
  void Save(PropertyBag& bag) const;
  void Load(const PropertyBag& bag);

  // The window is not owned; detach it before destroying it.
  void AttachWindow(ControlWindow* window) { window_ = window; }
  void DetachWindow() { window_ = nullptr; }
  ControlWindow* Window() const { return window_; }

  ControlState& State() { return state_; }
  const ControlState& State() const { return state_; }

  bool IsModified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

  const InterfaceInfo& Interface() const override;

 protected:
  HRESULT InvokeMember(const MemberInfo& member, Access access, std::span<const Variant> args,
                       Variant& result) override;

 private:
  CtavrelCtrl() = default;
  ~CtavrelCtrl() override = default;

  void PutProperty(DispId id, const Variant& value);
  Variant GetOrCall(DispId id, std::span<const Variant> args);
  void StockChanged(DispId id);

  ControlState state_;
  StockProperties stock_;
  ControlWindow* window_ = nullptr;
  bool modified_ = false;
};

// The event interface _DtavrelEvents: the control fires no events.
const InterfaceInfo& DtavrelEventsInterface();

}  // namespace tavrel::automation
