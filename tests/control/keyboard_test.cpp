// Keys in the fields and the hit list: Tab and Shift+Tab, taking a hit, the
// clipboard keys, focus passed on by the control and re-checks on focus loss.
#include <QClipboard>

#include "control_fixture.h"
#include "tavrel/directory.h"
#include "tavrel/service.h"

namespace tavrel::control {
namespace {

using KeyboardTest = ControlTest;

enum class TakeBy { TabWithOneHit, EnterOnSecondLine, DoubleClickOnThirdLine };

// Each way of taking a hit puts that line's bank code into the field while the
// name search is still on: the result stays "not eight characters".
TEST_F(KeyboardTest, TakingAHitKeepsTheShortBankCodeResultUntilTheNextCheck) {
  for (TakeBy way :
       {TakeBy::TabWithOneHit, TakeBy::EnterOnSecondLine, TakeBy::DoubleClickOnThirdLine}) {
    SCOPED_TRACE(static_cast<int>(way));
    BankCodeField().clear();
    Type(BankCodeField(), way == TakeBy::TabWithOneHit ? "volksbank,chemnitz" : "bbk berlin");
    const QStringList lines = HitLines();
    Press(BankCodeField(), Qt::Key_Tab);
    QString taken = lines.front();
    if (way == TakeBy::EnterOnSecondLine) {
      ASSERT_TRUE(HitList().hasFocus());
      EXPECT_EQ(HitList().currentRow(), 0);
      Press(HitList(), Qt::Key_Down);
      Press(HitList(), Qt::Key_Return);
      taken = lines[1];
    } else if (way == TakeBy::DoubleClickOnThirdLine) {
      QApplication::processEvents();  // lays the list out
      const QRect line = HitList().visualItemRect(HitList().item(2));
      // A real double-click: a click, then the double-click event.
      QTest::mouseClick(HitList().viewport(), Qt::LeftButton, {}, line.center());
      QTest::mouseDClick(HitList().viewport(), Qt::LeftButton, {}, line.center());
      taken = lines[2];
    }
    EXPECT_EQ(BankCodeField().text(), taken.left(8));
    EXPECT_EQ(State().checkResult, service::kBankCodeNotEightChars);
    EXPECT_FALSE(State().nameSearchMode);
    EXPECT_FALSE(HitList().isVisible());
    EXPECT_TRUE(AccountField().hasFocus());
    EXPECT_EQ(RowColour(false), layout::kErrorColour);

    Type(AccountField(), "1");
    EXPECT_EQ(State().checkResult, service::CheckAccount("1", FromQString(taken.left(8))));
    AccountField().clear();
  }
}

TEST_F(KeyboardTest, TabWithSeveralHitsSelectsTheFirstInTheList) {
  Type(BankCodeField(), "bbk berlin");
  Press(BankCodeField(), Qt::Key_Tab);
  EXPECT_TRUE(HitList().hasFocus());
  EXPECT_EQ(HitList().currentRow(), 0);
  EXPECT_EQ(BankCodeField().text(), "bbk berlin");
  EXPECT_TRUE(State().nameSearchMode);
}

TEST_F(KeyboardTest, TabAndShiftTabMoveBetweenTheFieldsAndLeaveTheList) {
  Press(BankCodeField(), Qt::Key_Tab);
  EXPECT_TRUE(AccountField().hasFocus());
  Press(AccountField(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(BankCodeField().hasFocus());

  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool toAccount;
  };
  for (const Case& c :
       {Case{Qt::Key_Tab, Qt::NoModifier, true}, Case{Qt::Key_Backtab, Qt::ShiftModifier, false}}) {
    BankCodeField().clear();
    Type(BankCodeField(), "Spar");
    Press(BankCodeField(), Qt::Key_Tab);
    ASSERT_TRUE(HitList().hasFocus());
    Press(HitList(), c.key, c.modifiers);
    EXPECT_FALSE(HitList().isVisible());
    EXPECT_TRUE((c.toAccount ? AccountField() : BankCodeField()).hasFocus());
    EXPECT_EQ(BankCodeField().text(), "Spar");
  }
}

// Leaving a field checks again, so a taken hit gets its real result.
TEST_F(KeyboardTest, LeavingAFieldChecks) {
  Type(BankCodeField(), "bbk berlin");
  Press(BankCodeField(), Qt::Key_Tab);
  Press(HitList(), Qt::Key_Return);
  ASSERT_EQ(State().checkResult, service::kBankCodeNotEightChars);
  Press(AccountField(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(State().checkResult, service::CheckAccount("", "10000000"));
  std::string name;
  ASSERT_TRUE(directory::LookupBankName("10000000", name));
  EXPECT_EQ(State().bankName, name);
}

TEST_F(KeyboardTest, ClipboardKeys) {
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString fieldText;  // all of it selected when `selectAll`
    bool selectAll;
    QString clipboardBefore;
    QString expectedText;
    QString expectedClipboard;
  };
  const Case cases[] = {
      {Qt::Key_C, Qt::ControlModifier, "1234", true, "x", "1234", "1234"},
      {Qt::Key_Insert, Qt::ControlModifier, "5678", true, "x", "5678", "5678"},
      {Qt::Key_V, Qt::ControlModifier, "12", false, "345678901", "12345678", "345678901"},
      {Qt::Key_Insert, Qt::ShiftModifier, "12", false, "34\n56", "1234", "34\n56"},
      {Qt::Key_X, Qt::ControlModifier, "1234", true, "x", "", "1234"},
      // Pasted letters go back out: the text of the key press returns.
      {Qt::Key_V, Qt::ControlModifier, "12", false, "3a", "12", "3a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expectedText.toStdString());
    Control().SetBlz(FromQString(c.fieldText));
    BankCodeField().setFocus();
    if (c.selectAll) {
      BankCodeField().selectAll();
    } else {
      BankCodeField().end(false);
    }
    QApplication::clipboard()->setText(c.clipboardBefore);
    Press(BankCodeField(), c.key, c.modifiers);
    EXPECT_EQ(BankCodeField().text(), c.expectedText);
    EXPECT_EQ(QApplication::clipboard()->text(), c.expectedClipboard);
    EXPECT_EQ(State().rememberedBlzText, FromQString(c.fieldText));
  }
}

TEST_F(KeyboardTest, CutRunsTheChangeHandling) {
  Type(BankCodeField(), "12030000");
  Type(AccountField(), "9290701");
  ASSERT_EQ(State().checkResult, 0);
  AccountField().selectAll();
  Press(AccountField(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(State().checkResult, service::kAccountLength);
}

TEST_F(KeyboardTest, TheControlPassesTheFocusToAField) {
  AccountField().setFocus();
  widget->setFocus();
  EXPECT_TRUE(BankCodeField().hasFocus());
  QTest::keyPress(widget.get(), Qt::Key_Shift, Qt::ShiftModifier);
  widget->setFocus();
  QTest::keyRelease(widget.get(), Qt::Key_Shift);
  EXPECT_TRUE(AccountField().hasFocus());
}

TEST_F(KeyboardTest, AFontChangeReachesTheFieldsAndTheList) {
  automation::Font font;
  font.name = u"DejaVu Serif";
  font.pointSize = 14;
  Control().SetFont(font);
  for (const QWidget* child :
       {static_cast<QWidget*>(&BankCodeField()), static_cast<QWidget*>(&AccountField()),
        static_cast<QWidget*>(&HitList())}) {
    EXPECT_EQ(child->font().pointSizeF(), 14);
    EXPECT_EQ(child->font().family(), "DejaVu Serif");
  }
}

}  // namespace
}  // namespace tavrel::control
