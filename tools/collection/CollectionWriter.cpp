#include "tools/collection/CollectionWriter.h"

#include <sqlcipher/sqlite3.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <unordered_map>

#include "platform/text/AnsiText.h"
#include "platform/text/CodePoints.h"
#include "platform/text/PinyinSearchText.h"
#include "platform/text/SourceCharacters.h"
#include "tools/collection/CorpusReader.h"

namespace collection {
namespace {

namespace fs = std::filesystem;

class Database {
 public:
  Database(const fs::path& file, const std::string& key) : file_(file) {
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open(file.c_str(), &handle);
    db_.reset(handle);  // SQLite hands out a handle even when the open fails
    if (rc != SQLITE_OK) fail("cannot create");
    if (!key.empty() && sqlite3_key(handle, key.data(), static_cast<int>(key.size())) != SQLITE_OK) fail("cannot encrypt");
    exec("PRAGMA journal_mode = OFF");
    exec("PRAGMA synchronous = OFF");
  }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void exec(const char* sql) {
    if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail("cannot write");
  }

  sqlite3_stmt* prepare(const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sql, -1, &stmt, nullptr) != SQLITE_OK) fail("cannot write");
    return stmt;
  }

  void step(sqlite3_stmt* stmt) {
    if (sqlite3_step(stmt) != SQLITE_DONE) fail("cannot write");
    sqlite3_reset(stmt);
  }

  void close() {
    if (sqlite3_close(db_.get()) != SQLITE_OK) fail("cannot finish");
    db_.release();
  }

  [[noreturn]] void fail(const char* what) const {
    throw CorpusError(std::string(what) + " " + file_.string() + ": " + (db_ ? sqlite3_errmsg(db_.get()) : "out of memory"));
  }

 private:
  fs::path file_;
  std::unique_ptr<sqlite3, int (*)(sqlite3*)> db_{nullptr, sqlite3_close};
};

class Statement {
 public:
  Statement(Database& db, const char* sql) : db_(db), stmt_(db.prepare(sql)) {}
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int index, sqlite3_int64 value) {
    sqlite3_bind_int64(stmt_, index, value);
    return *this;
  }
  // Text goes in as the code page 936 bytes the reader expects, in a TEXT value.
  Statement& bind(int index, const AnsiString& gbk) {
    sqlite3_bind_text(stmt_, index, gbk.data(), static_cast<int>(gbk.size()), SQLITE_TRANSIENT);
    return *this;
  }
  // The source's text keeps every character: UTF-8.
  Statement& bindUtf8(int index, const std::string& utf8) {
    sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    return *this;
  }
  void run() { db_.step(stmt_); }

 private:
  Database& db_;
  sqlite3_stmt* stmt_;
};

class Encoder {
 public:
  AnsiString operator()(const std::string& utf8) { return text::utf8ToAnsi(utf8, text::kGetaMark, &replaced); }
  AnsiString lines(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) {
      if (!joined.empty()) joined += "\r\n";
      joined += line;
    }
    return (*this)(joined);
  }
  // Multi-line corpus text uses bare line feeds; the reader's files use CR LF.
  AnsiString paragraphs(const std::string& utf8) {
    std::string crlf;
    crlf.reserve(utf8.size());
    for (const char c : utf8) {
      if (c == '\r') continue;
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    return (*this)(crlf);
  }
  std::size_t replaced = 0;
};

// Titles and names recur (the tunes of the ci, 无题, a poet's every poem): each is read once.
class Syllables {
 public:
  explicit Syllables(const text::PinyinReader& reader) : reader_(reader) {}
  const std::string& operator()(const AnsiString& stored) {
    const auto [at, added] = read_.try_emplace(stored);
    if (added) at->second = text::SearchSyllables(reader_, text::utf8ToCodePoints(text::ansiToUtf8(stored)));
    return at->second;
  }

 private:
  const text::PinyinReader& reader_;
  std::unordered_map<AnsiString, std::string> read_;
};

// Counts the poems written into both files and reports each whole percent once.
class Percent {
 public:
  Percent(std::size_t poems, const ProgressFn& progress) : total_(2 * poems), poems_(poems), progress_(progress) {}
  void step() {
    ++done_;
    const std::size_t percent = total_ == 0 ? 100 : done_ * 100 / total_;
    if (progress_ && percent != reported_) {
      reported_ = percent;
      progress_("progress: " + std::to_string(percent) + "% of " + std::to_string(poems_) + " poems");
    }
  }

 private:
  std::size_t total_, poems_, done_ = 0, reported_ = 0;
  const ProgressFn& progress_;
};

// Removes the temporary files unless they were put in place.
struct TemporaryFiles {
  std::vector<fs::path> paths;
  ~TemporaryFiles() {
    std::error_code ec;
    for (const fs::path& p : paths) fs::remove(p, ec);
  }
};

void writeCatalogue(Database& db, const Collection& c, Encoder& encode, Syllables& syllables, Percent& percent) {
  for (const char* table : kCatalogueTables) db.exec(table);
  db.exec("BEGIN");
  Statement poem(db, "INSERT INTO sici VALUES (?, ?, ?, ?, ?, ?)");
  Statement pinyin(db, "INSERT INTO pinyin VALUES (?, ?, ?)");
  for (std::size_t i = 0; i < c.poems.size(); ++i) {
    const StoredPoem& s = c.poems[i];
    const auto id = static_cast<sqlite3_int64>(i + 1);
    const AnsiString title = encode(s.poem.title);
    const AnsiString author = encode(s.poem.author);
    poem.bind(1, id)
        .bind(2, title)
        .bind(3, author)
        .bind(4, encode(s.poem.dynasty))
        .bind(5, encode(s.genre))
        .bind(6, encode(s.category))
        .run();
    pinyin.bind(1, id).bind(2, syllables(title)).bind(3, syllables(author)).run();
    percent.step();
  }
  Statement poet(db, "INSERT INTO poet VALUES (?, ?, ?)");
  for (const Poet& p : c.poets) poet.bind(1, encode(p.author)).bind(2, encode(p.dynasty)).bind(3, encode.paragraphs(p.biography)).run();
  db.exec("COMMIT");
  for (const char* index : kCatalogueIndexes) db.exec(index);
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) {
    if (!joined.empty()) joined += "\r\n";
    joined += line;
  }
  return joined;
}

// The marks of `stored` the source `written` leaves, as the reader would show them.
std::size_t marksLeft(const AnsiString& stored, const std::string& written, WriteReport& report) {
  const std::u32string source = text::utf8ToCodePoints(written);
  report.leftInSource += static_cast<std::size_t>(std::count(source.begin(), source.end(), text::kMissingMark));
  return text::RestoreFromSource(text::utf8ToCodePoints(text::ansiToUtf8(stored)), source).Left;
}

void writeTexts(Database& db, const Collection& c, Encoder& encode, WriteReport& report, Percent& percent) {
  for (const char* table : kTextTables) db.exec(table);
  db.exec("BEGIN");
  Statement text(db, "INSERT INTO sici VALUES (?, ?, ?, ?, ?)");
  Statement source(db, "INSERT INTO source VALUES (?, ?, ?, ?, ?, ?)");
  for (std::size_t i = 0; i < c.poems.size(); ++i) {
    const Poem& p = c.poems[i].poem;
    const auto id = static_cast<sqlite3_int64>(i + 1);
    const AnsiString verses = encode.lines(p.lines);
    text.bind(1, id)
        .bind(2, verses)
        .bind(3, encode.paragraphs(p.notes))
        .bind(4, encode.paragraphs(p.translation))
        .bind(5, encode.paragraphs(p.appreciation))
        .run();
    const std::string written = joinLines(p.written.lines);
    source.bind(1, id)
        .bindUtf8(2, p.written.title)
        .bindUtf8(3, p.written.author)
        .bindUtf8(4, written)
        .bind(5, p.traditionalSource ? 1 : 0)
        .bindUtf8(6, p.source)
        .run();
    report.leftInSimplified += marksLeft(text::utf8ToAnsi(p.title, text::kGetaMark), p.written.title, report) +
                               marksLeft(text::utf8ToAnsi(p.author, text::kGetaMark), p.written.author, report) +
                               marksLeft(verses, written, report);
    percent.step();
  }
  db.exec("COMMIT");
}

}  // namespace

WriteReport writeCollection(const Collection& collection, const fs::path& folder, const text::PinyinReader& pinyin,
                            const ProgressFn& progress) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) throw CorpusError("cannot create the folder " + folder.string());
  if (access(folder.c_str(), W_OK) != 0) throw CorpusError("cannot write into the folder " + folder.string());

  const std::string suffix = ".building-" + std::to_string(getpid());
  TemporaryFiles temporary{{folder / (std::string(kCatalogueName) + suffix), folder / (std::string(kTextFileName) + suffix),
                            folder / (std::string(kPoemCountName) + suffix)}};
  for (const fs::path& p : temporary.paths) fs::remove(p, ec);

  Encoder encode;
  WriteReport report;
  Percent percent(collection.poems.size(), progress);
  {
    Database catalogue(temporary.paths[0], kCatalogueKey);
    Syllables syllables(pinyin);
    writeCatalogue(catalogue, collection, encode, syllables, percent);
    catalogue.close();
  }
  {
    Database texts(temporary.paths[1], "");
    writeTexts(texts, collection, encode, report, percent);
    texts.close();
  }
  {
    std::ofstream count(temporary.paths[2], std::ios::binary);
    count << collection.poems.size() << '\n';
    if (!count.flush()) throw CorpusError("cannot write " + temporary.paths[2].string());
  }
  fs::rename(temporary.paths[0], folder / kCatalogueName, ec);
  if (!ec) fs::rename(temporary.paths[1], folder / kTextFileName, ec);
  if (!ec) fs::rename(temporary.paths[2], folder / kPoemCountName, ec);
  if (ec) throw CorpusError("cannot put the new files in place in " + folder.string() + ": " + ec.message());
  temporary.paths.clear();
  report.replacedCharacters = encode.replaced;
  return report;
}

}  // namespace collection
