#include "skin/forms/SkinClassName.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>

#include "platform/forms/Form.h"

namespace {

const char* byQtClass(const QWidget* w) {
  // Subclasses before the classes they derive from.
  if (qobject_cast<const QMessageBox*>(w)) return "TMessageForm";
  if (qobject_cast<const QMenu*>(w)) return "#32768";
  if (dynamic_cast<const TForm*>(w)) return nullptr;
  if (qobject_cast<const QDialog*>(w)) return "#32770";
  if (qobject_cast<const QRadioButton*>(w)) return "TRadioButton";
  if (qobject_cast<const QCheckBox*>(w)) return "TCheckBox";
  if (qobject_cast<const QPushButton*>(w)) return "TButton";
  if (qobject_cast<const QToolButton*>(w)) return "TSpeedButton";
  if (qobject_cast<const QComboBox*>(w)) return "TComboBox";
  if (qobject_cast<const QLineEdit*>(w)) return "TEdit";
  if (qobject_cast<const QTextEdit*>(w)) return "TRichEdit";
  if (qobject_cast<const QPlainTextEdit*>(w)) return "TMemo";
  if (qobject_cast<const QTreeView*>(w)) return "TTreeView";
  if (qobject_cast<const QListView*>(w)) return "TListBox";
  if (qobject_cast<const QGroupBox*>(w)) return "TGroupBox";
  if (qobject_cast<const QTabWidget*>(w)) return "TPageControl";
  if (qobject_cast<const QTabBar*>(w)) return "TTabSet";
  if (qobject_cast<const QScrollBar*>(w)) return "TScrollBar";
  if (qobject_cast<const QProgressBar*>(w)) return "TProgressBar";
  if (qobject_cast<const QSlider*>(w)) return "TTrackBar";
  if (qobject_cast<const QDateTimeEdit*>(w)) return "TDateTimePicker";
  if (qobject_cast<const QAbstractSpinBox*>(w)) return "TUpDown";
  if (qobject_cast<const QStatusBar*>(w)) return "TStatusBar";
  if (qobject_cast<const QLabel*>(w)) return "TLabel";
  if (IsTabPage(w)) return "TTabSheet";
  return "TWinControl";
}

}  // namespace

bool IsTabPage(const QWidget* widget) {
  const QWidget* stack = widget->parentWidget();
  return stack && qobject_cast<const QStackedWidget*>(stack) && stack->parentWidget() &&
         qobject_cast<const QTabWidget*>(stack->parentWidget());
}

AnsiString SkinClassName(const QWidget* widget) {
  const QVariant own = widget->property(kClassNameProperty);
  if (own.isValid()) return own.toString().toStdString();
  if (const char* name = byQtClass(widget)) return name;
  return "T" + widget->objectName().toStdString();
}

int SkinTag(const QWidget* widget) { return widget->property(kTagProperty).toInt(); }

bool IsToolkitWindow(const QWidget* window) {
  return dynamic_cast<const TForm*>(window) || qobject_cast<const QMessageBox*>(window);
}
