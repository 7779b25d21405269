#pragma once
// The About window: what the collection is, a page of the maker's site and links to it. When the
// maker's page cannot be had, the web view shows the window's own page in its place.

#include <optional>

#include "app/AboutPage.h"
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
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Fills the web view with the window's own page, in the window's present colours.
  void showOwnPage();
  // Reads the collection's figures and shows them. Counting takes a scan of the catalogue, so it
  // waits until the window stands painted with the rest of the page; it is done once, since the
  // collection does not change while the reader runs.
  void countCollection();

  bool ownPage_ = false;
  enum class Count { NotYet, Asked, Done } count_ = Count::NotYet;
  std::optional<CollectionFigures> figures_;
};

// The About window, while it exists.
extern TForm3* Form3;
