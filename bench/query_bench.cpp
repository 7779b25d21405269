// The query component against bare sqlite3_prepare_v2 / sqlite3_step loops doing the same
// work, over the real collection: the full poem list, its first block, the content search.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_connection.h"
#include "bench/bench_util.h"
#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteClassesUni.h"
#include "data/sqlite/SQLiteUniProvider.h"
#include "data/access/UniQuery.h"

namespace {

struct Row {
  long long id;
  std::string title, author;
};

sqlite3_stmt* prepare(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3api.sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != sqlite::kOk) {
    std::fprintf(stderr, "query_bench: %s\n", sqlite3api.sqlite3_errmsg(db));
    std::exit(1);
  }
  return stmt;
}

std::string columnText(sqlite3_stmt* stmt, int i) {
  const auto* text = reinterpret_cast<const char*>(sqlite3api.sqlite3_column_text(stmt, i));
  return std::string(text ? text : "", static_cast<std::size_t>(sqlite3api.sqlite3_column_bytes(stmt, i)));
}

std::vector<Row> bareList(sqlite3* db, const std::string& sql) {
  std::vector<Row> rows;
  sqlite3_stmt* stmt = prepare(db, sql);
  while (sqlite3api.sqlite3_step(stmt) == sqlite::kRow)
    rows.push_back({sqlite3api.sqlite3_column_int64(stmt, 0), columnText(stmt, 1), columnText(stmt, 2)});
  sqlite3api.sqlite3_finalize(stmt);
  return rows;
}

void bareExec(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* stmt = prepare(db, sql);
  sqlite3api.sqlite3_step(stmt);
  sqlite3api.sqlite3_finalize(stmt);
}

// Walks every row reading each field's text, as the bare loop copies every column.
int fetchAll(TUniQuery& q) {
  int rows = 0;
  std::size_t bytes = 0;
  for (q.First(); !q.Eof(); q.Next()) {
    for (int i = 0; i < q.FieldCount(); ++i) bytes += q.Fields()[i]->AsString().size();
    ++rows;
  }
  return bytes > 0 ? rows : 0;
}

void openQuery(TUniQuery& q, const AnsiString& sql) {
  q.Close();
  q.SQL().Clear();
  q.SQL().Add(sql);
  q.Open();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = bench::collectionFolder(argc, argv);
  const AnsiString list = text::utf8ToAnsi("select id,tm as 作品,zz as 作者 from sici");
  const AnsiString search = text::utf8ToAnsi("SELECT id FROM sici where nr like '%明月%'");
  const AnsiString joined =
      text::utf8ToAnsi("select sici.id as id,sici.tm as 作品,sici.zz as 作者 from sici ,tmpid where tmpid.id=sici.id");

  TUniConnection c1(nullptr), c2(nullptr);
  bench::connect(c1, folder + "/sici.idb", true);
  bench::connect(c2, folder + "/sici.dbf", false);
  auto* catalogue = static_cast<TSQLiteConnection*>(c1.InternalConnection());
  auto* texts = static_cast<TSQLiteConnection*>(c2.InternalConnection());

  TUniQuery q(nullptr);
  q.SetConnection(&c1);
  int queryRows = 0;
  std::size_t bareRows = 0;
  // The memory of the whole list, read once before anything else holds rows.
  openQuery(q, list);
  queryRows = fetchAll(q);
  const double rssAfterFetchAll = bench::peakRssMiB();
  // Rounds alternate between the two, so that both meet the same load on a shared machine.
  double bareMs = 1e300, queryMs = 1e300;
  for (int round = 0; round < 9; ++round) {
    bareMs = std::min(bareMs, bench::bestMs(1, [&] { bareRows = bareList(catalogue->GetDatabaseHandle(), list).size(); }));
    queryMs = std::min(queryMs, bench::bestMs(1, [&] {
                         openQuery(q, list);
                         queryRows = fetchAll(q);
                       }));
  }
  const double firstBlockMs = bench::bestMs(20, [&] { openQuery(q, list); });
  q.Close();

  // The content search: numbers from the text file, through the scratch table, to the list.
  TUniQuery found(nullptr), scratch(nullptr), result(nullptr);
  found.SetConnection(&c2);
  scratch.SetConnection(&c1);
  result.SetConnection(&c1);
  int hits = 0;
  const double searchMs = bench::bestMs(3, [&] {
    openQuery(found, search);
    scratch.SQL().Clear();
    scratch.SQL().Add("delete from tmpid;");
    scratch.Execute();
    c1.StartTransaction();
    for (found.First(); !found.Eof(); found.Next()) {
      scratch.SQL().Clear();
      scratch.SQL().Add("replace INTO tmpid(id) VALUES (" + found.Fields()[0]->AsString() + ");");
      scratch.Execute();
    }
    c1.Commit();
    found.Close();
    openQuery(result, joined);
    hits = fetchAll(result);
  });
  std::size_t bareHits = 0;
  const double bareSearchMs = bench::bestMs(3, [&] {
    std::vector<long long> ids;
    sqlite3_stmt* stmt = prepare(texts->GetDatabaseHandle(), search);
    while (sqlite3api.sqlite3_step(stmt) == sqlite::kRow) ids.push_back(sqlite3api.sqlite3_column_int64(stmt, 0));
    sqlite3api.sqlite3_finalize(stmt);
    sqlite3* db = catalogue->GetDatabaseHandle();
    bareExec(db, "delete from tmpid;");
    bareExec(db, "BEGIN");
    for (const long long id : ids) bareExec(db, "replace INTO tmpid(id) VALUES (" + std::to_string(id) + ");");
    bareExec(db, "COMMIT");
    bareHits = bareList(db, joined).size();
  });

  bench::print("fetch_all_rows", queryRows);
  bench::print("fetch_all_ms", queryMs);
  bench::print("bare_fetch_all_ms", bareMs);
  bench::print("fetch_all_ratio", queryMs / bareMs);
  bench::print("fetch_all_rss_mib", rssAfterFetchAll);
  bench::print("first_block_ms", firstBlockMs);
  bench::print("content_search_hits", hits);
  bench::print("content_search_ms", searchMs);
  bench::print("bare_content_search_ms", bareSearchMs);
  bench::print("content_search_ratio", searchMs / bareSearchMs);
  if (static_cast<std::size_t>(queryRows) != bareRows || static_cast<std::size_t>(hits) != bareHits)
    std::fprintf(stderr, "query_bench: the two sides disagree (%d/%zu rows, %d/%zu hits)\n", queryRows, bareRows, hits, bareHits);
}
