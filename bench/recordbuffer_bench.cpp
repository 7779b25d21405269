// The record buffer against a plain vector of string rows, filled with the rows of the full
// poem list (number, title, author) of the real catalogue.

#include <malloc.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteClassesUni.h"
#include "data/records/MemData.h"

namespace {

struct SourceRow {
  long long id;
  std::string title, author;
};

// The rows read once from the catalogue, so that only storing them is measured.
std::vector<SourceRow> readRows(const std::string& folder) {
  TSQLiteConnection catalogue;
  catalogue.SetProp(prDatabase, folder + "/sici.idb");
  catalogue.SetProp(prASCIIDataBase, true);
  catalogue.SetProp(prEncryptionKey, AnsiString("lirn4302986K"));
  catalogue.Connect();
  sqlite3_stmt* stmt = nullptr;
  const std::string sql = "select id,tm,zz from sici";
  if (sqlite3api.sqlite3_prepare_v2(catalogue.GetDatabaseHandle(), sql.c_str(), -1, &stmt, nullptr) != sqlite::kOk) {
    std::fprintf(stderr, "recordbuffer_bench: %s\n", sqlite3api.sqlite3_errmsg(catalogue.GetDatabaseHandle()));
    std::exit(1);
  }
  std::vector<SourceRow> rows;
  while (sqlite3api.sqlite3_step(stmt) == sqlite::kRow) {
    const auto text = [&](int i) {
      return std::string(reinterpret_cast<const char*>(sqlite3api.sqlite3_column_text(stmt, i)),
                         static_cast<std::size_t>(sqlite3api.sqlite3_column_bytes(stmt, i)));
    };
    rows.push_back({sqlite3api.sqlite3_column_int64(stmt, 0), text(1), text(2)});
  }
  sqlite3api.sqlite3_finalize(stmt);
  return rows;
}

// The list's columns as the record buffer holds them: a number and two pooled texts.
class PoemList : public TCRRecordSet {
 public:
  explicit PoemList(const std::vector<SourceRow>& rows) : rows_(rows) { SetProp(prFetchAll, true); }

  // The rows are in memory already: no connection, no statement.
  void SetConnection(TCRConnection*) override {}
  void SetSQL(const AnsiString&) override {}
  bool ExecuteNoRows() override { return true; }
  const std::vector<std::unique_ptr<TCRTableInfo>>& TablesInfo() const override { return tables_; }

 protected:
  void ExecuteCommand() override { next_ = 0; }
  void CreateFieldDescs() override {
    const std::pair<const char*, std::uint16_t> columns[] = {{"id", dcLargeint}, {"tm", dcHeapString}, {"zz", dcHeapString}};
    std::uint16_t no = 0;
    for (const auto& [name, code] : columns) {
      auto desc = std::make_unique<TCRFieldDesc>();
      desc->Name = name;
      desc->DataType = code;
      desc->Size = DataTypeSize(code, 0);
      desc->FieldNo = ++no;
      Fields().Add(std::move(desc));
    }
  }
  bool ReadRow(std::byte* record) override {
    if (next_ >= rows_.size()) return false;
    const SourceRow& row = rows_[next_++];
    PutValue(1, record, std::int64_t{row.id});
    PutValue(2, record, row.title);
    PutValue(3, record, row.author);
    return true;
  }

 private:
  const std::vector<SourceRow>& rows_;
  std::size_t next_ = 0;
  std::vector<std::unique_ptr<TCRTableInfo>> tables_;
};

std::size_t heapInUse() { return mallinfo2().uordblks + mallinfo2().hblkhd; }

}  // namespace

int main(int argc, char** argv) {
  const std::vector<SourceRow> source = readRows(bench::collectionFolder(argc, argv));
  const auto rows = static_cast<double>(source.size());

  std::size_t bufferBytes = 0, vectorBytes = 0;
  const double bufferMs = bench::bestMs(5, [&] {
    const std::size_t before = heapInUse();
    PoemList list(source);
    list.Open();
    bufferBytes = heapInUse() - before;
  });
  const double vectorMs = bench::bestMs(5, [&] {
    const std::size_t before = heapInUse();
    std::vector<std::array<std::string, 3>> plain;
    for (const SourceRow& row : source) plain.push_back({std::to_string(row.id), row.title, row.author});
    vectorBytes = heapInUse() - before;
  });

  bench::print("recordbuffer_rows", static_cast<int>(source.size()));
  bench::print("recordbuffer_bytes_per_row", static_cast<double>(bufferBytes) / rows);
  bench::print("vector_bytes_per_row", static_cast<double>(vectorBytes) / rows);
  bench::print("recordbuffer_memory_ratio", static_cast<double>(bufferBytes) / static_cast<double>(vectorBytes));
  bench::print("recordbuffer_ms", bufferMs);
  bench::print("vector_ms", vectorMs);
  bench::print("recordbuffer_time_ratio", bufferMs / vectorMs);
  bench::print("recordbuffer_peak_rss_mib", bench::peakRssMiB());
}
