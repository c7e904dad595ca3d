// tavrel-gui's "Warum?" panel, read offscreen: hidden until asked for, it
// explains the verdict the control shows, follows every keystroke, and offers
// the valid accounts and bank codes one slip away. Its picture goes beside the
// control's.
#include "host_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace tavrel::control {
namespace {

class HostWindowTest : public ::testing::Test {
 protected:
  HostWindowTest() {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  void Type(const char* field, const QString& keys) {
    QLineEdit* edit = window.findChild<QLineEdit*>(field);
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, keys);
  }
  QPlainTextEdit& Panel() { return *window.findChild<QPlainTextEdit*>("whyPanel"); }
  QPushButton& Why() { return *window.findChild<QPushButton*>("why"); }

  HostWindow window;
};

TEST_F(HostWindowTest, WhyExplainsTheVerdictAndSuggestsCorrections) {
  Type("2000", "12030000");
  Type("2001", "2990701");
  EXPECT_FALSE(Panel().isVisible());
  QTest::mouseClick(&Why(), Qt::LeftButton);
  ASSERT_TRUE(Panel().isVisible());
  const QString wrong = Panel().toPlainText();
  EXPECT_TRUE(wrong.contains("account 2990701 at bank code 12030000")) << wrong.toStdString();
  EXPECT_TRUE(wrong.contains("result -3: Pr\u00fcfziffer ung\u00fcltig!"));
  EXPECT_TRUE(wrong.contains("  9290701  Stellen 1 und 2 vertauscht")) << wrong.toStdString();

  QDir().mkpath(TAVREL_PICTURE_DIR);
  EXPECT_TRUE(window.grab().save(QString(TAVREL_PICTURE_DIR) + "/host_why_panel.png"));

  Type("2001", "9290701");
  const QString valid = Panel().toPlainText();
  EXPECT_TRUE(valid.contains("check digit at position 10: 1 expected, 1 found"))
      << valid.toStdString();
  EXPECT_FALSE(valid.contains("Meinten Sie"));

  Type("2000", "12030001");
  EXPECT_TRUE(Panel().toPlainText().contains("  12030000  Deutsche Kreditbank Berlin"));
  QTest::mouseClick(&Why(), Qt::LeftButton);
  EXPECT_FALSE(Panel().isVisible());
}

// 12030000 (BIC BYLADEM1001) uses method 00: 9290701 passes it, 12345678 fails it.
TEST_F(HostWindowTest, IbanFieldShowsTheVerdictAsYouType) {
  QLabel& result = *window.findChild<QLabel*>("ibanResult");
  EXPECT_EQ(result.text(), "IBAN eingeben");
  Type("iban", "DE59 1203 0000 0009 2907 0");
  EXPECT_EQ(result.text(), "IBAN hat falsche L\u00e4nge!");
  QTest::keyClicks(window.findChild<QLineEdit*>("iban"), "1");
  EXPECT_EQ(
      result.text(),
      "IBAN g\u00fcltig \u00b7 Konto g\u00fcltig \u00b7 Deutsche Kreditbank Berlin \u00b7 BIC "
      "BYLADEM1001");
  Type("iban", "de18120300000012345678");
  EXPECT_EQ(result.text(),
            "IBAN g\u00fcltig \u00b7 Konto: Pr\u00fcfziffer ung\u00fcltig! \u00b7 Deutsche "
            "Kreditbank Berlin \u00b7 BIC BYLADEM1001");
  Type("iban", "DE88370400440532013000");
  EXPECT_EQ(result.text(), "IBAN-Pr\u00fcfsumme ung\u00fcltig!");
  Type("iban", "GB82 WEST 1234 5698 7654 32");
  EXPECT_EQ(result.text(), "IBAN g\u00fcltig");
}

// 10000000 uses method 09, which has no check digit: any account passes untested.
TEST_F(HostWindowTest, ResultLineTellsValidFromValidWithoutCheck) {
  struct Row {
    const char* bankCode;
    const char* account;
    const char* text;
  };
  const Row rows[] = {
      {"12030000", "9290701", "\u2714 g\u00fcltig"},
      {"10000000", "1234567890",
       "\u25cb g\u00fcltig ohne Pr\u00fcfung: die Methode der Bank hat keine Pr\u00fcfziffer"},
      {"12030000", "9290702", "\u2718 Pr\u00fcfziffer ung\u00fcltig!"},
  };
  QLabel& result = *window.findChild<QLabel*>("checkResult");
  QList<QColor> colours;
  for (const Row& row : rows) {
    Type("2000", row.bankCode);
    Type("2001", row.account);
    EXPECT_EQ(result.text(), QString::fromUtf8(row.text)) << row.account;
    colours << result.palette().color(QPalette::WindowText);
  }
  EXPECT_NE(colours[0], colours[1]);
  EXPECT_NE(colours[1], colours[2]);
  EXPECT_NE(colours[0], colours[2]);
  QStringList labels;
  for (const QLabel* label : window.findChildren<QLabel*>()) labels << label->text();
  for (const char* name : {"Bankleitzahl:", "Kontonummer:", "Ergebnis:", "Bank:"})
    EXPECT_TRUE(labels.contains(name)) << name;
}

}  // namespace
}  // namespace tavrel::control
