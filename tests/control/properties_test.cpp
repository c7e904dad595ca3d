// The control object's properties with the window: blz and konto set before
// and after the window exists, and read back from the fields.
#include <QSignalSpy>

#include "control_fixture.h"
#include "tavrel/directory.h"
#include "tavrel/service.h"

namespace tavrel::control {
namespace {

automation::Ref<automation::CtavrelCtrl> ControlWithTexts(std::string_view blz,
                                                          std::string_view konto) {
  automation::Ref<automation::CtavrelCtrl> control(automation::CtavrelCtrl::New());
  control->SetBlz(blz);
  control->SetKonto(konto);
  return control;
}

class PropertiesBeforeWindowTest : public ControlTest {
 protected:
  PropertiesBeforeWindowTest() : ControlTest(ControlWithTexts("12030000", "9290701")) {}
};

TEST_F(PropertiesBeforeWindowTest, StoredTextsGoIntoTheFieldsAndAreChecked) {
  EXPECT_EQ(BankCodeField().text(), "12030000");
  EXPECT_EQ(AccountField().text(), "9290701");
  EXPECT_EQ(State().checkResult, 0);
  std::string name;
  ASSERT_TRUE(directory::LookupBankName("12030000", name));
  EXPECT_EQ(Control().GetBankname(), name);
  EXPECT_FALSE(State().nameSearchMode);
}

using PropertiesTest = ControlTest;

TEST_F(PropertiesTest, SettingATextRunsTheSameHandlingAsTyping) {
  Control().SetBlz("12030000");
  EXPECT_EQ(BankCodeField().text(), "12030000");
  EXPECT_EQ(State().checkResult, service::kAccountLength);
  Control().SetKonto("9290701");
  EXPECT_EQ(AccountField().text(), "9290701");
  EXPECT_EQ(Control().GetCheckResult(), 0);

  Control().SetBlz("Spar");
  EXPECT_TRUE(State().nameSearchMode);
  EXPECT_TRUE(HitList().isVisible());
  Control().SetBlz("10");
  EXPECT_FALSE(State().nameSearchMode);
  EXPECT_EQ(HitList().count(), 66);
  Control().SetKonto("12a");
  EXPECT_EQ(AccountField().text(), "");
}

// The field gets the text even when it holds it already, and handles it again.
TEST_F(PropertiesTest, SettingTheSameTextChecksAgain) {
  Control().SetBlz("12030000");
  Control().SetBankname("anything");
  Control().SetBlz("12030000");
  std::string name;
  ASSERT_TRUE(directory::LookupBankName("12030000", name));
  EXPECT_EQ(Control().GetBankname(), name);
}

TEST_F(PropertiesTest, GettersReadTheFields) {
  Type(BankCodeField(), "1000000");
  Type(AccountField(), "42");
  EXPECT_EQ(Control().GetBlz(), "1000000");
  EXPECT_EQ(Control().GetKonto(), "42");
  EXPECT_FALSE(Control().BlzNumAcht());
  Type(BankCodeField(), "0");
  EXPECT_TRUE(Control().BlzNumAcht());
  EXPECT_EQ(State().blzText, "10000000");
}

TEST_F(PropertiesTest, HostsHearOfEveryChange) {
  QSignalSpy changes(widget.get(), &ControlWidget::StateChanged);
  Type(BankCodeField(), "1");
  Type(AccountField(), "2");
  Control().SetKonto("");
  EXPECT_GE(changes.count(), 3);
}

TEST_F(PropertiesTest, ADetachedControlKeepsItsTexts) {
  automation::Ref<automation::CtavrelCtrl> control(&Control());
  control->AddRef();
  Type(BankCodeField(), "12030000");
  widget.reset();
  EXPECT_EQ(control->Window(), nullptr);
  control->SetBlz("10000000");
  EXPECT_EQ(control->GetBlz(), "10000000");
}

}  // namespace
}  // namespace tavrel::control
