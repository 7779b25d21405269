#pragma once
// The poem set in vertical columns, on paper and as a picture, from what the poem view shows.
//
// The view (rc) stays the one holder of the shown text: the columns are made from its title,
// author and lines as they stand there, in the script chosen, with the red search word and the
// syllables of the moment, so that every other way of showing the poem, and copying it, stays
// as it is. The notes, translation, appreciation and biography are left to the horizontal view.
//
// 竖排 (Ctrl+Shift+V, kept in the reader's settings) shows the columns in place of the view;
// 打印… prints the poem as shown, through the system's print dialog; 保存为图片… writes it as a
// PNG at twice the screen's scale on the view's paper colour.

#include <QObject>

class QAction;
class QLabel;
class QTextEdit;
class TVerticalPoemView;
struct TPoemSheet;

class PoemColumns : public QObject {
 public:
  // `vertical`, `print` and `picture` are the three menu items; `status` tells what was saved.
  PoemColumns(QTextEdit* view, QAction* vertical, QAction* print, QAction* picture, QLabel* status);

  bool Vertical() const { return vertical_; }
  void SetVertical(bool on);
  TVerticalPoemView* Columns() const { return columns_; }
  // Sets the columns from what the view shows now; the window calls it once a poem is shown.
  void Refresh();
  // The title, author, dynasty, source and lines the view shows, with their marks; empty lines
  // when the view shows no poem.
  TPoemSheet Sheet() const;

  // Print and save, for the menu items; the file a picture was written to, or empty.
  void Print();
  QString SavePicture();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTextEdit* view_;
  QAction* vertical_item_;
  QLabel* status_;
  TVerticalPoemView* columns_;
  bool vertical_ = false;
  // The view's text changed since the columns were made from it.
  bool stale_ = false;
};

// The window's PoemColumns, null without one.
PoemColumns* PoemColumnsOf(const QObject& window);
