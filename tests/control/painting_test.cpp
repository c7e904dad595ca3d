// What the message area shows: sampled pixel colours of the two rows.
#include "control_fixture.h"
#include "tavrel/directory.h"
#include "tavrel/service.h"

namespace tavrel::control {
namespace {

using PaintingTest = ControlTest;

enum class Row { Empty, Error, BankName };

QColor Expected(Row row, const QColor& background) {
  switch (row) {
    case Row::Error:
      return layout::kErrorColour;
    case Row::BankName:
      return layout::kBankNameColour;
    default:
      return background;
  }
}

TEST_F(PaintingTest, RowsShowErrorsWhereTheyBelongAndTheBankNameInGreen) {
  struct Case {
    const char* blz;
    const char* konto;
    Row bankCodeRow;
    Row accountRow;
  };
  const Case cases[] = {
      {"12030000", "9290701", Row::BankName, Row::Empty},  // method 00, valid
      {"10000000", "12345", Row::BankName, Row::Empty},    // method 09, no check digit
      {"12030000", "9290702", Row::BankName, Row::Error},  // wrong check digit
      {"12030000", "92907x", Row::BankName, Row::Error},   // the last key press left it empty
      {"0000000", "9290701", Row::Error, Row::Empty},      // seven digits (no bank code starts so)
      {"99999999", "1", Row::Error, Row::Empty},           // no such bank
      {"12030000", "", Row::BankName, Row::Error},         // no account
      {"", "", Row::Empty, Row::Empty},                    // quiet
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.blz) + " / " + c.konto);
    Control().SetKonto("");
    Control().SetBlz(c.blz);
    Control().SetKonto(c.konto);
    const std::string account = FromQString(AccountField().text());
    EXPECT_EQ(State().checkResult, service::CheckAccount(account, c.blz));
    std::string name;  // stays empty for a bank code the directory lacks
    directory::LookupBankName(c.blz, name);
    EXPECT_EQ(State().bankName, name);
    const QColor background = BackgroundColour();
    EXPECT_EQ(RowColour(false), Expected(c.bankCodeRow, background));
    EXPECT_EQ(RowColour(true), Expected(c.accountRow, background));
  }
}

TEST_F(PaintingTest, ANameSearchWithoutHitsSaysSoOnTheBankCodeRow) {
  Type(BankCodeField(), "qqq");
  ASSERT_FALSE(HitList().isVisible());
  EXPECT_EQ(RowColour(false), layout::kErrorColour);
  EXPECT_EQ(RowColour(true), BackgroundColour());
}

TEST_F(PaintingTest, TheBackColourFillsTheControl) {
  Control().SetBackColor(automation::Colour{0x00FF0000});  // 0x00BBGGRR: blue
  EXPECT_EQ(BackgroundColour(), QColor(0, 0, 255));
  Control().SetBackColor(automation::Colour{0x8000000F});  // the button face
  EXPECT_EQ(BackgroundColour(), widget->palette().color(QPalette::Button));
}

TEST_F(PaintingTest, LabelsArePainted) {
  const QImage image = widget->grab().toImage();
  const QColor background = BackgroundColour();
  for (const QRect& label : {layout::FromEdges(0, 5, 44, 20), layout::FromEdges(0, 28, 44, 43)}) {
    int inked = 0;
    for (int y = label.top(); y <= label.bottom(); ++y) {
      for (int x = label.left(); x <= label.right(); ++x)
        inked += image.pixelColor(x, y) != background;
    }
    EXPECT_GT(inked, 10);
  }
}

}  // namespace
}  // namespace tavrel::control
