// The code-page-aware LIKE against SQLite's own over the real poem texts (sici.dbf).

#include <cstdio>

#include "bench/bench_util.h"
#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteClassesUni.h"

namespace {

int countRows(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3api.sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr) != sqlite::kOk) {
    std::fprintf(stderr, "like_bench: %s\n", sqlite3api.sqlite3_errmsg(db));
    std::exit(1);
  }
  int rows = 0;
  while (sqlite3api.sqlite3_step(stmt) == sqlite::kRow) ++rows;
  sqlite3api.sqlite3_finalize(stmt);
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string file = bench::collectionFolder(argc, argv) + "/sici.dbf";
  const std::string sql = "select id from sici where nr like '%" + text::utf8ToAnsi("明月") + "%'";

  TSQLiteConnection ours;
  ours.SetProp(prDatabase, file);
  ours.SetProp(prASCIIDataBase, true);
  ours.Connect();
  // The baseline: the same library and file, with SQLite's own LIKE.
  sqlite3* plain = nullptr;
  if (sqlite3api.sqlite3_open(file.c_str(), &plain) != sqlite::kOk) return 1;

  int ourRows = 0, sqliteRows = 0;
  countRows(plain, "select count(*) from sici");  // both measurements start from a warm cache
  const double sqliteMs = bench::bestMs(5, [&] { sqliteRows = countRows(plain, sql); });
  const double likeMs = bench::bestMs(5, [&] { ourRows = countRows(ours.GetDatabaseHandle(), sql); });
  sqlite3api.sqlite3_close(plain);

  bench::print("like_ms", likeMs);
  bench::print("sqlite_like_ms", sqliteMs);
  bench::print("like_ratio", likeMs / sqliteMs);
  bench::print("like_rows", ourRows);
  bench::print("sqlite_like_rows", sqliteRows);
  bench::print("like_peak_rss_mib", bench::peakRssMiB());
}
