#pragma once
// The system's dialogs for choosing a file to open or to save. Every choice goes through one
// presenter, which tests replace to choose without a person.

#include <functional>

#include <QString>

class QWidget;

struct TFileDialogRequest {
  bool save;        // a file to write, else one to read
  QString caption;
  QString file;     // the folder and name offered first
  QString filter;   // "文本文件 (*.txt)"
};

// Answers the chosen file's full name, empty when the person cancelled.
using TFileDialogPresenter = std::function<QString(const TFileDialogRequest&)>;

// Installs `presenter`; an empty one brings back the real dialog. Returns the previous one.
TFileDialogPresenter SetFileDialogPresenter(TFileDialogPresenter presenter);

QString ChooseFileToSave(QWidget* parent, const QString& caption, const QString& file, const QString& filter);
QString ChooseFileToOpen(QWidget* parent, const QString& caption, const QString& file, const QString& filter);
