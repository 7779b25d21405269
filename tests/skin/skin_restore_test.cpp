// Taking controls over and giving them back: a restored control paints exactly as before and
// has its own style, palette, hot tracking and background filling again; a new skin shows after
// a refresh; skinners, controls and the shared style may end in any order.

#include <functional>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include "skin/forms/SkinControls.h"
#include "skin/forms/WinSkinData.h"
#include "skin/forms/WinSkinPopMenu.h"
#include "tests/skin/TestSkin.h"

using testskin::Count;
using testskin::FrameColour;
using testskin::Grab;

namespace {

class SkinRestoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data = testskin::Load();
    host.resize(400, 300);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  }

  static void settle() { QCoreApplication::processEvents(); }

  std::unique_ptr<TSkinData> data;
  QWidget host;
};

struct TCase {
  const char* Name;
  std::function<QWidget*(QWidget* parent)> Make;
  std::function<TSkinControl*(QWidget* control, TSkinData& data)> Skin;
};

template <class S>
TSkinControl* make(QWidget* control, TSkinData& data) {
  return new S(control, data);
}

template <class W>
std::function<QWidget*(QWidget*)> plain() {
  return [](QWidget* parent) { return new W(parent); };
}

std::vector<TCase> cases() {
  return {
      {"button", [](QWidget* p) { return new QPushButton("Push", p); }, make<TSkinButton>},
      {"tool button", [](QWidget* p) { return new QToolButton(p); }, make<TSkinSpeedButton>},
      {"check box",
       [](QWidget* p) {
         auto* c = new QCheckBox("Check", p);
         c->setChecked(true);
         return c;
       },
       make<TSkinCheckBox>},
      {"radio button", [](QWidget* p) { return new QRadioButton("Radio", p); }, make<TSkinRadioButton>},
      {"combo box",
       [](QWidget* p) {
         auto* c = new QComboBox(p);
         c->addItems({"one", "two"});
         return c;
       },
       make<TSkinComBox>},
      {"editable combo box",
       [](QWidget* p) {
         auto* c = new QComboBox(p);
         c->setEditable(true);
         c->addItem("text");
         return c;
       },
       make<TSkinComBox>},
      {"edit", [](QWidget* p) { return new QLineEdit("text", p); }, make<TSkinEdit>},
      {"group box", [](QWidget* p) { return new QGroupBox("Group", p); }, make<TSkinGroupBox>},
      {"panel", plain<QWidget>(), make<TSkinBox>},
      {"page control",
       [](QWidget* p) {
         auto* t = new QTabWidget(p);
         t->addTab(new QWidget, "First");
         t->addTab(new QWidget, "Second");
         return t;
       },
       make<TSkinTab>},
      {"button tabs",
       [](QWidget* p) {
         auto* t = new QTabWidget(p);
         t->addTab(new QWidget, "First");
         t->addTab(new QWidget, "Second");
         return t;
       },
       make<TSkinTabBtn>},
      {"list",
       [](QWidget* p) {
         auto* l = new QListWidget(p);
         for (int i = 0; i < 50; ++i) l->addItem(QString("item %1 with a long text to scroll across").arg(i));
         return l;
       },
       make<TSkinScrollbar>},
      {"text view",
       [](QWidget* p) {
         auto* t = new QTextEdit(p);
         t->setPlainText(QString("line\n").repeated(40));
         return t;
       },
       make<TSkinScrollbar>},
      {"scroll bar",
       [](QWidget* p) {
         auto* s = new QScrollBar(Qt::Horizontal, p);
         s->setRange(0, 10);
         return s;
       },
       make<TSkinScControl>},
      {"progress bar",
       [](QWidget* p) {
         auto* b = new QProgressBar(p);
         b->setValue(40);
         return b;
       },
       make<TSkinProgress>},
      {"track bar", [](QWidget* p) { return new QSlider(Qt::Horizontal, p); }, make<TSkinTrackBar>},
      {"spin box", plain<QSpinBox>(), make<TSkinUpDown>},
      {"date-time picker",
       [](QWidget* p) {
         auto* d = new QDateTimeEdit(QDateTime(QDate(2024, 2, 29), QTime(12, 0)), p);
         d->setCalendarPopup(true);
         return d;
       },
       make<TSkinDateTime>},
  };
}

}  // namespace

TEST_F(SkinRestoreTest, RestoredControlsPaintExactlyAsBefore) {
  for (const TCase& c : cases()) {
    SCOPED_TRACE(c.Name);
    QWidget* control = c.Make(&host);
    control->setGeometry(10, 10, 200, 120);
    control->show();
    settle();
    const QImage before = Grab(*control);

    TSkinControl* skinner = c.Skin(control, *data);
    skinner->Attach();
    EXPECT_TRUE(skinner->Attached());
    settle();
    EXPECT_NE(Grab(*control), before) << "the skin shows";

    skinner->Restore();
    EXPECT_FALSE(skinner->Attached());
    settle();
    EXPECT_EQ(Grab(*control), before);
    EXPECT_FALSE(control->testAttribute(Qt::WA_SetStyle));
    EXPECT_FALSE(control->testAttribute(Qt::WA_SetPalette));
    EXPECT_EQ(control->style(), QApplication::style());
    for (auto* part : control->findChildren<QWidget*>())
      EXPECT_FALSE(part->testAttribute(Qt::WA_SetStyle)) << part->metaObject()->className();
    delete control;
  }
}

TEST_F(SkinRestoreTest, RestorePutsBackTheControlsOwnStylePaletteAndAttributes) {
  std::unique_ptr<QStyle> own(QStyleFactory::create("Windows"));
  ASSERT_NE(own, nullptr);
  auto* button = new QPushButton("Own", &host);
  button->setStyle(own.get());
  QPalette palette = button->palette();
  palette.setColor(QPalette::Button, QColor(1, 100, 2));
  button->setPalette(palette);
  button->setAutoFillBackground(true);
  button->setAttribute(Qt::WA_Hover, false);
  auto* panel = new QWidget(&host);

  auto* buttonSkinner = new TSkinButton(button, *data);
  auto* panelSkinner = new TSkinBox(panel, *data);
  buttonSkinner->Attach();
  panelSkinner->Attach();
  EXPECT_NE(button->style(), own.get());
  EXPECT_TRUE(button->testAttribute(Qt::WA_Hover));
  EXPECT_EQ(button->palette().color(QPalette::Button), testskin::FaceColour());
  EXPECT_TRUE(panel->autoFillBackground());
  EXPECT_EQ(panel->palette().color(QPalette::Window), testskin::FaceColour());

  buttonSkinner->Restore();
  panelSkinner->Restore();
  EXPECT_EQ(button->style(), own.get());
  EXPECT_TRUE(button->testAttribute(Qt::WA_SetStyle));
  EXPECT_FALSE(button->testAttribute(Qt::WA_Hover));
  EXPECT_TRUE(button->testAttribute(Qt::WA_SetPalette));
  EXPECT_EQ(button->palette().color(QPalette::Button), QColor(1, 100, 2));
  EXPECT_TRUE(button->autoFillBackground());
  EXPECT_FALSE(panel->autoFillBackground());
  EXPECT_FALSE(panel->testAttribute(Qt::WA_SetPalette));
  delete button;
}

TEST_F(SkinRestoreTest, RefreshDrawsFromTheNewSkin) {
  auto* button = new QPushButton("Push", &host);
  button->setGeometry(10, 10, 80, 30);
  button->setFocusPolicy(Qt::NoFocus);
  button->show();
  auto* tabs = new QTabWidget(&host);
  tabs->setGeometry(100, 10, 200, 150);
  tabs->addTab(new QWidget, "First");
  tabs->show();
  auto* buttonSkinner = new TSkinButton(button, *data);
  auto* tabSkinner = new TSkinTab(tabs, *data);
  buttonSkinner->Attach();
  tabSkinner->Attach();
  EXPECT_EQ(QColor::fromRgb(Grab(*button).pixel(2, 2)), FrameColour("Buttons", 0, 0));

  testskin::Reload(*data, 1);
  buttonSkinner->Refresh();
  tabSkinner->Refresh();
  settle();
  EXPECT_EQ(QColor::fromRgb(Grab(*button).pixel(2, 2)), FrameColour("Buttons", 0, 1));
  EXPECT_EQ(button->palette().color(QPalette::ButtonText), testskin::TextColour(1));
  const QImage image = Grab(*tabs);
  EXPECT_GT(Count(image, FrameColour("Tabs", 2, 1)), 0);
  EXPECT_GT(Count(image, FrameColour("Tab.Pane", 0, 1)), 0);
  EXPECT_EQ(Count(image, FrameColour("Tab.Pane", 0, 0)), 0);
}

TEST_F(SkinRestoreTest, DeletingASkinnerGivesItsControlBack) {
  auto* list = new QListWidget(&host);
  for (int i = 0; i < 50; ++i) list->addItem("item");
  list->setGeometry(10, 10, 150, 100);
  list->show();
  settle();
  const QImage before = Grab(*list);
  auto* skinner = new TSkinScrollbar(list, *data);
  skinner->Attach();
  settle();
  EXPECT_NE(Grab(*list), before);
  delete skinner;
  settle();
  EXPECT_EQ(SkinnerOf(list), nullptr);
  EXPECT_EQ(Grab(*list), before);
}

TEST_F(SkinRestoreTest, ControlsSkinnersAndTheSharedStyleEndInAnyOrder) {
  auto* first = new QPushButton("One", &host);
  auto* second = new QPushButton("Two", &host);
  (new TSkinButton(first, *data))->Attach();
  (new TSkinButton(second, *data))->Attach();
  QPointer<QStyle> style = first->style();
  EXPECT_EQ(second->style(), style.data()) << "one style for the component";
  delete first;
  EXPECT_FALSE(style.isNull()) << "still drawing the second button";
  delete second;
  EXPECT_TRUE(style.isNull()) << "the last skinner took the style with it";

  // A control whose parts are skinned goes with its skinner and parts.
  auto* list = new QListWidget(&host);
  for (int i = 0; i < 50; ++i) list->addItem("item");
  list->show();
  (new TSkinScrollbar(list, *data))->Attach();
  auto* tabs = new QTabWidget(&host);
  tabs->addTab(new QWidget, "Page");
  (new TSkinTab(tabs, *data))->Attach();
  delete list;
  delete tabs;

  // A part replaced while skinned is forgotten.
  auto* combo = new QComboBox(&host);
  auto* comboSkinner = new TSkinComBox(combo, *data);
  comboSkinner->Attach();
  combo->setView(new QListView);
  comboSkinner->Restore();
  EXPECT_EQ(combo->style(), QApplication::style());
  delete combo;

  // A menu may go before its skinner, as the manager deletes the skinner when the menu goes.
  auto* menu = new QMenu;
  menu->addAction("Item");
  auto* menuSkinner = new TWinSkinPopMenu(menu, *data);
  menuSkinner->Attach();
  delete menu;
  delete menuSkinner;
}
