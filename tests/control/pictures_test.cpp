// Renders the control in its telling states to PNG files for a reviewer:
// pictures/<state>.png in the build tree.
#include <QDir>

#include "control/internal/about_dialog.h"
#include "control/internal/prop_page.h"
#include "control_fixture.h"

namespace tavrel::control {
namespace {

void Save(QWidget& widget, const QString& name) {
  QDir().mkpath(TAVREL_PICTURE_DIR);
  const QString path = QString(TAVREL_PICTURE_DIR) + "/" + name + ".png";
  const QPixmap picture = widget.grab();
  ASSERT_FALSE(picture.isNull());
  EXPECT_TRUE(picture.save(path)) << path.toStdString();
}

class PicturesTest : public ControlTest {
 protected:
  void Show(const char* blz, const char* konto) {
    Control().SetKonto("");
    Control().SetBlz(blz);
    Control().SetKonto(konto);
  }
};

TEST_F(PicturesTest, ControlStates) {
  Show("12030000", "9290701");
  Save(*widget, "valid_account");
  Show("12030000", "9290702");
  Save(*widget, "wrong_check_digit");
  Show("99999999", "9290701");
  Save(*widget, "bank_code_error");
  Show("", "");
  Type(BankCodeField(), "Sparda");
  Save(*widget, "name_search_hits");
  BankCodeField().clear();
  Type(BankCodeField(), "qqq");
  Save(*widget, "name_search_no_hits");
}

TEST_F(PicturesTest, Dialogs) {
  CDlgAbout about(widget.get());
  about.show();
  Save(about, "about_box");
  CtavrelPropPage page;
  page.show();
  Save(page, "property_page");
}

}  // namespace
}  // namespace tavrel::control
