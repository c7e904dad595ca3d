// tavrel-gui's "Warum?" panel, read offscreen: hidden until asked for, it
// explains the verdict the control shows, follows every keystroke, and offers
// the valid accounts and bank codes one slip away. Its picture goes beside the
// control's.
#include "host_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
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

}  // namespace
}  // namespace tavrel::control
