// The windowless control: its state, its _Dtavrel members, the window plug-in
// (through a fake window) and persistence.
#include <gtest/gtest.h>

#include <functional>

#include "invoke_helpers.h"
#include "tavrel/automation/tavrel_ctrl.h"

namespace tavrel::automation {
namespace {

using testing::Get;
using testing::Method;
using testing::Put;

// Stands in for the form: two fields that may or may not exist, and a record of
// what the control asked of it.
class FakeWindow : public ControlWindow {
 public:
  std::optional<std::string> bankCodeField = "";
  std::optional<std::string> accountField = "";
  std::function<void()> onBankCodeChange = [] {};  // the form's change handling
  int aboutBoxes = 0;
  std::vector<DispId> stockChanges;

  std::optional<std::string> BankCodeFieldText() const override { return bankCodeField; }
  void SetBankCodeFieldText(std::string_view text) override {
    if (!bankCodeField) return;
    bankCodeField = std::string(text);
    onBankCodeChange();
  }
  std::optional<std::string> AccountFieldText() const override { return accountField; }
  void SetAccountFieldText(std::string_view text) override {
    if (accountField) accountField = std::string(text);
  }
  void ShowAboutBox() override { ++aboutBoxes; }
  void StockPropertyChanged(DispId property) override { stockChanges.push_back(property); }
};

class ControlTest : public ::testing::Test {
 protected:
  Ref<CtavrelCtrl> control{CtavrelCtrl::New()};
  FakeWindow window;

  void Attach() { control->AttachWindow(&window); }
  Variant GetProperty(std::u16string_view name) { return Get(*control, name).result; }
};

TEST_F(ControlTest, StartsEmptyAndQuiet) {
  EXPECT_EQ(GetProperty(u"checkResult"), Variant(std::int32_t{0}));
  EXPECT_EQ(GetProperty(u"blz"), Variant(Bstr(u"")));
  EXPECT_EQ(GetProperty(u"konto"), Variant(Bstr(u"")));
  EXPECT_EQ(GetProperty(u"bankname"), Variant(Bstr(u"")));
  EXPECT_TRUE(control->State().quiet);
  EXPECT_FALSE(control->State().nameSearchMode);
  EXPECT_FALSE(control->IsModified());
  EXPECT_EQ(GetProperty(u"Enabled"), Variant(true));
  EXPECT_EQ(GetProperty(u"BorderStyle"), Variant(std::int16_t{0}));
}

TEST_F(ControlTest, NummprobeChangesNoProperty) {
  control->State().checkResult = -9;
  EXPECT_EQ(Method(*control, u"Nummprobe", {Bstr(u"9290701"), Bstr(u"12030000")}).result,
            Variant(std::int32_t{0}));
  EXPECT_EQ(Method(*control, u"Nummprobe", {Bstr(u"1"), Bstr()}).result, Variant(std::int32_t{-5}));
  EXPECT_EQ(control->GetCheckResult(), -9);
  EXPECT_EQ(control->GetBankname(), "");
  EXPECT_FALSE(control->IsModified());
}

TEST_F(ControlTest, GetErrorMessageMatchesTheTable) {
  EXPECT_EQ(Method(*control, u"GetErrorMessage", {std::int32_t{-9}}).result,
            Variant(Bstr(u"BLZ ungültig!")));
  EXPECT_EQ(Method(*control, u"GetErrorMessage", {std::int32_t{1}}).result, Variant(Bstr(u"")));
}

TEST_F(ControlTest, BlzNumAchtWantsExactlyEightDigits) {
  const std::pair<std::u16string, bool> cases[] = {
      {u" 1000000", false},  {u"10000000", true}, {u"99999999", true},   {u"1000000a", false},
      {u"100000000", false}, {u"", false},        {u"10000000 ", false}, {u"1234567\u0661", false},
  };
  for (const auto& [blz, expected] : cases) {
    ASSERT_EQ(Put(*control, u"blz", Bstr(blz)), S_OK);
    EXPECT_EQ(Method(*control, u"BlzNumAcht").result, Variant(expected)) << ToCp1252(Bstr(blz));
  }
}

TEST_F(ControlTest, CheckResultIsReadOnly) {
  EXPECT_EQ(Put(*control, u"checkResult", std::int32_t{5}), CTL_E_SETNOTSUPPORTED);
  EXPECT_EQ(control->GetCheckResult(), 0);
}

TEST_F(ControlTest, TextsSetBeforeTheWindowAreOnlyStored) {
  control->State().nameSearchMode = true;
  ASSERT_EQ(Put(*control, u"blz", Bstr(u"12030000")), S_OK);
  ASSERT_EQ(Put(*control, u"konto", Bstr(u"9290701")), S_OK);
  EXPECT_EQ(GetProperty(u"blz"), Variant(Bstr(u"12030000")));
  EXPECT_EQ(GetProperty(u"konto"), Variant(Bstr(u"9290701")));
  EXPECT_EQ(control->GetCheckResult(), 0);
  EXPECT_EQ(control->GetBankname(), "");
  EXPECT_FALSE(control->State().nameSearchMode) << "setting blz ends a name search";
  EXPECT_TRUE(control->IsModified());
}

TEST_F(ControlTest, SettingKontoKeepsTheSearchMode) {
  control->State().nameSearchMode = true;
  Put(*control, u"konto", Bstr(u"1"));
  EXPECT_TRUE(control->State().nameSearchMode);
}

TEST_F(ControlTest, SettingBlzRunsTheFieldsChangeHandling) {
  Attach();
  control->State().nameSearchMode = true;
  bool modeDuringChange = true;
  window.onBankCodeChange = [&] {
    modeDuringChange = control->State().nameSearchMode;
    control->State().checkResult = -9;
    control->State().bankName = "BBk Berlin";
  };
  ASSERT_EQ(Put(*control, u"blz", Bstr(u"10000000")), S_OK);
  EXPECT_EQ(window.bankCodeField, "10000000");
  EXPECT_FALSE(modeDuringChange) << "the mode is off before the field changes";
  EXPECT_EQ(GetProperty(u"checkResult"), Variant(std::int32_t{-9}));
  EXPECT_EQ(GetProperty(u"bankname"), Variant(Bstr(u"BBk Berlin")));

  ASSERT_EQ(Put(*control, u"konto", Bstr(u"Grüße")), S_OK);
  EXPECT_EQ(window.accountField,
            "Gr\xFC\xDF"
            "e");
}

TEST_F(ControlTest, GettersRefreshFromTheFields) {
  Attach();
  window.bankCodeField = "1203000";  // the user typed into the form
  window.accountField = "42";
  EXPECT_EQ(Method(*control, u"BlzNumAcht").result, Variant(false));
  window.bankCodeField = "12030000";
  EXPECT_EQ(Method(*control, u"BlzNumAcht").result, Variant(true));
  EXPECT_EQ(control->State().blzText, "12030000");
  EXPECT_EQ(GetProperty(u"konto"), Variant(Bstr(u"42")));

  window.bankCodeField.reset();  // a field that was never created keeps the stored text
  EXPECT_EQ(GetProperty(u"blz"), Variant(Bstr(u"12030000")));
}

TEST_F(ControlTest, MissingFieldOnlyStoresTheText) {
  window.bankCodeField.reset();
  Attach();
  bool changed = false;
  window.onBankCodeChange = [&] { changed = true; };
  Put(*control, u"blz", Bstr(u"10000000"));
  EXPECT_FALSE(changed);
  EXPECT_EQ(GetProperty(u"blz"), Variant(Bstr(u"10000000")));
}

TEST_F(ControlTest, AboutBoxNeedsAWindow) {
  EXPECT_EQ(Method(*control, u"AboutBox").hr, S_OK);
  Attach();
  EXPECT_EQ(Method(*control, u"aboutbox").hr, S_OK);
  control->DetachWindow();
  control->AboutBox();
  EXPECT_EQ(window.aboutBoxes, 1);
}

TEST_F(ControlTest, StockPropertiesReachTheWindow) {
  Attach();
  const Font bold{u"Arial", 10.0, true, false};
  EXPECT_EQ(Put(*control, u"BackColor", std::int32_t{0x00C8FFC8}), S_OK);
  EXPECT_EQ(Put(*control, u"Font", bold), S_OK);
  EXPECT_EQ(Put(*control, u"Enabled", false), S_OK);
  EXPECT_EQ(Put(*control, u"BorderStyle", std::int16_t{1}), S_OK);
  EXPECT_EQ(GetProperty(u"BackColor"), Variant(Colour{0x00C8FFC8}));
  EXPECT_EQ(GetProperty(u"Font"), Variant(bold));
  EXPECT_EQ(GetProperty(u"Enabled"), Variant(false));
  EXPECT_EQ(GetProperty(u"BorderStyle"), Variant(std::int16_t{1}));
  EXPECT_EQ(window.stockChanges, (std::vector<DispId>{DISPID_BACKCOLOR, DISPID_FONT, DISPID_ENABLED,
                                                      DISPID_BORDERSTYLE}));
}

TEST_F(ControlTest, PersistsOnlyVersionAndStockProperties) {
  control->SetBackColor(Colour{0x00FF0000});
  control->SetFont(Font{u"Tahoma", 9.0, false, true});
  control->SetBorderStyle(1);
  control->SetBlz("10000000");
  control->SetKonto("1");
  control->SetBankname("BBk Berlin");
  PropertyBag bag;
  control->Save(bag);
  EXPECT_EQ(bag.size(), 5u);
  EXPECT_EQ(bag.at("_Version"), Variant(kControlVersion));

  bag["blz"] = Bstr(u"20030400");  // even if a host adds them, texts are not loaded
  Ref<CtavrelCtrl> reloaded(CtavrelCtrl::New());
  reloaded->Load(bag);
  EXPECT_EQ(reloaded->Stock().backColor, Colour{0x00FF0000});
  EXPECT_EQ(reloaded->Stock().font, (Font{u"Tahoma", 9.0, false, true}));
  EXPECT_EQ(reloaded->Stock().borderStyle, 1);
  EXPECT_TRUE(reloaded->Stock().enabled);
  EXPECT_EQ(reloaded->GetBlz(), "");
  EXPECT_EQ(reloaded->GetKonto(), "");
  EXPECT_EQ(reloaded->GetBankname(), "");
  EXPECT_FALSE(reloaded->IsModified());
}

TEST_F(ControlTest, LoadSkipsUnusableEntries) {
  const StockProperties defaults = control->Stock();
  control->Load({{"BackColor", Bstr(u"red")},
                 {"Font", std::int32_t{3}},
                 {"BorderStyle", std::int32_t{70000}}});
  EXPECT_EQ(control->Stock().backColor, defaults.backColor);
  EXPECT_EQ(control->Stock().font, defaults.font);
  EXPECT_EQ(control->Stock().borderStyle, defaults.borderStyle);
}

TEST_F(ControlTest, BanknameTakesAnyText) {
  EXPECT_EQ(Put(*control, u"bankname", Bstr(u"Bank für Sozialwirtschaft")), S_OK);
  EXPECT_EQ(control->State().bankName, "Bank f\xFCr Sozialwirtschaft");
  EXPECT_EQ(Put(*control, u"bankname", Bstr()), S_OK);
  EXPECT_EQ(GetProperty(u"bankname"), Variant(Bstr(u"")));
}

}  // namespace
}  // namespace tavrel::automation
