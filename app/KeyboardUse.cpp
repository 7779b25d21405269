#include "app/KeyboardUse.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>
#include <initializer_list>

#include "app/PoemColumns.h"
#include "app/VerticalPoemView.h"
#include "app/sici.h"
#include "grid/DBGridEh.h"
#include "platform/forms/Clickable.h"
#include "platform/forms/ListBox.h"

namespace {

// QWidget's own walk to the next or previous control, which QWidget keeps protected.
struct FocusWalk : QWidget {
  static bool Step(QWidget* window, bool next) { return (window->*&FocusWalk::focusNextPrevChild)(next); }
};

bool plain(Qt::KeyboardModifiers modifiers) { return !(modifiers & (Qt::ControlModifier | Qt::AltModifier)); }

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The lists keep Tab for themselves, yet in these whole-row lists it moves nothing a person
// sees; here it moves on to the next control, and Enter opens the current row as a click does.
void listKeys(Tfsici& window, TDBGridEh* grid) {
  grid->OnKeyDown = [&window, grid](int key, Qt::KeyboardModifiers modifiers) {
    if (!plain(modifiers)) return;
    if (isEnter(key)) {
      TDBGridColumnsEh& columns = grid->Columns();
      if (grid->OnCellClick && columns.Count() > 0)
        grid->OnCellClick(*columns[std::clamp(grid->SelectedIndex(), 0, columns.Count() - 1)]);
    } else if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
      FocusWalk::Step(&window, key == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
    }
  };
}

// Escape in the quick-search input, and Enter or Space on a link.
class KeyFilter : public QObject {
 public:
  KeyFilter(QLineEdit* search, QObject* parent) : QObject(parent), search_(search) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!plain(key->modifiers())) return false;
    if (watched == search_ && key->key() == Qt::Key_Escape) {
      search_->clear();
      return true;
    }
    if (auto* link = dynamic_cast<TClickLabel*>(watched); link && (isEnter(key->key()) || key->key() == Qt::Key_Space)) {
      if (link->OnClick) link->OnClick();
      return true;
    }
    return false;
  }

 private:
  QLineEdit* search_;
};

}  // namespace

void SetUpKeyboardUse(Tfsici& window) {
  for (TDBGridEh* grid : {window.DBGridEh1, window.DBGridEh2, window.DBGridEh3, window.DBGridEh4, window.DBGridEh5,
                          window.DBGridEh6})
    listKeys(window, grid);

  auto* keys = new KeyFilter(window.eso, &window);
  window.eso->installEventFilter(keys);
  for (QLabel* link : {window.Label7, window.Label8, window.Label5, window.Label6}) {
    link->setFocusPolicy(Qt::TabFocus);
    link->installEventFilter(keys);
  }
  window.rc->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

  // Screen order: the quick search (its field buttons one stop, the checked one), the advanced
  // search, the lists (their page tabs, then the page's own controls top to bottom and left to
  // right), the poem, the links of the status line. The page control hands its focus to its
  // tabs; it stands right before them, so that the walk never comes back to them from its end.
  QWidget* const order[] = {window.eso,         window.Button1,      window.r1,
                            window.r3,          window.r2,           window.cd,
                            window.tc,          window.lb,           window.zz,
                            window.bt,          window.SpeedButton1, window.PageControl1,
                            window.PageControl1->findChild<QTabBar*>(), window.Edit1, window.DBGridEh4,
                            window.ListBox1,    window.DBGridEh2,    window.DBGridEh3,
                            window.DBGridEh1,   window.DBGridEh5,    window.DBGridEh6,
                            window.rc,          window.Label7,       window.Label8,
                            window.Label5,      window.Label6};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
  // The poem in columns stands where the poem does; only one of the two is ever shown.
  if (const PoemColumns* columns = PoemColumnsOf(window)) {
    QWidget::setTabOrder(window.rc, columns->Columns());
    QWidget::setTabOrder(columns->Columns(), window.Label7);
  }
  // The walk starts where the reader starts: at the quick search.
  window.eso->setFocus();
}
