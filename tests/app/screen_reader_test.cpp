// The reader's lists as a screen reader hears them: another process (screen_reader.py, on
// Debian's python3-pyatspi) reads the real main window through AT-SPI, on a desktop the test
// starts itself (Xvfb, a session bus, the AT-SPI bus) and ends with it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/sici.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/forms/Application.h"
#include "platform/text/AnsiText.h"
#include "platform/text/QtText.h"
#include "tests/app/app_fixture.h"
#include "tests/support/AccessibleDesktop.h"

// Failures show texts as text.
static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
static void PrintTo(const QJsonArray& array, std::ostream* out) {
  *out << QJsonDocument(array).toJson(QJsonDocument::Compact).toStdString();
}

namespace {

QString workTitle(int id) { return QStringLiteral("山居杂咏%1").arg(id); }

// Runs the screen reader over the table named `table` of this process, reading `rows`, while
// this process goes on answering it; what it heard, or {"error": ...}.
QJsonObject hear(const QString& table, const std::vector<int>& rows) {
  QStringList args{QStringLiteral(SCREEN_READER), QString::number(QCoreApplication::applicationPid()), table};
  for (const int row : rows) args << QString::number(row);
  QProcess reader;
  reader.start(QStringLiteral("/usr/bin/python3"), args);
  if (!reader.waitForStarted(5000)) return {{"error", QStringLiteral("/usr/bin/python3 did not start")}};
  QElapsedTimer waited;
  waited.start();
  while (reader.state() != QProcess::NotRunning && waited.elapsed() < 60000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  const QString errors = QString::fromUtf8(reader.readAllStandardError());
  if (reader.state() != QProcess::NotRunning) {
    reader.kill();
    reader.waitForFinished(5000);
    return {{"error", QStringLiteral("the screen reader heard nothing in a minute: ") + errors}};
  }
  const QJsonDocument heard = QJsonDocument::fromJson(reader.readAllStandardOutput());
  if (!heard.isObject()) return {{"error", QStringLiteral("the screen reader failed: ") + errors}};
  return heard.object();
}

TEST(ScreenReader, HearsTheWorksListWithItsTitleColumnAllFetchedRowsAndTheCurrentRow) {
  ReaderFolder folder;
  std::vector<std::string> works;
  for (int id = 1; id <= 40; ++id)
    works.push_back("insert into sici values (" + std::to_string(id) + ", '" + text::fromQString(workTitle(id)) +
                    "', '" + text::utf8ToAnsi("楚嵩") + "', '" + text::utf8ToAnsi("唐") + "', '', '')");
  folder.execCatalogue(works);
  BoxRecorder boxes;
  const auto main = StartReader();
  ASSERT_TRUE(main) << "start-up failed";
  ASSERT_TRUE(main->DBGridEh3->isVisible()) << "the works list is on the page the window opens with";
  const int fetched = main->uq3->RecordCount();
  ASSERT_GT(fetched, main->DBGridEh3->VisibleDataRowCount()) << "more works than rows in view";
  ASSERT_LT(fetched, 40) << "more works than the first fetch";
  main->uq3->MoveBy(2);

  const QJsonObject heard = hear(QStringLiteral("作品"), {0, 2, fetched - 1});
  ASSERT_FALSE(heard.contains("error")) << heard["error"].toString().toStdString();
  EXPECT_EQ(heard["rows"].toInt(), fetched) << "every work fetched so far, and no title row";
  EXPECT_EQ(heard["columns"].toInt(), 1) << "the hidden number column is not read out";
  EXPECT_EQ(heard["titles"].toArray(), QJsonArray{QStringLiteral("作品")});
  EXPECT_EQ(heard["header"].toString(), QStringLiteral("作品"));
  const QJsonObject cells = heard["cells"].toObject();
  EXPECT_EQ(cells["0"].toString(), workTitle(1));
  EXPECT_EQ(cells["2"].toString(), workTitle(3));
  EXPECT_EQ(cells[QString::number(fetched - 1)].toString(), workTitle(fetched)) << "a row below the view";
  EXPECT_EQ(heard["selectedRows"].toArray(), QJsonArray{2}) << "the current record's row";
  EXPECT_EQ(heard["selectedCellsSelected"].toArray(), QJsonArray{true});
  EXPECT_EQ(main->uq3->RecNo(), 3) << "reading moved nothing";
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  AccessibleDesktop desktop;
  if (!desktop.ok()) {
    std::fprintf(stderr, "no desktop for the test: %s\n", desktop.error().c_str());
    return EXIT_FAILURE;
  }
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
  TApplication application(argc, argv);
  application.SetTitle("Tavrin诗词大全"_gbk);
  if (!WaitForAccessibility()) return EXIT_FAILURE;
  return RUN_ALL_TESTS();
}
