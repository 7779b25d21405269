#include "tests/app/app_fixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "data/sqlite/LiteClassesUni.h"

namespace fs = std::filesystem;

namespace {

void makeDatabase(const std::string& file, const std::string& key, const std::vector<std::string>& statements) {
  TSQLiteConnection c;
  c.SetProp(prDatabase, file);
  c.SetProp(prASCIIDataBase, true);
  c.SetProp(prEncryptionKey, key);
  c.Connect();
  for (const std::string& sql : statements) c.ExecSQL(sql);
  c.Disconnect();
}

}  // namespace

ReaderFolder::ReaderFolder(bool withDatabases) : previous_(fs::current_path()) {
  std::string pattern = (fs::temp_directory_path() / "sici-app-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
  fs::current_path(path_);
  if (!withDatabases) return;
  makeDatabase("sici.idb", "lirn4302986K",
               {"create table sici(id integer primary key, tm text, zz text, nd text, tc text, lb text)",
                "create table poet(zz text, nd text, js text)", "create table tmpid(id integer primary key)"});
  makeDatabase("sici.dbf", "", {"create table sici(id integer primary key, nr text, zs text, yw text, jx text)"});
}

ReaderFolder::~ReaderFolder() {
  std::error_code ec;
  fs::current_path(previous_, ec);
  fs::remove_all(path_, ec);
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

bool waitFor(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return done();
}
