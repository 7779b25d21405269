#pragma once
// The About window: what the collection is, a page of the maker's site and links to it.

#include "platform/forms/Form.h"

class QGroupBox;
class QLabel;
class QPushButton;
class TApplicationEvents;
class TWebBrowser;

class TForm3 : public TForm {
 public:
  explicit TForm3(QWidget* parent = nullptr);
  ~TForm3() override;

  QGroupBox* GroupBox1;
  QPushButton* Button1;
  QLabel* Label1;
  TWebBrowser* WebBrowser1;
  TApplicationEvents* ApplicationEvents1;
  QLabel* Label2;
  QLabel* Label3;

  void FormCreate();
  void Button1Click();
  void ApplicationEvents1Message(QObject* receiver, QEvent* event, bool& handled);
  void Label2Click();
  void Label3Click();

 protected:
  void showEvent(QShowEvent* event) override;
};

// The About window, while it exists.
extern TForm3* Form3;
