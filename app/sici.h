#pragma once
// The main window: quick and advanced search, the list pages, the poem view and the status
// line, over the catalogue (c1) and the text file (c2).

#include "platform/forms/Form.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextEdit;
class QToolButton;
class TDBGridEh;
class TDataSource;
class TSQLiteUniProvider;
class TUniConnection;
class TUniQuery;

class Tfsici : public TForm {
 public:
  explicit Tfsici(QWidget* parent = nullptr);
  ~Tfsici() override;

  // Controls, in the order the window declares them.
  QGroupBox* GroupBox1;
  QTabWidget* PageControl1;
  QWidget* TabSheet1;
  QWidget* TabSheet2;
  QWidget* TabSheet3;
  TDataSource* DataSource1;
  TUniConnection* c1;
  TUniQuery* uq1;
  TSQLiteUniProvider* SQLiteUniProvider1;
  TDBGridEh* DBGridEh1;
  QListWidget* ListBox1;
  TDBGridEh* DBGridEh2;
  TDBGridEh* DBGridEh3;
  TDBGridEh* DBGridEh4;
  TDataSource* DataSource2;
  TDataSource* DataSource3;
  TUniQuery* uq2;
  TUniQuery* uq3;
  TUniQuery* uq4;
  TDataSource* DataSource4;
  QLineEdit* Edit1;
  QGroupBox* GroupBox2;
  QTextEdit* rc;
  TUniConnection* c2;
  QGroupBox* GroupBox3;
  QLabel* Label1;
  QLineEdit* eso;
  QPushButton* Button1;
  QRadioButton* r1;
  QRadioButton* r2;
  QRadioButton* r3;
  TUniQuery* uq5;
  QGroupBox* GroupBox4;
  QComboBox* cd;
  QComboBox* tc;
  QComboBox* lb;
  QLineEdit* zz;
  QLabel* Label2;
  QLabel* Label3;
  QLineEdit* bt;
  QToolButton* SpeedButton1;
  QMenu* PopupMenu1;
  QAction* N1;
  QAction* N2;
  QAction* N3;
  QAction* N4;
  QAction* N6;
  QAction* N7;
  QAction* N8;
  QWidget* Panel1;
  QLabel* Label4;
  QLabel* Label5;
  QLabel* Label6;
  QLabel* Label7;

  void Label5Click();
  void Label6Click();
  void N8Click();

 protected:
  void FormActivate() override;

 private:
  void buildSearchBoxes();
  void buildListPages();
  void buildPoemView();
  void buildStatusLine();
  void buildDataComponents();
};

// The main window, while it exists.
extern Tfsici* fsici;

// The word the poem view marks in red; set by the searches.
extern AnsiString SearchWord;
