#include "platform/forms/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "platform/text/QtText.h"

namespace {

int showRealBox(const TMessageBoxRequest& request) {
  const QPointer<QWidget> owner = QApplication::activeWindow();
  QMessageBox box(owner);
  box.setWindowTitle(request.caption);
  QString text = request.text;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  box.setText(text);
  switch (request.type) {
    case TMsgDlgType::mtWarning: box.setIcon(QMessageBox::Warning); break;
    case TMsgDlgType::mtError: box.setIcon(QMessageBox::Critical); break;
    case TMsgDlgType::mtInformation: box.setIcon(QMessageBox::Information); break;
    case TMsgDlgType::mtConfirmation: box.setIcon(QMessageBox::Question); break;
    case TMsgDlgType::mtCustom: box.setIcon(QMessageBox::NoIcon); break;
  }
  QAbstractButton* yes = nullptr;
  QAbstractButton* no = nullptr;
  QAbstractButton* ok = nullptr;
  QAbstractButton* cancel = nullptr;
  if (request.buttons & mbYes) yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
  if (request.buttons & mbNo) no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
  if (request.buttons & mbOK) ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  if (request.buttons & mbCancel) cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  box.exec();
  // Closing the box hands activation back to its owner, which may act on it.
  if (owner) owner->activateWindow();
  const QAbstractButton* pressed = box.clickedButton();
  if (pressed && pressed == yes) return mrYes;
  if (pressed && pressed == no) return mrNo;
  if (pressed && pressed == ok) return mrOk;
  if (pressed && pressed == cancel) return mrCancel;
  return mrCancel;
}

TMessageBoxPresenter& presenter() {
  static TMessageBoxPresenter current;
  return current;
}

}  // namespace

TMessageBoxPresenter SetMessageBoxPresenter(TMessageBoxPresenter next) {
  TMessageBoxPresenter previous = std::move(presenter());
  presenter() = std::move(next);
  return previous;
}

QString MessageBoxCaption(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning: return QStringLiteral("警告");
    case TMsgDlgType::mtError: return QStringLiteral("错误");
    case TMsgDlgType::mtInformation: return QStringLiteral("提示");
    case TMsgDlgType::mtConfirmation: return QStringLiteral("确认");
    case TMsgDlgType::mtCustom: return {};
  }
  return {};
}

int MessageBoxWithCaption(const QString& caption, const QString& text, TMsgDlgType type, int buttons) {
  const TMessageBoxRequest request{caption, text, type, buttons};
  return presenter() ? presenter()(request) : showRealBox(request);
}

int MessageDlg(const AnsiString& text, TMsgDlgType type, int buttons) {
  return MessageBoxWithCaption(MessageBoxCaption(type), text::toQString(text), type, buttons);
}
