// The library file under what must never lose a person's favourites: a writer killed at any
// moment, two writers at once, a full disk, and files that are damaged, foreign or newer, which
// are set aside and never written to.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/LibraryStore.h"
#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "tests/support/TempFolder.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

LibraryPoem poem(long long id) { return {id, "title" + std::to_string(id), "author" + std::to_string(id % 7)}; }

// A writer started with its output on a pipe.
struct Writer {
  pid_t Pid = -1;
  int Output = -1;
};

Writer startWriter(const fs::path& file, long long first, long long count) {
  int pipe[2];
  if (::pipe(pipe) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe[0]);
  std::string program = LIBRARY_WRITER, a1 = file.string(), a2 = std::to_string(first), a3 = std::to_string(count);
  char* argv[] = {program.data(), a1.data(), a2.data(), a3.data(), nullptr};
  Writer writer;
  if (posix_spawn(&writer.Pid, LIBRARY_WRITER, &actions, nullptr, argv, environ) != 0) throw std::runtime_error("spawn");
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe[1]);
  writer.Output = pipe[0];
  return writer;
}

// Everything the writer printed until it ended; its exit status.
std::string finish(Writer& writer, int* status) {
  std::string out;
  char buffer[4096];
  for (ssize_t n; (n = ::read(writer.Output, buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<std::size_t>(n));
  ::close(writer.Output);
  ::waitpid(writer.Pid, status, 0);
  return out;
}

// The changes a writer reported as done: kind 'F' or 'H' with the poem's number.
std::set<std::pair<char, long long>> reported(const std::string& output) {
  std::set<std::pair<char, long long>> done;
  std::istringstream lines(output);
  std::string line;
  // A line cut by the kill was not reported whole: only lines ending in a line break count.
  while (std::getline(lines, line))
    if (!lines.eof() && line.size() > 2) done.insert({line[0], std::stoll(line.substr(2))});
  return done;
}

struct Contents {
  std::string Integrity;
  std::set<long long> Favourites, History;
};

Contents contents(const fs::path& file) {
  TUniConnection connection(nullptr);
  connection.SetProviderName("SQLite");
  connection.SetDatabase(AnsiString(file.string()));
  connection.Connect();
  const auto column = [&](const char* sql) {
    TUniQuery query(nullptr);
    query.SetConnection(&connection);
    query.SQL().SetText(sql);
    query.Open();
    std::vector<AnsiString> values;
    for (; !query.Eof(); query.Next()) values.push_back(query.Fields()[0]->AsString());
    return values;
  };
  Contents c;
  c.Integrity = column("PRAGMA integrity_check").at(0);
  // A writer killed before its first change was done may leave a file without the tables.
  if (column("SELECT name FROM sqlite_master WHERE name='favourite'").empty()) return c;
  for (const AnsiString& id : column("SELECT poem FROM favourite")) c.Favourites.insert(std::stoll(id));
  for (const AnsiString& id : column("SELECT poem FROM history")) c.History.insert(std::stoll(id));
  return c;
}

void writeBytes(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

std::string readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A SQLite file made by hand with `statements`.
void makeSqlite(const fs::path& file, const std::vector<const char*>& statements) {
  TUniConnection connection(nullptr);
  connection.SetProviderName("SQLite");
  connection.SetDatabase(AnsiString(file.string()));
  connection.Connect();
  for (const char* sql : statements) {
    TUniQuery query(nullptr);
    query.SetConnection(&connection);
    query.SQL().SetText(sql);
    query.Execute();
  }
}

}  // namespace

TEST(LibraryStore, AWriterKilledAtAnyMomentLosesNothingItReportedAndLeavesASoundFile) {
  const test_support::TempFolder folder("sici-library");
  const fs::path file = folder.path() / "library.db";
  std::mt19937 random(20261210);
  std::set<long long> favourites;
  std::set<long long> history;
  int killedMidway = 0;
  for (int round = 0; round < 40; ++round) {
    const long long first = round * 1000;
    Writer writer = startWriter(file, first, 200);
    std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 120)(random)));
    ::kill(writer.Pid, SIGKILL);
    int status = 0;
    const auto done = reported(finish(writer, &status));
    killedMidway += WIFSIGNALED(status) ? 1 : 0;
    for (const auto& [kind, id] : done) (kind == 'F' ? favourites : history).insert(id);

    const Contents after = contents(file);
    ASSERT_EQ(after.Integrity, "ok") << "round " << round;
    for (const long long id : favourites) ASSERT_TRUE(after.Favourites.contains(id)) << "favourite " << id << ", round " << round;
    // The history keeps the newest 500: those of this round are all among them.
    for (const auto& [kind, id] : done) {
      if (kind == 'H') ASSERT_TRUE(after.History.contains(id)) << "history " << id << ", round " << round;
    }
    // And the next writer finds the file fit to use: nothing is set aside after a kill.
    TUniConnection connection(nullptr);
    const LibraryStore reopened(connection, file);
    ASSERT_TRUE(reopened.SetAside().empty()) << reopened.SetAsideReason();
  }
  EXPECT_GT(killedMidway, 20) << "most writers are killed while they write";
  EXPECT_GT(favourites.size(), 40u) << "the writers got far enough to be killed in the middle of their work";
}

TEST(LibraryStore, TwoWritersAtOnceBothKeepEverything) {
  const test_support::TempFolder folder("sici-library");
  const fs::path file = folder.path() / "library.db";
  Writer one = startWriter(file, 0, 150);
  Writer two = startWriter(file, 10000, 150);
  int status1 = 0, status2 = 0;
  const std::string out1 = finish(one, &status1), out2 = finish(two, &status2);
  ASSERT_TRUE(WIFEXITED(status1) && WEXITSTATUS(status1) == 0) << out1;
  ASSERT_TRUE(WIFEXITED(status2) && WEXITSTATUS(status2) == 0) << out2;
  const Contents after = contents(file);
  EXPECT_EQ(after.Integrity, "ok");
  EXPECT_EQ(after.Favourites.size(), 300u);
  EXPECT_EQ(after.History.size(), 300u);
}

TEST(LibraryStore, TheHistoryKeepsEachPoemOnceNewestFirstAndAtMost500) {
  const test_support::TempFolder folder("sici-library");
  TUniConnection connection(nullptr);
  LibraryStore library(connection, folder.path() / "library.db");
  for (long long id = 1; id <= 505; ++id) library.AddToHistory(poem(id), "2026-12-10 10:00:00");
  library.AddToHistory(poem(10), "2026-12-10 11:00:00");
  const auto history = [&] {
    TUniQuery query(nullptr);
    query.SetConnection(&library.Connection());
    query.SQL().SetText("SELECT poem FROM history ORDER BY rowid DESC");
    query.Open();
    std::vector<long long> ids;
    for (; !query.Eof(); query.Next()) ids.push_back(query.Fields()[0]->AsLargeInt());
    return ids;
  }();
  ASSERT_EQ(history.size(), 500u);
  EXPECT_EQ(history[0], 10) << "shown again, it goes to the top, once";
  EXPECT_EQ(history[1], 505);
  EXPECT_EQ(history.back(), 6) << "the oldest beyond 500 went: 1 to 5; 10, shown again, took no second row";
}

TEST(LibraryStore, AFullDiskRefusesTheChangeAndKeepsWhatWasThere) {
  const test_support::TempFolder folder("sici-library");
  const fs::path file = folder.path() / "library.db";
  TUniConnection connection(nullptr);
  LibraryStore library(connection, file);
  for (long long id = 1; id <= 20; ++id) library.AddFavourite(poem(id), "2026-12-10 10:00:00");

  // The file may grow no further: the next writes fail as on a full disk.
  const auto previousSignal = ::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ::getrlimit(RLIMIT_FSIZE, &previous);
  rlimit full = previous;
  full.rlim_cur = static_cast<rlim_t>(fs::file_size(file));
  ::setrlimit(RLIMIT_FSIZE, &full);
  std::vector<LibraryPoem> many;
  for (long long id = 100; id < 2100; ++id) many.push_back({id, std::string(200, 'x') + std::to_string(id), "author"});
  EXPECT_THROW(library.AddFavourites(many, "2026-12-10 10:00:00"), LibraryError);
  ::setrlimit(RLIMIT_FSIZE, &previous);
  ::signal(SIGXFSZ, previousSignal);

  EXPECT_EQ(library.Favourites().size(), 20u) << "none of the refused change, all of what was there";
  library.AddFavourite(poem(21), "2026-12-10 10:00:00");
  EXPECT_EQ(library.Favourites().front(), poem(21)) << "with room again, changes go on";
  EXPECT_EQ(contents(file).Integrity, "ok");
}

TEST(LibraryStore, ADamagedForeignOrNewerFileIsSetAsideUntouchedAndAnEmptyLibraryStarts) {
  struct Case {
    const char* What;
    std::function<void(const fs::path&)> Make;
    const char* Reason;
  };
  const Case cases[] = {
      {"not a database", [](const fs::path& f) { writeBytes(f, std::string(5000, '\x5a')); }, "不是"},
      {"damaged", [](const fs::path& f) {
         {
           TUniConnection connection(nullptr);
           LibraryStore library(connection, f);
           for (long long id = 1; id <= 300; ++id) library.AddFavourite(poem(id), "2026-12-10 10:00:00");
         }
         std::string bytes = readBytes(f);
         for (std::size_t i = 4096; i < bytes.size(); i += 7) bytes[i] = static_cast<char>(~bytes[i]);
         writeBytes(f, bytes);
       }, "损坏"},
      {"foreign", [](const fs::path& f) { makeSqlite(f, {"CREATE TABLE notes(text)", "INSERT INTO notes VALUES ('mine')"}); },
       "别的程序"},
      {"newer", [](const fs::path& f) {
         makeSqlite(f, {"PRAGMA application_id=1414755177", "PRAGMA user_version=99", "CREATE TABLE favourite(x)"});
       }, "更新版本"},
  };
  for (const Case& c : cases) {
    const test_support::TempFolder folder("sici-library");
    const fs::path file = folder.path() / "library.db";
    c.Make(file);
    const std::string before = readBytes(file);
    TUniConnection connection(nullptr);
    LibraryStore library(connection, file);
    ASSERT_FALSE(library.SetAside().empty()) << c.What;
    EXPECT_NE(library.SetAsideReason().find(c.Reason), std::string::npos) << c.What << ": " << library.SetAsideReason();
    EXPECT_EQ(library.SetAside().parent_path(), folder.path());
    EXPECT_NE(library.SetAside().filename().string().find("library-"), std::string::npos);
    EXPECT_TRUE(readBytes(library.SetAside()) == before) << c.What << ": set aside as it was";
    EXPECT_TRUE(library.Favourites().empty()) << c.What;
    library.AddFavourite(poem(1), "2026-12-10 10:00:00");
    EXPECT_EQ(library.Favourites().size(), 1u) << c.What;
    EXPECT_TRUE(readBytes(library.SetAside()) == before) << c.What << ": never written to";
  }
}

TEST(LibraryStore, ALibraryOfThisVersionIsKeptAndAnEmptyFileBecomesOne) {
  const test_support::TempFolder folder("sici-library");
  const fs::path file = folder.path() / "library.db";
  {
    TUniConnection connection(nullptr);
    LibraryStore library(connection, file);
    library.AddFavourite(poem(5), "2026-12-10 10:00:00");
  }
  {
    TUniConnection connection(nullptr);
    LibraryStore library(connection, file);
    EXPECT_TRUE(library.SetAside().empty());
    EXPECT_TRUE(library.IsFavourite(poem(5)));
    EXPECT_FALSE(library.IsFavourite({5, poem(5).Title, "someone else"})) << "a poem is its number, title and author";
  }
  const fs::path empty = folder.path() / "empty" / "library.db";
  fs::create_directories(empty.parent_path());
  writeBytes(empty, "");
  TUniConnection connection(nullptr);
  LibraryStore library(connection, empty);
  EXPECT_TRUE(library.SetAside().empty()) << "an empty file is not damaged: it becomes the library";
  library.AddFavourite(poem(1), "2026-12-10 10:00:00");
  EXPECT_EQ(library.Favourites().size(), 1u);
}
