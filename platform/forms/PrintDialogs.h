#pragma once
// The system's print dialog. Every choice goes through one presenter, which tests replace to
// print to a file without a person.

#include <functional>

class QPrinter;
class QWidget;

// Sets `printer` up as the person chose; false when they cancelled.
using TPrintDialogPresenter = std::function<bool(QPrinter& printer)>;

// Installs `presenter`; an empty one brings back the real dialog. Returns the previous one.
TPrintDialogPresenter SetPrintDialogPresenter(TPrintDialogPresenter presenter);

bool ChoosePrinter(QWidget* parent, QPrinter& printer);
