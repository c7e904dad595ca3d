// The visible tavrel control: a bank-code field, an account field, a coloured
// message area and a hit list for the bank search, over the control object
// CtavrelCtrl. Every edit re-checks the account; the result, its message and
// the bank name are shown beside the fields and read through the object's
// _Dtavrel members. Embed it in any Qt form.
#pragma once

#include <QWidget>
#include <functional>

#include "tavrel/automation/tavrel_ctrl.h"

class QDialog;
class QKeyEvent;
class QPainter;
class QListWidget;

namespace tavrel::control {

class FieldEdit;

// How the control runs a modal dialog; by default QDialog::exec().
using ModalRunner = std::function<void(QDialog&)>;

class ControlWidget final : public QWidget, public automation::ControlWindow {
  Q_OBJECT

 public:
  // A form over a new control object.
  explicit ControlWidget(QWidget* parent = nullptr);
  // A form over an existing control object; the texts it already holds go into
  // the fields.
  explicit ControlWidget(automation::Ref<automation::CtavrelCtrl> control,
                         QWidget* parent = nullptr);
  ~ControlWidget() override;

  automation::CtavrelCtrl& Control() const { return *control_; }
  void SetModalRunner(ModalRunner runner) { runModal_ = std::move(runner); }

  QSize sizeHint() const override;

  // automation::ControlWindow
  std::optional<std::string> BankCodeFieldText() const override;
  void SetBankCodeFieldText(std::string_view text) override;
  std::optional<std::string> AccountFieldText() const override;
  void SetAccountFieldText(std::string_view text) override;
  void ShowAboutBox() override;
  void StockPropertyChanged(automation::DispId property) override;

 signals:
  // The control's state may have changed (a check ran, a search started);
  // hosts read the new values through Control().
  void StateChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Window creation, in the order the fields depend on each other.
  void CreateChildren();
  void CreateBankCodeField();
  void CreateAccountField();
  void CreateHitList();
  void ApplyFont(const QFont& font);
  void WriteField(FieldEdit& field, std::string_view text);
  void Invalidate();

  // Input handling.
  void OnBankCodeChanged();
  void OnAccountChanged();
  void RunDigitFilter(FieldEdit& field, std::string remembered);
  void CheckFromWindow();
  void ShowSearchResult(const std::string& searchText);
  bool HitListShown() const;
  void HideHitList();
  void TakeHit();
  bool HandleFieldKey(FieldEdit& field, const QKeyEvent& key);
  std::string& RememberedText(const FieldEdit& field);
  bool HandleHitListKey(const QKeyEvent& key);
  void TabFromBankCodeField();

  // Painting.
  void PaintMessageArea(QPainter& painter) const;

  automation::Ref<automation::CtavrelCtrl> control_;
  ModalRunner runModal_;
  FieldEdit* bankCodeField_ = nullptr;
  FieldEdit* accountField_ = nullptr;
  QListWidget* hitList_ = nullptr;
};

}  // namespace tavrel::control
