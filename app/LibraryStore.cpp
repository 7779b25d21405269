#include "app/LibraryStore.h"

#include <sys/stat.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <optional>
#include <system_error>

#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "data/records/DAError.h"
#include "data/records/DataTypes.h"
#include "platform/classes/Exceptions.h"
#include "platform/text/AnsiText.h"

namespace {

namespace fs = std::filesystem;

// The schema, one step per version: step i brings a file of version i to version i + 1.
const std::array<std::vector<const char*>, LibraryStore::kSchemaVersion> kUpgrades = {{
    {"CREATE TABLE favourite(poem INTEGER NOT NULL, tm TEXT NOT NULL, zz TEXT NOT NULL, added TEXT NOT NULL, "
     "UNIQUE(poem, tm, zz))",
     "CREATE TABLE history(poem INTEGER NOT NULL, tm TEXT NOT NULL, zz TEXT NOT NULL, shown TEXT NOT NULL, "
     "UNIQUE(poem, tm, zz))"},
}};

// SQLite's primary result codes that say the file is not a sound database.
constexpr int kCorrupt = 11;
constexpr int kNotADatabase = 26;

int primary(int code) { return code & 0xff; }

// A statement with its parameters bound in order of appearance.
struct Statement {
  const char* Sql;
  std::vector<TFieldValue> Values;
};

std::unique_ptr<TUniQuery> prepared(TUniConnection& connection, const Statement& statement) {
  auto query = std::make_unique<TUniQuery>(nullptr);
  query->SetConnection(&connection);
  query->SQL().SetText(statement.Sql);
  std::vector<TParamDesc>& params = query->Params();
  if (params.size() != statement.Values.size()) throw LibraryError(std::string("parameters of ") + statement.Sql);
  for (std::size_t i = 0; i < params.size(); ++i) {
    params[i].Value = statement.Values[i];
    params[i].DataType = std::holds_alternative<AnsiString>(statement.Values[i]) ? dcString : dcLargeint;
  }
  return query;
}

void run(TUniConnection& connection, const Statement& statement) { prepared(connection, statement)->Execute(); }

std::unique_ptr<TUniQuery> rows(TUniConnection& connection, const Statement& statement) {
  auto query = prepared(connection, statement);
  query->Open();
  return query;
}

std::string single(TUniConnection& connection, const char* sql) {
  const auto result = rows(connection, {sql, {}});
  return result->Eof() ? std::string() : std::string(result->Fields()[0]->AsString());
}

long long integer(TUniConnection& connection, const char* sql) {
  const auto result = rows(connection, {sql, {}});
  return result->Eof() ? 0 : result->Fields()[0]->AsLargeInt();
}

std::string nowForFileName() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y%m%d-%H%M%S", &local);
  return buffer;
}

struct FileIdentity {
  dev_t Device;
  ino_t Inode;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identity(const fs::path& file) {
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) return std::nullopt;
  return FileIdentity{status.st_dev, status.st_ino};
}

std::string describe(const std::exception& error) {
  if (const auto* database = dynamic_cast<const EDAError*>(&error))
    return std::string(database->Message()) + " (SQLite " + std::to_string(database->ErrorCode()) + ")";
  return error.what();
}

}  // namespace

LibraryStore::LibraryStore(TUniConnection& connection, fs::path file) : connection_(connection), file_(std::move(file)) {
  std::error_code error;
  fs::create_directories(file_.parent_path(), error);
  if (error) throw LibraryError("无法建立文件夹 " + file_.parent_path().string() + "：" + error.message());
  connection_.SetProviderName("SQLite");
  // The connection takes its file name in the code page and passes it on as UTF-8.
  connection_.SetDatabase(text::utf8ToAnsi(file_.string()));
  connection_.LoginPrompt = false;
  // Another reader writing at the same moment is waited for, not reported.
  connection_.SpecificOptions().Add("SQLite.BusyTimeout=5000");
  const std::optional<FileIdentity> judged = identity(file_);
  open();
  if (std::string reason = unusable(); !reason.empty()) {
    // Another reader that found the same file unusable may have set it aside and begun a new
    // library in its place already: that one is used, never set aside in turn.
    if (identity(file_) == judged) setAside(reason);
    open();
  }
  upgrade();
}

LibraryStore::~LibraryStore() {
  // At rest the file goes back to a plain journal, so that it can be read even where its folder
  // cannot be written (where a log could not be made). With another reader still on it, it stays
  // in its log mode, which that reader needs.
  try {
    run(connection_, {"PRAGMA busy_timeout=0", {}});
    single(connection_, "PRAGMA journal_mode=DELETE");
  } catch (...) {
  }
  try {
    connection_.Disconnect();
  } catch (...) {
  }
}

void LibraryStore::open() {
  connection_.Disconnect();
  try {
    connection_.Connect();
  } catch (const std::exception& e) {
    const auto* database = dynamic_cast<const EDAError*>(&e);
    if (database && (primary(database->ErrorCode()) == kNotADatabase || primary(database->ErrorCode()) == kCorrupt))
      return;  // unusable() says so and the file goes aside
    throw LibraryError("无法打开 " + file_.string() + "：" + describe(e));
  }
}

std::string LibraryStore::unusable() {
  // Only SQLite judges the file, under its locks: another reader may be writing it this moment.
  try {
    if (const std::string check = single(connection_, "PRAGMA quick_check"); check != "ok") return "它已损坏（" + check + "）";
    const long long id = integer(connection_, "PRAGMA application_id");
    const long long version = integer(connection_, "PRAGMA user_version");
    const long long tables = integer(connection_, "SELECT count(*) FROM sqlite_master");
    if (id != kApplicationId && (id != 0 || tables != 0)) return "它属于别的程序";
    if (version > kSchemaVersion) return "它来自更新版本的Tavrin诗词大全";
  } catch (const EDAError& e) {
    const int code = primary(e.ErrorCode());
    if (code == kNotADatabase) return "它不是一个数据库";
    if (code == kCorrupt) return "它已损坏（" + describe(e) + "）";
    throw LibraryError("无法读取 " + file_.string() + "：" + describe(e));
  }
  return {};
}

void LibraryStore::setAside(const std::string& reason) {
  connection_.Disconnect();
  const fs::path aside = file_.parent_path() / (file_.stem().string() + "-" + nowForFileName() + ".unusable" +
                                                file_.extension().string());
  std::error_code error;
  fs::rename(file_, aside, error);
  if (error) throw LibraryError("无法移开无法使用的 " + file_.string() + "：" + error.message());
  // The log and index of the old file belong to it, never to the new one.
  for (const char* suffix : {"-wal", "-shm"}) {
    const fs::path companion = file_.string() + suffix;
    if (fs::exists(companion, error)) fs::rename(companion, aside.string() + suffix, error);
  }
  setAside_ = aside;
  setAsideReason_ = reason;
}

void LibraryStore::upgrade() {
  // Only now that the file is known to be a library of ours does anything write to it. In a folder
  // that cannot be written the log cannot be made: the library is then read as it is, and each
  // change says that it cannot be saved.
  try {
    single(connection_, "PRAGMA journal_mode=WAL");
  } catch (const EDAError&) {
  }
  run(connection_, {"PRAGMA synchronous=FULL", {}});
  if (integer(connection_, "PRAGMA user_version") >= kSchemaVersion) return;
  // Read again inside the transaction: another reader may have brought the file up meanwhile.
  transaction([&] {
    const long long version = integer(connection_, "PRAGMA user_version");
    for (long long step = version; step < kSchemaVersion; ++step)
      for (const char* sql : kUpgrades[static_cast<std::size_t>(step)]) run(connection_, {sql, {}});
    run(connection_, {("PRAGMA application_id=" + std::to_string(kApplicationId)).c_str(), {}});
    run(connection_, {("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str(), {}});
  });
}

// The write lock is taken at the start (waiting for another reader's change to end), so that
// nothing read inside the transaction can be overtaken by another writer.
template <typename Change>
void LibraryStore::transaction(Change change) {
  try {
    run(connection_, {"BEGIN IMMEDIATE", {}});
  } catch (const std::exception& e) {
    throw LibraryError(describe(e));
  }
  try {
    change();
    run(connection_, {"COMMIT", {}});
  } catch (const std::exception& e) {
    try {
      run(connection_, {"ROLLBACK", {}});
    } catch (...) {
    }
    throw LibraryError(describe(e));
  }
}

bool LibraryStore::IsFavourite(const LibraryPoem& poem) {
  try {
    return !rows(connection_, {"SELECT 1 FROM favourite WHERE poem=:p AND tm=:t AND zz=:z",
                               {poem.Id, poem.Title, poem.Author}})
                ->Eof();
  } catch (const EDAError& e) {
    throw LibraryError(describe(e));
  }
}

void LibraryStore::AddFavourite(const LibraryPoem& poem, const std::string& time) { AddFavourites({poem}, time); }

int LibraryStore::AddFavourites(const std::vector<LibraryPoem>& poems, const std::string& time) {
  int added = 0;
  transaction([&] {
    for (const LibraryPoem& poem : poems) {
      run(connection_, {"INSERT OR IGNORE INTO favourite(poem, tm, zz, added) VALUES (:p, :t, :z, :a)",
                        {poem.Id, poem.Title, poem.Author, AnsiString(time)}});
      added += static_cast<int>(integer(connection_, "SELECT changes()"));
    }
  });
  return added;
}

void LibraryStore::RemoveFavourite(const LibraryPoem& poem) {
  transaction([&] {
    run(connection_, {"DELETE FROM favourite WHERE poem=:p AND tm=:t AND zz=:z", {poem.Id, poem.Title, poem.Author}});
  });
}

std::vector<LibraryPoem> LibraryStore::Favourites() {
  std::vector<LibraryPoem> poems;
  try {
    const auto list = rows(connection_, {"SELECT poem, tm, zz FROM favourite ORDER BY rowid DESC", {}});
    for (; !list->Eof(); list->Next())
      poems.push_back({list->Fields()[0]->AsLargeInt(), list->Fields()[1]->AsString(), list->Fields()[2]->AsString()});
  } catch (const EDAError& e) {
    throw LibraryError(describe(e));
  }
  return poems;
}

void LibraryStore::AddToHistory(const LibraryPoem& poem, const std::string& time) {
  transaction([&] {
    run(connection_, {"INSERT OR REPLACE INTO history(poem, tm, zz, shown) VALUES (:p, :t, :z, :s)",
                      {poem.Id, poem.Title, poem.Author, AnsiString(time)}});
    run(connection_, {"DELETE FROM history WHERE rowid NOT IN (SELECT rowid FROM history ORDER BY rowid DESC LIMIT :n)",
                      {static_cast<std::int64_t>(kHistoryRows)}});
  });
}

void LibraryStore::ClearHistory() {
  transaction([&] { run(connection_, {"DELETE FROM history", {}}); });
}
