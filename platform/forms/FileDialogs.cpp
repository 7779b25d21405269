#include "platform/forms/FileDialogs.h"

#include <QFileDialog>

namespace {

TFileDialogPresenter& presenter() {
  static TFileDialogPresenter current;
  return current;
}

QString choose(QWidget* parent, const TFileDialogRequest& request) {
  if (presenter()) return presenter()(request);
  return request.save ? QFileDialog::getSaveFileName(parent, request.caption, request.file, request.filter)
                      : QFileDialog::getOpenFileName(parent, request.caption, request.file, request.filter);
}

}  // namespace

TFileDialogPresenter SetFileDialogPresenter(TFileDialogPresenter next) {
  TFileDialogPresenter previous = std::move(presenter());
  presenter() = std::move(next);
  return previous;
}

QString ChooseFileToSave(QWidget* parent, const QString& caption, const QString& file, const QString& filter) {
  return choose(parent, {true, caption, file, filter});
}

QString ChooseFileToOpen(QWidget* parent, const QString& caption, const QString& file, const QString& filter) {
  return choose(parent, {false, caption, file, filter});
}
