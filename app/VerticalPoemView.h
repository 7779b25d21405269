#pragma once
// The poem shown in columns read from right to left (TVerticalLayout) on the palette's Base
// colour. The columns take the view's height; a poem wider than the view scrolls across and
// opens at its right edge, where it begins. The wheel and the arrow and page keys scroll across:
// onward (down, Left, Page Down) goes left; Home goes back to the beginning, End to the end. A
// wheel turned with Ctrl is left to the window, which zooms with it.

#include <memory>

#include <QAbstractScrollArea>

#include "app/PoemSheet.h"
#include "app/VerticalLayout.h"

class TPoemFonts;

class TVerticalPoemView : public QAbstractScrollArea {
 public:
  explicit TVerticalPoemView(QWidget* parent = nullptr);
  ~TVerticalPoemView() override;

  // Shows `sheet` from its beginning.
  void SetSheet(const TPoemSheet& sheet);
  // The characters' font; setFont() does the same.
  void SetFont(const QFont& font);
  void SetSyllablesShown(bool shown);
  bool SyllablesShown() const { return syllablesShown_; }

  const TVerticalLayout& Layout() const { return layout_; }
  // Where the layout's top left is in the viewport now.
  QPoint LayoutOrigin() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  int margin() const;
  // Lays the sheet out again for the viewport's height, keeping the place read.
  void relayout();
  // The scroll bar for the layout, `fromStart` pixels read from its right edge.
  void updateScrollBar(int fromStart);

  TPoemSheet sheet_;
  std::shared_ptr<const TPoemFonts> fonts_;
  TVerticalLayout layout_;
  bool syllablesShown_ = false;
  int laidHeight_ = -1;
};
