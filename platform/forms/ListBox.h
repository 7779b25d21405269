#pragma once
// A list box whose OnClick runs when a person chooses an entry, as the platform's list box
// raises it: on a click on an entry (again on the one already chosen) and when a key moves the
// choice. The list getting the focus (by Tab, or with the page it sits on) and the program
// setting its row choose nothing and run nothing.

#include <functional>

#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>

class TListBox : public QListWidget {
 public:
  using QListWidget::QListWidget;
  std::function<void()> OnClick;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QListWidget::mouseReleaseEvent(event);
    const QListWidgetItem* under = itemAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && under && under == currentItem() && OnClick) OnClick();
  }
  void keyPressEvent(QKeyEvent* event) override {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() >= 0 && currentRow() != before && OnClick) OnClick();
  }
};
