#include "platform/forms/PrintDialogs.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

TPrintDialogPresenter& presenter() {
  static TPrintDialogPresenter current;
  return current;
}

}  // namespace

TPrintDialogPresenter SetPrintDialogPresenter(TPrintDialogPresenter next) {
  TPrintDialogPresenter previous = std::move(presenter());
  presenter() = std::move(next);
  return previous;
}

bool ChoosePrinter(QWidget* parent, QPrinter& printer) {
  if (presenter()) return presenter()(printer);
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}
