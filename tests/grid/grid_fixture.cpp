#include "tests/grid/grid_fixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "data/sqlite/LiteClassesUni.h"
#include "platform/text/AnsiText.h"

GridTest::GridTest(int rows) {
  connection.SetProviderName("SQLite");
  connection.SetDatabase(folder.file("grid.db"));
  connection.SpecificOptions().Add("SQLite.ASCIIDataBase=True");
  connection.SpecificOptions().Add(std::string("SQLite.ClientLibrary=") + kPlainSQLite);
  connection.Connect();
  auto* sqlite = static_cast<TSQLiteConnection*>(connection.InternalConnection());
  sqlite->ExecSQL("create table t(id integer primary key, tm varchar)");
  sqlite->ExecSQL("begin");
  for (int id = 1; id <= rows; ++id)
    sqlite->ExecSQL("insert into t values (" + std::to_string(id) + ", '" + text::utf8ToAnsi("诗") + std::to_string(id) + "')");
  sqlite->ExecSQL("commit");
  query.SetConnection(&connection);
  source.SetDataSet(&query);

  window = std::make_unique<QWidget>();
  auto* layout = new QVBoxLayout(window.get());
  layout->setContentsMargins(0, 0, 0, 0);
  grid = new TDBGridEh(window.get());
  QFont font(QStringLiteral("Noto Serif CJK SC"));
  font.setPixelSize(16);
  grid->setFont(font);
  grid->SetOptions(dgTitles | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgRowSelect | dgConfirmDelete |
                   dgCancelOnExit);
  grid->SetFlat(true);
  layout->addWidget(grid);
  other = new QLineEdit(window.get());
  layout->addWidget(other);
  window->resize(300, 400);
  window->show();
  QApplication::setActiveWindow(window.get());
  grid->SetDataSource(&source);
}

GridTest::~GridTest() {
  window.reset();
  query.Close();
}

void GridTest::open(const AnsiString& sql) {
  query.Close();
  query.SQL().Clear();
  query.SQL().Add(sql);
  query.Open();
}

QColor GridTest::pixel(int x, int y) {
  const QImage image = grid->viewport()->grab().toImage();
  return image.pixelColor(x, y);
}

QRect GridTest::visible(int col, int row) const { return grid->CellRect(col, row) & grid->viewport()->rect(); }

void GridTest::click(QPoint at, Qt::MouseButton button) { QTest::mouseClick(grid->viewport(), button, Qt::NoModifier, at); }

void GridTest::key(int k, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(grid, static_cast<Qt::Key>(k), modifiers);
  // The person lets go of the modifier keys too; the application's modifier state follows.
  if (modifiers != Qt::NoModifier) QTest::keyRelease(grid, Qt::Key_Control, Qt::NoModifier);
}

void GridTest::wheel(int delta) {
  const QPointF at(10, 10);
  QWheelEvent event(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(grid->viewport(), &event);
}
