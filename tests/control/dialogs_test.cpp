// The About dialog and the property page.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <string_view>

#include "control/internal/about_dialog.h"
#include "control/internal/prop_page.h"
#include "control_fixture.h"

namespace tavrel::control {
namespace {

QStringList LabelTexts(const QWidget& widget) {
  QStringList texts;
  for (const QLabel* label : widget.findChildren<QLabel*>()) texts << label->text();
  return texts;
}

TEST(AboutDialogTest, ShowsTheDirectorysDateWhenItOpens) {
  CDlgAbout dialog;
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Info über tavrel Control"));
  const auto* validFrom = dialog.findChild<QLabel*>("201");
  ASSERT_NE(validFrom, nullptr);
  EXPECT_EQ(validFrom->text(), "xx.xx.xxxx");
  dialog.show();
  EXPECT_EQ(validFrom->text(), "07.09.2009");
  const QStringList texts = LabelTexts(dialog);
  EXPECT_TRUE(texts.contains("tavrel Control, Version 1.0"));
  EXPECT_TRUE(texts.contains(QString::fromUtf8("Gültig ab:")));
  EXPECT_EQ(texts.size(), 1 + 1 + 2 + 4);  // icon, name, date and its label, four maker lines

  auto* ok = dialog.findChild<QPushButton*>("1");
  ASSERT_NE(ok, nullptr);
  ok->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
}

using AboutBoxTest = ControlTest;

TEST_F(AboutBoxTest, TheAboutBoxMethodRunsTheDialog) {
  Control().AboutBox();
  EXPECT_EQ(dialogs, std::vector<std::string>{"tavrel::control::CDlgAbout"});
}

TEST(PropertyPageTest, SaysThereIsNothingToSet) {
  const CtavrelPropPage page;
  EXPECT_EQ(page.windowTitle(), "Allgemein");
  EXPECT_EQ(LabelTexts(page),
            QStringList{QString::fromUtf8("tavrel verfügt über keine Eigenschaften.")});
}

// The host shows the page as a dialog of its own, which must not trap the user.
TEST(PropertyPageTest, ClosesByItsButtonAndByEscape) {
  for (const char* way : {"button", "Escape on the page", "Escape on the button"}) {
    SCOPED_TRACE(way);
    CtavrelPropPage page;
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    auto* close = page.findChild<QPushButton*>("2");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), QString::fromUtf8("Schließen"));
    if (way == std::string_view("button")) close->click();
    if (way == std::string_view("Escape on the page")) QTest::keyClick(&page, Qt::Key_Escape);
    if (way == std::string_view("Escape on the button")) QTest::keyClick(close, Qt::Key_Escape);
    EXPECT_FALSE(page.isVisible());
  }
}

}  // namespace
}  // namespace tavrel::control
