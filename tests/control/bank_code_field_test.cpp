// Typing into the two fields: the digit filter, the name search, the hit list,
// the command word and the text limits.
#include "control_fixture.h"
#include "tavrel/directory.h"
#include "tavrel/service.h"

namespace tavrel::control {
namespace {

using FieldTest = ControlTest;

TEST_F(FieldTest, DigitsStayAndAShortBankCodeIsReported) {
  Type(BankCodeField(), "1");
  EXPECT_EQ(BankCodeField().text(), "1");
  EXPECT_FALSE(HitList().isVisible());
  Type(BankCodeField(), "0");
  EXPECT_EQ(BankCodeField().text(), "10");
  EXPECT_EQ(State().checkResult, service::kBankCodeNotEightChars);
  EXPECT_FALSE(State().quiet);
  ASSERT_TRUE(HitList().isVisible());
  EXPECT_EQ(HitList().count(), 66);
  EXPECT_EQ(HitList().item(0)->text(), "10000000 | BBk Berlin");
}

TEST_F(FieldTest, HitListMatchesTheBankSearch) {
  for (const char* text : {"12", "100500", "8709621", "sparda,", "bank,sparda", "hh, kiel"}) {
    SCOPED_TRACE(text);
    BankCodeField().clear();
    Type(BankCodeField(), text);
    QStringList expected;
    for (const std::string& hit : directory::BankSearch(text, false).hits)
      expected << ToQString(hit);
    EXPECT_EQ(HitLines(), expected);
    EXPECT_EQ(HitList().isVisible(), !expected.isEmpty());
  }
}

// The rejected character goes, the caret stands where it was before it.
TEST_F(FieldTest, DigitFilterPutsTheTextBackAndTheCaretOneLeft) {
  struct Case {
    bool account;
    QString typed;
    int caretBefore;
    QString expected;
  };
  const Case cases[] = {
      {false, "1234", 4, "1234"},
      {false, "1234", 2, "1234"},
      {true, "929070", 3, "929070"},
      {true, "9", 0, "9"},
  };
  for (const Case& c : cases) {
    QLineEdit& field = c.account ? AccountField() : BankCodeField();
    SCOPED_TRACE(field.objectName().toStdString() + " " + c.typed.toStdString());
    field.clear();
    Type(field, c.typed);
    field.setCursorPosition(c.caretBefore);
    Type(field, "x");
    EXPECT_EQ(field.text(), c.expected);
    EXPECT_EQ(field.cursorPosition(), c.caretBefore);
    EXPECT_FALSE(field.hasSelectedText());
  }
}

TEST_F(FieldTest, RejectedKeyInBankCodeModeLeavesTheListHidden) {
  Type(BankCodeField(), "10");
  ASSERT_TRUE(HitList().isVisible());
  Type(BankCodeField(), "-");
  EXPECT_EQ(BankCodeField().text(), "10");
  EXPECT_FALSE(HitList().isVisible());
  EXPECT_EQ(HitList().count(), 0);
  EXPECT_FALSE(State().nameSearchMode);
}

TEST_F(FieldTest, ALetterFirstStartsANameSearch) {
  Type(BankCodeField(), "Spar");
  EXPECT_EQ(BankCodeField().text(), "Spar");
  EXPECT_TRUE(State().nameSearchMode);
  EXPECT_EQ(State().checkResult, service::kBankCodeNotEightChars);
  EXPECT_FALSE(State().quiet);
  EXPECT_TRUE(HitList().isVisible());
  EXPECT_GT(HitList().count(), 1);

  BankCodeField().setCursorPosition(0);
  Press(BankCodeField(), Qt::Key_Delete);
  Press(BankCodeField(), Qt::Key_Delete);
  Press(BankCodeField(), Qt::Key_Delete);
  Press(BankCodeField(), Qt::Key_Delete);
  EXPECT_EQ(BankCodeField().text(), "");
  EXPECT_FALSE(State().nameSearchMode);
  EXPECT_FALSE(HitList().isVisible());
}

TEST_F(FieldTest, OnlyTheExactCommandWordOpensTheAboutBox) {
  Type(BankCodeField(), "INFO:");
  EXPECT_TRUE(dialogs.empty());
  BankCodeField().clear();
  Type(BankCodeField(), "info:");
  EXPECT_EQ(dialogs, std::vector<std::string>{"tavrel::control::CDlgAbout"});
  EXPECT_FALSE(HitList().isVisible());
  Type(BankCodeField(), "x");
  EXPECT_EQ(dialogs.size(), 1u);
}

TEST_F(FieldTest, BothFieldsEmptyIsQuiet) {
  Type(AccountField(), "12");
  EXPECT_FALSE(State().quiet);
  Press(AccountField(), Qt::Key_Backspace);
  Press(AccountField(), Qt::Key_Backspace);
  EXPECT_EQ(AccountField().text(), "");
  EXPECT_TRUE(State().quiet);
  EXPECT_EQ(State().checkResult, service::kBankCodeNotEightChars);
}

TEST_F(FieldTest, BankCodeFieldStopsAtEightDigitsAndTwentySevenLetters) {
  Type(BankCodeField(), "123456789");
  EXPECT_EQ(BankCodeField().text(), "12345678");
  BankCodeField().clear();
  const QString longName(30, 'q');
  Type(BankCodeField(), longName);
  EXPECT_EQ(BankCodeField().text(), longName.left(27));
  AccountField().clear();
  Type(AccountField(), "123456789012");
  EXPECT_EQ(AccountField().text(), "1234567890");
}

// A limit stops typing; it never cuts what is already there.
TEST_F(FieldTest, ShrinkingTheLimitKeepsTheText) {
  const QString name = "sparkasse hannover gruppe";
  Type(BankCodeField(), name);
  BankCodeField().setCursorPosition(0);
  Press(BankCodeField(), Qt::Key_Delete);
  Type(BankCodeField(), "1");
  // The first character is a digit again: bank-code mode with its limit of 8.
  EXPECT_EQ(BankCodeField().text().size(), name.size());
  Control().SetBlz("123456789012");
  EXPECT_EQ(BankCodeField().text(), "123456789012");
  BankCodeField().end(false);
  Type(BankCodeField(), "3");
  EXPECT_EQ(BankCodeField().text(), "123456789012");
  Press(BankCodeField(), Qt::Key_Backspace);
  EXPECT_EQ(BankCodeField().text(), "12345678901");
  Type(BankCodeField(), "3");
  EXPECT_EQ(BankCodeField().text(), "12345678901");
}

}  // namespace
}  // namespace tavrel::control
