#include <gtest/gtest.h>

#include <filesystem>

#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteClassesUni.h"
#include "data/sqlite/LiteCollation.h"
#include "data/sqlite/LiteFormatter.h"
#include "data/sqlite/SQLiteUniProvider.h"
#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "tests/data/data_fixture.h"

namespace {

std::string openFails(TUniConnection& c) {
  try {
    c.Connect();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(opened)";
}

TPropValue prop(TUniConnection& c, int id) {
  TPropValue value;
  EXPECT_TRUE(c.InternalConnection()->GetProp(id, value));
  return value;
}

class UniConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection.SetProviderName("SQLite");
    connection.SetDatabase(folder.file("test.db"));
  }
  TempFolder folder;
  TUniConnection connection{nullptr};
};

}  // namespace

TEST_F(UniConnectionTest, OpeningAMissingFileCreatesItAndEventsRunInOrder) {
  std::vector<std::string> events;
  connection.BeforeConnect = [&](TObject&) { events.push_back("before connect"); };
  connection.AfterConnect = [&](TObject&) { events.push_back("after connect"); };
  connection.BeforeDisconnect = [&](TObject&) { events.push_back("before disconnect"); };
  connection.AfterDisconnect = [&](TObject&) { events.push_back("after disconnect"); };
  connection.Connect();
  EXPECT_TRUE(connection.Connected());
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "test.db"));
  EXPECT_EQ(ActiveConnectionCount(), 1);
  connection.Connect();  // already open: nothing happens
  connection.Disconnect();
  EXPECT_EQ(ActiveConnectionCount(), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"before connect", "after connect", "before disconnect", "after disconnect"}));
}

TEST_F(UniConnectionTest, ProviderNamesAreCheckedAtOpen) {
  TUniConnection c(nullptr);
  EXPECT_EQ(openFails(c), "Provider is not defined");
  c.SetProviderName("  NoSuchBase ");
  EXPECT_EQ(c.ProviderName(), "NoSuchBase");
  EXPECT_EQ(openFails(c), "NoSuchBase is not a valid provider name");
  c.SetProviderName("MySQL");
  EXPECT_EQ(openFails(c),
            "MySQL provider is not registered. You should add the MySQLUniProvider unit to the uses clause of any "
            "unit in your project or place the TMySQLUniProvider component on the form.");
  c.SetProviderName("sqlite");  // names compare without case
  c.SetDatabase(folder.file("other.db"));
  c.Connect();
  EXPECT_EQ(openFails(c), "(opened)");
  try {
    c.SetProviderName("MySQL");
    FAIL() << "the provider of an open connection cannot change";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "This operation is not allowed on active connection");
  }
}

TEST_F(UniConnectionTest, AnUnregisteredSQLiteProviderIsNamedInTheError) {
  UnRegisterSQLiteProvider();
  TUniConnection c(nullptr);
  c.SetProviderName("SQLite");
  EXPECT_EQ(openFails(c),
            "SQLite provider is not registered. You should add the SQLiteUniProvider unit to the uses clause of any "
            "unit in your project or place the TSQLiteUniProvider component on the form.");
  RegisterSQLiteProvider();
  c.SetDatabase(folder.file("x.db"));
  c.Connect();
  EXPECT_TRUE(c.Connected());
}

TEST_F(UniConnectionTest, OptionLinesAreStoredWithTheProviderNameAndTheFirstOneCounts) {
  TStrings& options = connection.SpecificOptions();
  options.Add("ASCIIDataBase=True");
  options.Add("MySQL.BusyTimeout=abc");  // another provider's line is not ours to read
  options.Add("SQLite.BusyTimeout= 250 ");
  options.Add("BusyTimeout=999");
  options.Add("Version.Major=1");  // a dot before "=" counts as a prefix
  EXPECT_EQ(options[0], "SQLite.ASCIIDataBase=True");
  EXPECT_EQ(options[1], "MySQL.BusyTimeout=abc");
  EXPECT_EQ(options[3], "SQLite.BusyTimeout=999");
  EXPECT_EQ(options[4], "Version.Major=1");
  options.Put(0, "ReadUncommitted= true ");
  EXPECT_EQ(options[0], "SQLite.ReadUncommitted= true ");
  EXPECT_EQ(connection.SpecificOptions().OptionValue("BusyTimeout"), " 250 ");

  connection.Connect();
  EXPECT_EQ(std::get<int>(prop(connection, prBusyTimeout)), 250);
  EXPECT_TRUE(std::get<bool>(prop(connection, prReadUncommitted)));
  EXPECT_FALSE(std::get<bool>(prop(connection, prASCIIDataBase))) << "the replaced line no longer says so";
}

TEST_F(UniConnectionTest, InvalidOptionValuesFailTheOpenWithTheirName) {
  for (const char* value : {"abc", "-2147483647", "2147483648", ""}) {
    connection.SpecificOptions().Clear();
    connection.SpecificOptions().Add(std::string("BusyTimeout=") + value);
    EXPECT_EQ(openFails(connection), std::string("Invalid value: ") + value + " for option BusyTimeout");
    EXPECT_FALSE(connection.Connected());
  }
  connection.SpecificOptions().Clear();
  connection.SpecificOptions().Add("ReadUncommitted=yes");
  EXPECT_EQ(openFails(connection), "Invalid value: yes for option ReadUncommitted");
  // A format that names a part twice could not tell the numbers of a date apart.
  for (const char* line : {"DateFormat=ddd yyyy-mm-dd", "DateFormat=yyyy-mm-dd yy", "TimeFormat=hh:nn:ss hh",
                           "TimeFormat=hh:nn:ss nn"}) {
    connection.SpecificOptions().Clear();
    connection.SpecificOptions().Add(line);
    const std::string text(line);
    const auto equals = text.find('=');
    EXPECT_EQ(openFails(connection),
              "Invalid value: " + text.substr(equals + 1) + " for option " + text.substr(0, equals));
    EXPECT_FALSE(connection.Connected());
  }
  connection.SpecificOptions().Clear();
  connection.SpecificOptions().Add("DateFormat=dd.mm.yyyy");
  connection.SpecificOptions().Add("TimeFormat=hh.nn.ss.zzz");
  EXPECT_EQ(openFails(connection), "(opened)");
  EXPECT_EQ(std::get<AnsiString>(prop(connection, prDateFormat)), "dd.mm.yyyy");
  connection.SpecificOptions().Clear();
  connection.SpecificOptions().Add("BusyTimeout=-2147483646");
  EXPECT_EQ(openFails(connection), "(opened)");
  EXPECT_EQ(ActiveConnectionCount(), 1);
}

TEST_F(UniConnectionTest, ChangingOptionsOrDatabaseClosesAndTheNextOpenReappliesDefaults) {
  connection.SpecificOptions().Add("EncryptionKey=k1");
  connection.Connect();
  EXPECT_EQ(std::get<AnsiString>(prop(connection, prEncryptionKey)), "k1");
  static_cast<TSQLiteConnection*>(connection.InternalConnection())->ExecSQL("create table t(x)");

  connection.SpecificOptions().Delete(0);
  EXPECT_FALSE(connection.Connected()) << "a change to the options closes the connection first";
  // Without the key line the encrypted file cannot be read: no key is passed any more.
  connection.Connect();
  EXPECT_EQ(std::get<AnsiString>(prop(connection, prEncryptionKey)), "");
  EXPECT_THROW(static_cast<TSQLiteConnection*>(connection.InternalConnection())->ExecSQL("select * from t"), EDAError);

  connection.SetDatabase(folder.file("second.db"));
  EXPECT_FALSE(connection.Connected());
  EXPECT_EQ(std::get<AnsiString>(prop(connection, prDatabase)), folder.file("second.db"));
}

TEST_F(UniConnectionTest, OnErrorCanTurnAnErrorIntoASilentAbort) {
  connection.Connect();
  auto* sqlite = static_cast<TSQLiteConnection*>(connection.InternalConnection());
  EDAError* seen = nullptr;
  bool fail = true;
  connection.OnError = [&](TObject& sender, EDAError& error, bool& failFlag) {
    EXPECT_EQ(&sender, &connection);
    EXPECT_EQ(error.Component(), &connection);
    EXPECT_NE(dynamic_cast<EUniError*>(&error), nullptr);
    seen = &error;
    failFlag = fail;
  };
  EXPECT_THROW(sqlite->ExecSQL("select * from nowhere"), ESQLiteError);
  EXPECT_NE(seen, nullptr);
  fail = false;
  EXPECT_THROW(sqlite->ExecSQL("select * from nowhere"), EAbort);
}

TEST_F(UniConnectionTest, AFirstOpenRefusedForAnOptionStillReportsLaterErrorsToTheComponent) {
  int seen = 0;
  connection.OnError = [&](TObject& sender, EDAError& error, bool&) {
    EXPECT_EQ(&sender, &connection);
    EXPECT_EQ(error.Component(), &connection);
    ++seen;
  };
  connection.SpecificOptions().Add("BusyTimeout=soon");
  EXPECT_EQ(openFails(connection), "Invalid value: soon for option BusyTimeout");
  ASSERT_NE(connection.InternalConnection(), nullptr) << "the provider's object is kept";
  EXPECT_EQ(openFails(connection), "Invalid value: soon for option BusyTimeout") << "refused again, not skipped";
  connection.SpecificOptions().Put(0, "BusyTimeout=100");
  connection.Connect();
  EXPECT_EQ(std::get<int>(prop(connection, prBusyTimeout)), 100);
  auto* sqlite = static_cast<TSQLiteConnection*>(connection.InternalConnection());
  try {
    sqlite->ExecSQL("select * from nowhere");
    FAIL() << "no such table";
  } catch (const ESQLiteError& e) {
    EXPECT_EQ(e.Component(), &connection);
  }
  EXPECT_EQ(seen, 1);
}

TEST_F(UniConnectionTest, AConnectionStoredAsOpenOpensWhenLoadingEnds) {
  TComponent window(nullptr);
  window.BeginLoading();
  auto* stored = new TUniConnection(&window);
  stored->SetProviderName("SQLite");
  stored->SetDatabase(folder.file("stored.db"));
  stored->SetConnected(true);
  EXPECT_FALSE(stored->Connected()) << "nothing opens while the window is read";
  auto* notKept = new TUniConnection(&window);
  notKept->Options().KeepDesignConnected = false;
  notKept->SetProviderName("SQLite");
  notKept->SetDatabase(folder.file("notkept.db"));
  notKept->SetConnected(true);
  window.EndLoading();
  EXPECT_TRUE(stored->Connected());
  EXPECT_FALSE(notKept->Connected());
}

TEST_F(UniConnectionTest, AFailedOpenLeavesNothingOpen) {
  connection.SpecificOptions().Add("ClientLibrary=" + AnsiString(kPlainSQLite));
  connection.SpecificOptions().Add("EncryptionKey=x");
  FreeSQLiteLib();
  EXPECT_EQ(openFails(connection), kNoEncryptionMessage);
  EXPECT_FALSE(connection.Connected());
  ASSERT_NE(connection.InternalConnection(), nullptr);
  EXPECT_EQ(static_cast<TSQLiteConnection*>(connection.InternalConnection())->GetDatabaseHandle(), nullptr);
  EXPECT_EQ(ActiveConnectionCount(), 0);
  SetClientLibraryName("");
  FreeSQLiteLib();
}

TEST_F(UniConnectionTest, TransactionsCommitAndRollBack) {
  connection.Connect();
  auto* sqlite = static_cast<TSQLiteConnection*>(connection.InternalConnection());
  sqlite->ExecSQL("create table t(x)");
  connection.StartTransaction();
  EXPECT_TRUE(connection.InTransaction());
  sqlite->ExecSQL("insert into t values (1)");
  connection.Rollback();
  EXPECT_FALSE(connection.InTransaction());
  EXPECT_THROW(connection.Commit(), Exception) << "nothing to commit";
  connection.StartTransaction();
  sqlite->ExecSQL("insert into t values (2)");
  connection.Commit();
  connection.Disconnect();
  connection.Connect();
  sqlite = static_cast<TSQLiteConnection*>(connection.InternalConnection());
  // Only the committed row is there: each insert passes its check only then.
  sqlite->ExecSQL("create table one(y check (y = 1))");
  EXPECT_NO_THROW(sqlite->ExecSQL("insert into one select count(*) from t where x = 2"));
  EXPECT_NO_THROW(sqlite->ExecSQL("insert into one select count(*) + 1 from t where x = 1"));
}

TEST_F(UniConnectionTest, TextPassesUnchangedOnlyOnAnEightBitDatabase) {
  const AnsiString poem = text::utf8ToAnsi("床前明月光");
  connection.Connect();
  auto* utf8 = static_cast<TSQLiteConnection*>(connection.InternalConnection());
  EXPECT_TRUE(utf8->IsUTF8Needed()) << "no options: UTF-8 everywhere";
  EXPECT_EQ(utf8->EncodeSQL("select '" + poem + "'"), "select '床前明月光'");
  EXPECT_EQ(utf8->DecodeText("明月", 6), text::utf8ToAnsi("明月"));
  EXPECT_EQ(utf8->DecodeName("名", 3), u"名");

  connection.SpecificOptions().Add("ASCIIDataBase=True");
  connection.Connect();
  auto* ansi = static_cast<TSQLiteConnection*>(connection.InternalConnection());
  EXPECT_FALSE(ansi->IsUTF8Needed());
  EXPECT_EQ(ansi->EncodeSQL(poem), poem);
  EXPECT_EQ(ansi->DecodeText(poem.data(), static_cast<int>(poem.size())), poem);
  EXPECT_EQ(ansi->DecodeName(poem.data(), 4), u"床前");
  EXPECT_EQ(ansi->EncodeParamText(u"明月"), text::utf8ToAnsi("明月"));
  connection.SpecificOptions().Add("UseUnicode=True");
  connection.Connect();
  EXPECT_TRUE(static_cast<TSQLiteConnection*>(connection.InternalConnection())->IsUTF8Needed());
}

TEST_F(UniConnectionTest, UniNoCaseComparesWithoutLetterCaseUntilItIsTurnedOff) {
  connection.SpecificOptions().Add("ASCIIDataBase=True");
  connection.Connect();
  auto* sqlite = static_cast<TSQLiteConnection*>(connection.InternalConnection());
  sqlite->ExecSQL("create table one(y check (y = 1))");
  EXPECT_NO_THROW(sqlite->ExecSQL("insert into one select 1 where 'tang' = 'TANG' collate UniNoCase"));
  EXPECT_NO_THROW(sqlite->ExecSQL("insert into one select 1 where 'Tang' < 'song' collate UniNoCase"));
  EXPECT_NO_THROW(sqlite->ExecSQL("insert into one select 1 where '" + text::utf8ToAnsi("唐") + "' <> '" +
                                  text::utf8ToAnsi("宋") + "' collate UniNoCase"));
  EXPECT_EQ(UniNoCaseCompare(u"straße", u"STRASSE") != 0, true) << "code units, not linguistic rules";
  EXPECT_EQ(UniNoCaseCompare(u"abc", u"ABCD"), -1);
  connection.SpecificOptions().Add("DefaultCollations=False");
  connection.Connect();
  sqlite = static_cast<TSQLiteConnection*>(connection.InternalConnection());
  EXPECT_THROW(sqlite->ExecSQL("select 'a' = 'A' collate UniNoCase"), ESQLiteError) << "no such collation";
}

TEST_F(UniConnectionTest, ItsMacrosAndItsProviderShapeEveryStatement) {
  connection.Macros().Add("poems", "sici");
  const TUniProvider* sqlite = TUniProviders::Instance().GetProvider("SQLite");
  EXPECT_EQ(StatementText("select * from {poems} where {fn CHAR_LENGTH(tm)} > 2 \r\n", connection.Formatting(), sqlite),
            "select * from sici where LENGTH(tm) > 2");
  EXPECT_EQ(StatementText("select {if SQLITE}1{else}2{endif}", connection.Formatting(), sqlite), "select 1");
  connection.Macros().Add("poems", "poet");
  EXPECT_EQ(StatementText("select * from {poems}", connection.Formatting(), sqlite), "select * from sici")
      << "the first definition of a name counts";
  const AnsiString poem = text::utf8ToAnsi("select id,tm as 作品 from sici where zz ='李白'");
  EXPECT_EQ(StatementText(poem, connection.Formatting(), sqlite), poem);
}

TEST_F(UniConnectionTest, ASharedCacheLetsAReaderSeeUncommittedRowsOnlyWhenItAsks) {
  connection.Connect();
  static_cast<TSQLiteConnection*>(connection.InternalConnection())->ExecSQL("create table t(x)");
  static_cast<TSQLiteConnection*>(connection.InternalConnection())->ExecSQL("insert into t values (1)");
  // What a second connection reads while the first one holds an uncommitted second row.
  const auto readerSees = [&](bool sharedCache, bool readUncommitted) -> std::string {
    const auto flag = [](const char* name, bool on) { return std::string(name) + (on ? "=True" : "=False"); };
    connection.SpecificOptions().Clear();
    connection.SpecificOptions().Add(flag("EnableSharedCache", sharedCache));
    TUniConnection reader(nullptr);
    reader.SetProviderName("SQLite");
    reader.SetDatabase(folder.file("test.db"));
    reader.SpecificOptions().Add(flag("EnableSharedCache", sharedCache));
    reader.SpecificOptions().Add(flag("ReadUncommitted", readUncommitted));
    connection.Connect();
    reader.Connect();
    auto* writer = static_cast<TSQLiteConnection*>(connection.InternalConnection());
    writer->ExecSQL("begin");
    writer->ExecSQL("insert into t values (2)");
    std::string seen;
    try {
      TUniQuery count(nullptr);
      count.SetConnection(&reader);
      count.SQL().Add("select count(*) as n from t");
      count.Open();
      seen = count.FieldByName("n").AsString() + " rows";
    } catch (const EDAError& e) {
      seen = "refused with " + std::to_string(e.ErrorCode());
    }
    writer->ExecSQL("rollback");
    return seen;
  };
  EXPECT_EQ(readerSees(false, false), "1 rows");
  EXPECT_EQ(readerSees(false, true), "1 rows") << "without a shared cache there is nothing uncommitted to read";
  EXPECT_EQ(readerSees(true, false), "refused with 6") << "the table is locked in the shared cache";
  EXPECT_EQ(readerSees(true, true), "2 rows");
  connection.SpecificOptions().Clear();
  connection.Connect();
  TUniConnection other(nullptr);
  other.SetProviderName("SQLite");
  other.SetDatabase(folder.file("test.db"));
  other.Connect();
  auto* writer = static_cast<TSQLiteConnection*>(connection.InternalConnection());
  writer->ExecSQL("begin");
  writer->ExecSQL("insert into t values (2)");
  TUniQuery count(nullptr);
  count.SetConnection(&other);
  count.SQL().Add("select count(*) as n from t");
  count.Open();
  EXPECT_EQ(count.FieldByName("n").AsInteger(), 1) << "the default is no shared cache";
  writer->ExecSQL("rollback");
}
