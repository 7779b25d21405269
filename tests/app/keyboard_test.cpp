// The main window worked with the keyboard alone and read by a screen reader: Enter on a row of
// a list against a click on it, the Tab walk, Escape, the links, the focus frame's pixels and
// the accessible name of every control.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include "app/FocusMark.h"
#include "app/Maker.h"
#include "app/sici.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/forms/ListBox.h"
#include "platform/forms/Shell.h"
#include "platform/text/AnsiText.h"
#include "tests/app/app_fixture.h"

namespace {

std::string g(const char* utf8) { return text::utf8ToAnsi(utf8); }

// What a shown poem leaves in the window.
struct View {
  QString text, frame, status;
  bool operator==(const View&) const = default;
};

void PrintTo(const View& v, std::ostream* out) {
  *out << v.frame.toStdString() << " | " << v.status.toStdString() << " | " << v.text.toStdString();
}

class Keyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.execCatalogue({
        g("insert into sici values (1, '静夜思', '李白', '唐', '五绝', '')"),
        g("insert into sici values (2, '月下独酌', '李白', '唐', '五古', '')"),
        g("insert into sici values (3, '登鹳雀楼', '王之涣', '唐', '五绝', '')"),
        g("insert into poet values ('李白', '唐', '字太白')"),
        g("insert into poet values ('王之涣', '唐', '')"),
    });
    folder.execTexts({
        g("insert into sici values (1, '床前明月光，疑是地上霜。', '', '', '')"),
        g("insert into sici values (2, '花间一壶酒，独酌无相亲。', '注', '', '')"),
    });
    main = StartReader();
    ASSERT_TRUE(main);
    SearchWord.clear();
  }

  View view() const { return {main->rc->toPlainText(), main->GroupBox2->title(), main->Label4->text()}; }
  void forget() const {
    main->rc->clear();
    main->GroupBox2->setTitle(QString());
    main->Label4->clear();
  }
  void press(QWidget* at, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
    QTest::keyClick(at, static_cast<Qt::Key>(key), modifiers);
  }
  // A click on the row's first shown cell (the number column is there, but hidden).
  void clickRow(TDBGridEh* grid, int row) const {
    int col = 0;
    while (grid->CellRect(col, row).isEmpty() && col < 3) ++col;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->CellRect(col, row).center());
  }
  void searchAuthor(const char* author) const {
    main->r3->setChecked(true);
    main->eso->setText(QString::fromUtf8(author));
    main->Button1Click();
  }
  QWidget* focused() const { return QApplication::focusWidget(); }
  std::string nameOfFocus() const { return focused() ? focused()->objectName().toStdString() : std::string(); }

  ReaderFolder folder;
  BoxRecorder boxes;
  std::unique_ptr<Tfsici> main;
};

QString nameOf(QWidget* w) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
  return a ? a->text(QAccessible::Name) : QString();
}

}  // namespace

TEST_F(Keyboard, EnterOnARowOfAPoemListShowsThePoemAsAClickDoes) {
  searchAuthor("李白");
  main->DBGridEh4->setFocus();
  press(main->DBGridEh4, Qt::Key_Down);
  press(main->DBGridEh4, Qt::Key_Return);
  const View entered = view();
  EXPECT_EQ(entered.status, QStringLiteral("李白 : 月下独酌"));
  EXPECT_TRUE(entered.text.contains(QStringLiteral("【注释】")));
  forget();
  clickRow(main->DBGridEh4, 2);
  EXPECT_EQ(view(), entered);

  // A poem without its text shows the statement that looked for it: the same for both.
  searchAuthor("王之涣");
  forget();
  press(main->DBGridEh4, Qt::Key_Enter);
  const View statement = view();
  EXPECT_EQ(statement.text, QStringLiteral("SELECT * FROM sici where id='3' limit 1"));
  forget();
  clickRow(main->DBGridEh4, 1);
  EXPECT_EQ(view(), statement);

  // The full list, on its own page.
  main->PageControl1->setCurrentIndex(2);
  main->DBGridEh1->setFocus();
  forget();
  press(main->DBGridEh1, Qt::Key_Return);
  EXPECT_EQ(view().status, QStringLiteral("李白 : 静夜思"));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Keyboard, EnterOnAPoetListsTheWorksAndEnterOnAWorkShowsIt) {
  ChooseDynasty(*main, 5);  // 唐
  main->DBGridEh2->setFocus();
  press(main->DBGridEh2, Qt::Key_Down);
  press(main->DBGridEh2, Qt::Key_Return);
  EXPECT_EQ(main->uq3->SQL().Text(), g("select id,tm as 王之涣作品 from sici where zz ='王之涣'") + "\r\n");
  press(main->DBGridEh2, Qt::Key_Up);
  press(main->DBGridEh2, Qt::Key_Return);
  const AnsiString entered = main->uq3->SQL().Text();
  EXPECT_EQ(entered, g("select id,tm as 李白作品 from sici where zz ='李白'") + "\r\n");
  main->uq3->Close();
  clickRow(main->DBGridEh2, 1);
  EXPECT_EQ(main->uq3->SQL().Text(), entered);
  EXPECT_TRUE(main->uq3->Active());

  main->DBGridEh3->setFocus();
  press(main->DBGridEh3, Qt::Key_Return);
  EXPECT_EQ(view().status, QStringLiteral("李白 : 静夜思"));
}

TEST_F(Keyboard, TabWalksTheControlsInScreenOrderOutOfTheListsAndBack) {
  QTabBar* tabs = main->PageControl1->findChild<QTabBar*>();
  // The checked field button is the one stop of the three; the arrows move between them.
  const std::vector<QWidget*> dynastyPage{main->eso,       main->Button1,      main->r1,  main->cd,       main->tc,
                                          main->lb,        main->zz,           main->bt,  main->SpeedButton1, tabs,
                                          main->ListBox1,  main->DBGridEh2,    main->DBGridEh3, main->rc, main->Label7,
                                          main->Label8,    main->Label5,       main->Label6};
  ASSERT_EQ(main->PageControl1->currentIndex(), 1);
  EXPECT_EQ(focused(), main->eso) << "the walk starts at the quick search";
  for (std::size_t i = 1; i <= dynastyPage.size(); ++i) {
    press(focused(), Qt::Key_Tab);
    EXPECT_EQ(nameOfFocus(), dynastyPage[i % dynastyPage.size()]->objectName().toStdString()) << i;
  }
  for (std::size_t i = dynastyPage.size(); i-- > 0;) {
    press(focused(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(nameOfFocus(), dynastyPage[i]->objectName().toStdString()) << i;
  }

  main->r1->setFocus();
  press(main->r1, Qt::Key_Right);
  EXPECT_EQ(focused(), main->r3);
  EXPECT_TRUE(main->r3->isChecked());
  main->r1->setChecked(true);

  // The result page: its filter and list between the page tabs and the poem.
  tabs->setFocus();
  press(tabs, Qt::Key_Left);
  EXPECT_EQ(main->PageControl1->currentIndex(), 0);
  press(focused(), Qt::Key_Tab);
  EXPECT_EQ(focused(), main->Edit1);
  press(focused(), Qt::Key_Tab);
  EXPECT_EQ(focused(), main->DBGridEh4);
  press(focused(), Qt::Key_Tab);
  EXPECT_EQ(focused(), main->rc);
}

TEST_F(Keyboard, EscapeEmptiesTheQuickSearchAndTheLinksOpenFromTheKeys) {
  main->eso->setText(QStringLiteral("明月"));
  main->eso->setFocus();
  press(main->eso, Qt::Key_Escape);
  EXPECT_TRUE(main->eso->text().isEmpty());
  main->eso->setText(QStringLiteral("明月"));
  press(main->zz, Qt::Key_Escape);
  EXPECT_EQ(main->eso->text(), QStringLiteral("明月")) << "only the quick-search input";

  QStringList opened;
  const TShellOpener previous = SetShellOpener([&](const QString& address) { opened << address; });
  press(main->Label6, Qt::Key_Return);
  press(main->Label7, Qt::Key_Space);
  SetShellOpener(previous);
  EXPECT_EQ(opened, (QStringList{kHomePage, kHomePage}));

  // The poem's text can be selected from the keys, for the text menu.
  main->rc->setPlainText(QStringLiteral("床前明月光"));
  main->rc->setFocus();
  press(main->rc, Qt::Key_Home, Qt::ControlModifier);
  press(main->rc, Qt::Key_Right);
  press(main->rc, Qt::Key_Right);
  press(main->rc, Qt::Key_Right, Qt::ShiftModifier);
  press(main->rc, Qt::Key_Right, Qt::ShiftModifier);
  main->N6Click();
  EXPECT_EQ(main->eso->text(), QStringLiteral("明月"));
}

TEST_F(Keyboard, EveryFocusedControlIsFramedInTheFocusColour) {
  QTabBar* tabs = main->PageControl1->findChild<QTabBar*>();
  for (QWidget* control : std::initializer_list<QWidget*>{main->eso, main->Button1, main->r2, main->cd, main->zz,
                                                          main->SpeedButton1, tabs, main->ListBox1, main->DBGridEh2,
                                                          main->rc, main->Label5}) {
    control->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    const QImage shot = main->grab().toImage();
    const QRect at(control->mapTo(main.get(), QPoint(0, 0)), control->size());
    const int middleY = at.center().y(), middleX = at.center().x();
    const std::string name = control->objectName().toStdString();
    EXPECT_EQ(shot.pixelColor(at.left() - 1, middleY), FocusMark::kColour) << name;
    EXPECT_EQ(shot.pixelColor(at.right() + 1, middleY), FocusMark::kColour) << name;
    EXPECT_EQ(shot.pixelColor(middleX, at.top() - 2), FocusMark::kColour) << name;
    EXPECT_EQ(shot.pixelColor(middleX, at.bottom() + 2), FocusMark::kColour) << name;
    EXPECT_NE(shot.pixelColor(at.left() + 3, middleY), FocusMark::kColour) << name << ": the control itself stays uncovered";
  }
  // The frame follows the control when the window is resized, and goes when its page goes.
  main->DBGridEh3->setFocus();
  main->resize(main->width() + 60, main->height() + 40);
  QApplication::processEvents();
  const QRect grid(main->DBGridEh3->mapTo(main.get(), QPoint(0, 0)), main->DBGridEh3->size());
  EXPECT_EQ(main->grab().toImage().pixelColor(grid.right() + 1, grid.center().y()), FocusMark::kColour);
  EXPECT_EQ(main->grab().toImage().pixelColor(grid.center().x(), grid.bottom() + 2), FocusMark::kColour);
  main->PageControl1->setCurrentIndex(0);
  QApplication::processEvents();
  EXPECT_NE(main->grab().toImage().pixelColor(grid.center().x(), grid.top() - 2), FocusMark::kColour);
}

TEST_F(Keyboard, EveryControlHasANameAScreenReaderAnnounces) {
  main->shownr(g("SELECT * FROM sici where id='1' limit 1"));  // the status line has its text
  int controls = 0;
  for (QWidget* w : main->findChildren<QWidget*>()) {
    const QString name = w->objectName();
    if (w->window() != main.get() || name.isEmpty() || name.startsWith(QStringLiteral("qt_")) ||
        name == QStringLiteral("FocusMarkStrip"))
      continue;
    ++controls;
    EXPECT_FALSE(nameOf(w).trimmed().isEmpty()) << name.toStdString();
  }
  EXPECT_GE(controls, 35);

  EXPECT_EQ(nameOf(main->eso), QStringLiteral("请输入"));
  EXPECT_EQ(nameOf(main->zz), QStringLiteral("作者"));
  EXPECT_EQ(nameOf(main->bt), QStringLiteral("标题"));
  EXPECT_EQ(nameOf(main->Edit1), QStringLiteral("请输入作品名称"));
  // A pick list is announced by its entry, and by what it picks.
  EXPECT_EQ(nameOf(main->cd), QStringLiteral("朝代不限"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(main->cd)->text(QAccessible::Description), QStringLiteral("朝代"));
  EXPECT_EQ(nameOf(main->DBGridEh4), QStringLiteral("检索结果"));
  EXPECT_EQ(nameOf(main->DBGridEh1), QStringLiteral("浏览全部"));
  EXPECT_EQ(nameOf(main->r2), QStringLiteral("内容"));
  EXPECT_EQ(nameOf(main->Button1), QStringLiteral("查找"));
  EXPECT_EQ(nameOf(main->SpeedButton1), QStringLiteral("搜索"));
  EXPECT_EQ(nameOf(main->Label5), QStringLiteral("关于Tavrin诗词"));
  EXPECT_EQ(nameOf(main->GroupBox2), QStringLiteral("李白 : 静夜思")) << "the frame announces the poem it shows";

  // The label beside an edit is tied to it, so the reader says which edit it is.
  bool labelled = false;
  for (const auto& [other, relation] : QAccessible::queryAccessibleInterface(main->zz)->relations(QAccessible::Label))
    labelled = labelled || other->object() == main->Label2;
  EXPECT_TRUE(labelled);
}
