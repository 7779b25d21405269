#pragma once
// The grid's search dialog: finds a text in the columns of the grid's data set, record by
// record, and leaves the data set on the first match. One dialog serves every grid; it is
// made on first use and hidden, not destroyed, when closed.

#include "grid/DBGridEhColumns.h"
#include "platform/forms/Form.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TCustomDBGridEh;

class TDBGridEhFindDlg : public TForm {
 public:
  TDBGridEhFindDlg();

  QLabel* Label1;
  QComboBox* cbText;
  QLabel* Label2;
  QComboBox* cbFindIn;
  QLabel* cbMatchType;
  QComboBox* cbMatchinType;
  QLabel* Label3;
  QComboBox* cbFindDirection;
  QCheckBox* cbCharCase;
  QCheckBox* cbUseFormat;
  QPushButton* bFind;
  QPushButton* bCancel;

  // Prepares the dialog for `grid` with `text` in the search box and shows it.
  void Execute(TCustomDBGridEh& grid, const AnsiString& text, bool modal);
  // Finds the next match; Ctrl held at this moment reverses the direction.
  void FindNext();
  // The texts "True" / "False" the two check boxes store.
  static const char* CheckText(bool checked) { return checked ? "True" : "False"; }

  const TColumnsEhList& SearchColumns() const { return columns_; }
  int PositionIndex() const { return position_; }
  bool FirstTry() const { return firstTry_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildColumnList();
  void reset();
  bool forwards() const;
  void advance(bool forward);
  bool matches(const AnsiString& cell, const AnsiString& search) const;

  TCustomDBGridEh* grid_ = nullptr;
  TColumnsEhList columns_;
  int position_ = -1;
  bool firstTry_ = true;
  bool filling_ = false;
};

// The one dialog, made on first use.
TDBGridEhFindDlg& DBGridEhFindDlg();
