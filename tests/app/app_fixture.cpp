#include "tests/app/app_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTest>
#include <QThread>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/Program.h"
#include "app/sici.h"
#include "data/sqlite/LiteClassesUni.h"
#include "platform/forms/Application.h"
#include "platform/forms/ListBox.h"
#include "skin/forms/SkinManage.h"
#include "collection/CollectionSchema.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

template <class Statements>
void makeDatabase(const std::string& file, const std::string& key, const Statements& statements) {
  TSQLiteConnection c;
  c.SetProp(prDatabase, file);
  c.SetProp(prASCIIDataBase, true);
  c.SetProp(prEncryptionKey, key);
  c.Connect();
  for (const char* sql : statements) c.ExecSQL(sql);
  c.Disconnect();
}

}  // namespace

ReaderFolder::ReaderFolder(bool withDatabases, bool firstRun)
    : previous_(fs::current_path()), previousDataHome_(qgetenv("XDG_DATA_HOME")) {
  dataHome_ = test_support::MakeTempFolder("sici-data");
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dataHome_.string()));
  path_ = test_support::MakeTempFolder("sici-app");
  fs::current_path(path_);
  if (!firstRun) write("ado.dll", "ok");
  if (!withDatabases) return;
  makeDatabase(collection::kCatalogueName, collection::kCatalogueKey, collection::kCatalogueTables);
  makeDatabase(collection::kCatalogueName, collection::kCatalogueKey, collection::kCatalogueIndexes);
  makeDatabase(collection::kTextFileName, "", collection::kTextTables);
}

ReaderFolder::~ReaderFolder() {
  std::error_code ec;
  fs::current_path(previous_, ec);
  fs::remove_all(path_, ec);
  qputenv("XDG_DATA_HOME", previousDataHome_);
  fs::remove_all(dataHome_, ec);
}

void ReaderFolder::execCatalogue(const std::vector<std::string>& statements) const {
  std::vector<const char*> texts;
  for (const std::string& s : statements) texts.push_back(s.c_str());
  makeDatabase((path_ / collection::kCatalogueName).string(), collection::kCatalogueKey, texts);
}

void ReaderFolder::execTexts(const std::vector<std::string>& statements) const {
  std::vector<const char*> texts;
  for (const std::string& s : statements) texts.push_back(s.c_str());
  makeDatabase((path_ / collection::kTextFileName).string(), "", texts);
}

void ReaderFolder::write(const std::string& name, const std::string& bytes) const {
  std::ofstream(path_ / name, std::ios::binary) << bytes;
}

BoxRecorder::BoxRecorder(int answer) {
  previous_ = SetMessageBoxPresenter([this, answer](const TMessageBoxRequest& request) {
    boxes.push_back(request);
    return answer;
  });
}

BoxRecorder::~BoxRecorder() { SetMessageBoxPresenter(std::move(previous_)); }

ConfigHome::ConfigHome() : previous_(qgetenv("XDG_CONFIG_HOME")) {
  path_ = test_support::MakeTempFolder("sici-config");
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(path_.string()));
}

ConfigHome::~ConfigHome() {
  qputenv("XDG_CONFIG_HOME", previous_);
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void ConfigHome::write(const std::string& bytes) const {
  std::filesystem::create_directories(file().parent_path());
  std::ofstream(file(), std::ios::binary) << bytes;
}

std::string ConfigHome::read() const {
  std::ifstream in(file(), std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::unique_ptr<Tfsici> StartReader() {
  auto main = CreateWindows(*Application);
  if (!main) return main;
  main->show();
  main->activateWindow();
  waitFor([&] { return QApplication::activeWindow() == main.get(); });
  // A quarter second after loading the skin is laid over every window, which changes their
  // sizes: tests look at the windows once that has happened, as a person does.
  waitFor([] {
    const TSkinManage* skin = TSkinManage::Instance();
    return skin && skin->Active() && skin->PendingAction() == saNone;
  });
  return main;
}

void ChooseDynasty(Tfsici& main, int row) {
  main.PageControl1->setCurrentWidget(main.TabSheet2);
  QListWidgetItem* entry = main.ListBox1->item(row);
  main.ListBox1->scrollToItem(entry);
  QTest::mouseClick(main.ListBox1->viewport(), Qt::LeftButton, Qt::NoModifier,
                    main.ListBox1->visualItemRect(entry).center());
}

bool waitFor(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return done();
}
