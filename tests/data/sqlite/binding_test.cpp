#include <gtest/gtest.h>

#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteClassesUni.h"
#include "tests/data/data_fixture.h"

namespace {

void expectMessage(const std::function<void()>& action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "expected: " << message;
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

std::unique_ptr<TSQLiteConnection> connection(const AnsiString& file, const AnsiString& library, const AnsiString& key = "") {
  auto c = std::make_unique<TSQLiteConnection>();
  c->SetProp(prDatabase, file);
  c->SetProp(prClientLibrary, library);
  c->SetProp(prEncryptionKey, key);
  return c;
}

}  // namespace

TEST(Binding, StubsStandInUntilTheLibraryIsLoadedAndAfterItIsReleased) {
  FreeSQLiteLib();
  expectMessage([] { sqlite3api.sqlite3_libversion(); }, kNotLinkedMessage);
  expectMessage([] { sqlite3api.sqlite3_key(nullptr, "", 0); }, kNoEncryptionMessage);
  EXPECT_FALSE(IsColumnMetaDataAvailable());

  SetClientLibraryName("");
  LoadSQLiteLib();
  EXPECT_EQ(ClientLibraryName(), kDefaultClientLibrary) << "an empty name loads the default library";
  EXPECT_TRUE(SQLiteLibLoaded());
  EXPECT_NE(AnsiString(sqlite3api.sqlite3_libversion()), "");
  EXPECT_TRUE(IsColumnMetaDataAvailable());
  LoadSQLiteLib();  // a second load changes nothing
  EXPECT_TRUE(SQLiteLibLoaded());

  FreeSQLiteLib();
  FreeSQLiteLib();
  EXPECT_FALSE(SQLiteLibLoaded());
  // Nothing may call into the released module.
  expectMessage([] { sqlite3api.sqlite3_libversion(); }, kNotLinkedMessage);
}

TEST(Binding, AMissingLibraryFileIsReportedByName) {
  FreeSQLiteLib();
  TempFolder folder;
  auto c = connection(folder.file("a.db"), "libnothing-here.so.9");
  expectMessage([&] { c->Connect(); }, "Cannot load client library: libnothing-here.so.9");
  EXPECT_FALSE(c->GetConnected());
  EXPECT_FALSE(SQLiteLibLoaded());
  EXPECT_EQ(ActiveConnectionCount(), 0);
}

TEST(Binding, ALibraryWithoutEncryptionOpensPlainFilesButRefusesAKey) {
  FreeSQLiteLib();
  TempFolder folder;
  auto plain = connection(folder.file("plain.db"), kPlainSQLite);
  plain->Connect();
  EXPECT_TRUE(plain->GetConnected());
  plain->ExecSQL("create table t(x)");
  plain->Disconnect();

  auto keyed = connection(folder.file("keyed.db"), kPlainSQLite, "secret");
  expectMessage([&] { keyed->Connect(); }, kNoEncryptionMessage);
  EXPECT_FALSE(keyed->GetConnected());
  EXPECT_EQ(keyed->GetDatabaseHandle(), nullptr);
  EXPECT_EQ(ActiveConnectionCount(), 0);
}

TEST(Binding, TheLibraryCanOnlyChangeWhileNoConnectionIsOpen) {
  FreeSQLiteLib();
  TempFolder folder;
  auto first = connection(folder.file("a.db"), kDefaultClientLibrary);
  first->Connect();
  auto second = connection(folder.file("b.db"), kPlainSQLite);
  expectMessage([&] { second->Connect(); }, "Connection ClientLibrary differs from already active connections");
  EXPECT_EQ(ActiveConnectionCount(), 1);

  auto sameLibrary = connection(folder.file("b.db"), "");
  sameLibrary->Connect();  // an empty name keeps the library that is loaded
  EXPECT_EQ(ActiveConnectionCount(), 2);
  sameLibrary->Disconnect();
  first->Disconnect();
  EXPECT_EQ(ActiveConnectionCount(), 0);

  second->Connect();
  EXPECT_EQ(ClientLibraryName(), kPlainSQLite);
  second->Disconnect();
}

TEST(Binding, SQLiteErrorsCarryTheLibrarysCodeAndMessage) {
  TempFolder folder;
  auto c = connection(folder.file("a.db"), kDefaultClientLibrary);
  c->Connect();
  c->ExecSQL("create table t(x unique)");
  c->ExecSQL("insert into t values (1)");
  try {
    c->ExecSQL("insert into t values (1)");
    FAIL() << "a duplicate must be refused";
  } catch (const ESQLiteError& e) {
    EXPECT_EQ(e.ErrorCode(), 19);
    EXPECT_TRUE(e.IsConstraintViolation());
    EXPECT_FALSE(e.IsFatal());
    EXPECT_NE(e.Message().find("UNIQUE constraint failed"), AnsiString::npos) << e.Message();
  }
  try {
    c->ExecSQL("select * from missing");
    FAIL() << "a missing table must be reported";
  } catch (const ESQLiteError& e) {
    EXPECT_EQ(e.Message(), "no such table: missing");
    EXPECT_FALSE(e.IsConstraintViolation());
  }
}
