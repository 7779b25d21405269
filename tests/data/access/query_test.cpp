// The reader's statements through the query component, against small GBK databases made
// here: the catalogue (encrypted) and the text file.

#include <gtest/gtest.h>

#include <functional>

#include "data/sqlite/LiteClassesUni.h"
#include "data/sqlite/SQLiteUniProvider.h"
#include "data/access/UniQuery.h"
#include "tests/data/data_fixture.h"
#include "collection/CollectionSchema.h"

namespace {

AnsiString g(const char* utf8) { return text::utf8ToAnsi(utf8); }

class QueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    catalogue.SetName("c1");
    catalogue.SetProviderName("SQLite");
    catalogue.SetDatabase(folder.file("sici.idb"));
    catalogue.SpecificOptions().Add("SQLite.ASCIIDataBase=True");
    catalogue.SpecificOptions().Add("SQLite.EncryptionKey=lirn4302986K");
    catalogue.Connect();
    texts.SetProviderName("SQLite");
    texts.SetDatabase(folder.file("sici.dbf"));
    texts.SpecificOptions().Add("SQLite.ASCIIDataBase=True");
    texts.Connect();
    auto* c1 = static_cast<TSQLiteConnection*>(catalogue.InternalConnection());
    auto* c2 = static_cast<TSQLiteConnection*>(texts.InternalConnection());
    for (const char* table : collection::kCatalogueTables) c1->ExecSQL(table);
    for (const char* table : collection::kTextTables) c2->ExecSQL(table);
    c1->ExecSQL("begin");
    c2->ExecSQL("begin");
    // 60 poems: 1 静夜思 by 李白 (唐), the rest numbered, alternating between 杜甫 (唐) and 苏轼 (宋).
    for (int id = 1; id <= 60; ++id) {
      const AnsiString title = id == 1 ? g("静夜思") : g("诗") + std::to_string(id);
      const AnsiString author = id == 1 ? g("李白") : g(id % 2 ? "杜甫" : "苏轼");
      const AnsiString dynasty = g(id % 2 || id == 1 ? "唐" : "宋");
      c1->ExecSQL("insert into sici values (" + std::to_string(id) + ", '" + title + "', '" + author + "', '" +
                  dynasty + "', '" + g(id % 3 ? "五律" : "七绝") + "', '" + g(id % 5 ? "" : "送别") + "')");
      const AnsiString poem = id == 1 ? g("床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。")
                                      : id % 7 == 0 ? g("明月几时有") : g("白日依山尽");
      c2->ExecSQL("insert into sici values (" + std::to_string(id) + ", '" + poem + "', '', '', '')");
    }
    for (const char* poet : {"李白", "杜甫"}) c1->ExecSQL("insert into poet values ('" + g(poet) + "', '" + g("唐") + "', '" + g("诗人") + "')");
    c1->ExecSQL("insert into poet values ('" + g("苏轼") + "', '" + g("宋") + "', '')");
    c1->ExecSQL("commit");
    c2->ExecSQL("commit");
    query.SetConnection(&catalogue);
  }

  void open(TUniQuery& q, const AnsiString& sql) {
    q.Close();
    q.SQL().Clear();
    q.SQL().Add(sql);
    q.Open();
  }

  // Walks the query from where it stands, comparing each field's AsString with `expected`
  // row by row, and hands each field to `alsoCheck` with its column; the walk must end there.
  void expectTexts(const std::vector<std::vector<AnsiString>>& expected,
                   const std::function<void(TField&, int)>& alsoCheck) {
    for (const auto& row : expected) {
      ASSERT_FALSE(query.Eof());
      for (int i = 0; i < query.FieldCount(); ++i) {
        TField& field = *query.Fields()[i];
        SCOPED_TRACE(field.FieldName().c_str());
        EXPECT_EQ(field.AsString(), row[static_cast<std::size_t>(i)]);
        alsoCheck(field, i);
      }
      query.Next();
    }
    EXPECT_TRUE(query.Eof());
  }

  std::vector<AnsiString> fieldNames(TUniQuery& q) {
    std::vector<AnsiString> names;
    for (int i = 0; i < q.FieldCount(); ++i) names.push_back(q.Fields()[i]->FieldName());
    return names;
  }

  TempFolder folder;
  TUniConnection catalogue{nullptr};
  TUniConnection texts{nullptr};
  TUniQuery query{nullptr};
};

}  // namespace

TEST_F(QueryTest, ListStatementsNameTheirFieldsAfterTheAliases) {
  open(query, g("select id,tm as 作品,zz as 作者 from sici"));
  EXPECT_EQ(fieldNames(query), (std::vector<AnsiString>{"id", g("作品"), g("作者")}));
  EXPECT_EQ(query.FieldByName(g("作品")).AsString(), g("静夜思"));
  EXPECT_EQ(query.Fields()[0]->AsString(), "1");

  open(query, g("select id,tm as 作品 from sici"));
  EXPECT_EQ(fieldNames(query), (std::vector<AnsiString>{"id", g("作品")}));
  ASSERT_NE(query.IdentityField(), nullptr) << "the integer primary key is the identity field";
  EXPECT_EQ(query.IdentityField()->FieldName(), "id");

  open(query, g("select zz as 唐作者 from poet where nd like '%唐%'"));
  EXPECT_EQ(fieldNames(query), (std::vector<AnsiString>{g("唐作者")}));
  EXPECT_EQ(query.RecordCount(), 2);
  EXPECT_EQ(query.IdentityField(), nullptr);

  open(query, g("select id,tm as 李白作品 from sici where zz ='李白'"));
  EXPECT_EQ(fieldNames(query)[1], g("李白作品"));
  EXPECT_EQ(query.RecordCount(), 1);

  open(query, g("select id,tm as 作品 from sici where zz ='楚嵩'"));
  EXPECT_EQ(query.RecordCount(), 0);
  EXPECT_TRUE(query.Eof());
  EXPECT_EQ(query.FieldByName(g("作品")).AsString(), "") << "no record: the empty text";
}

TEST_F(QueryTest, RowsArriveInBlocksOfTwentyFive) {
  open(query, g("select id,tm as 作品,zz as 作者 from sici"));
  EXPECT_EQ(query.RecordCount(), 25);
  int seen = 0;
  for (query.First(); !query.Eof(); query.Next()) {
    ++seen;
    if (seen == 26) {
      EXPECT_EQ(query.RecordCount(), 50) << "moving past record 25 fetched the next block";
    }
  }
  EXPECT_EQ(seen, 60);
  EXPECT_EQ(query.RecordCount(), 60);

  open(query, "select id from sici where id <= 25");
  query.Last();
  EXPECT_EQ(query.RecordCount(), 25);
  EXPECT_EQ(query.RecNo(), 25);
  open(query, "select id from sici where id <= 26");
  EXPECT_EQ(query.RecordCount(), 25);
  query.Last();
  EXPECT_EQ(query.RecordCount(), 26);
  EXPECT_EQ(query.FieldByName("id").AsInteger(), 26);

  EXPECT_THROW(query.SetFetchRows(70000), Exception);
  EXPECT_EQ(query.FetchRows(), 25);
  EXPECT_NO_THROW(query.SetFetchRows(25)) << "the same value is no change, even while open";
}

TEST_F(QueryTest, SearchesFilterByWholeGbkCharacters) {
  open(query, g("select id,tm as 作品,zz as 作者 from sici where tm like '诗1%'"));
  EXPECT_EQ(query.RecordCount(), 10) << "诗10 … 诗19 (poem 1 is 静夜思)";
  open(query, g("select id,tm as 作品,zz as 作者 from sici where zz like '%苏%'"));
  EXPECT_EQ(query.RecordCount(), 25);
  query.Last();
  EXPECT_EQ(query.RecordCount(), 30);
  open(query, g("select id,tm as 作品,zz as 作者 from sici where 1=1  and tc like '七绝%' and lb ='送别' and nd like "
                "'%宋%' and zz like '%苏%' and tm like '%诗%'"));
  query.Last();
  EXPECT_EQ(query.RecordCount(), 2) << "ids 30 and 60";
}

TEST_F(QueryTest, ThePoemDisplayReadsOneRowFromEachFile) {
  TUniQuery row(nullptr);
  row.SetConnection(&catalogue);
  open(row, "SELECT * FROM sici where id='1' limit 1");
  EXPECT_EQ(row.FieldByName("zz").AsString(), g("李白"));
  EXPECT_EQ(row.FieldByName("tm").AsString(), g("静夜思"));
  EXPECT_EQ(row.FieldByName("lb").AsString(), "");

  TUniQuery text(nullptr);
  text.SetConnection(&texts);
  open(text, "SELECT * FROM sici where id='" + row.FieldByName("id").AsString() + "' limit 1");
  EXPECT_EQ(text.FieldByName("nr").AsString(), g("床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。"));

  TUniQuery poet(nullptr);
  poet.SetConnection(&catalogue);
  open(poet, "select * from poet where zz='" + row.FieldByName("zz").AsString() + "'");
  EXPECT_EQ(poet.FieldByName("js").AsString(), g("诗人"));

  open(text, "SELECT * FROM sici where id='999' limit 1");
  EXPECT_EQ(text.RecordCount(), 0) << "a poem missing from the text file";
}

TEST_F(QueryTest, ContentSearchCarriesNumbersAcrossTheTwoFiles) {
  TUniQuery scratch(nullptr);
  scratch.SetConnection(&catalogue);
  scratch.SQL().Add("replace INTO tmpid(id) VALUES (59);");
  scratch.Execute();

  TUniQuery found(nullptr);
  found.SetConnection(&texts);
  open(found, g("SELECT id FROM sici where nr like '%明月%'"));
  ASSERT_GT(found.RecordCount(), 0);
  scratch.SQL().Clear();
  scratch.SQL().Add("delete from tmpid;");
  scratch.Execute();
  EXPECT_FALSE(scratch.Active()) << "a statement without rows leaves the query closed";
  catalogue.StartTransaction();
  int written = 0;
  for (found.First(); !found.Eof(); found.Next()) {
    scratch.SQL().Clear();
    scratch.SQL().Add("replace INTO tmpid(id) VALUES (" + found.FieldByName("id").AsString() + ");");
    scratch.Execute();
    ++written;
  }
  catalogue.Commit();
  EXPECT_EQ(written, 9) << "1 and the eight multiples of 7";
  found.Close();
  scratch.Close();

  open(query, g("select sici.id as id,sici.tm as 作品,sici.zz as 作者 from sici ,tmpid where tmpid.id=sici.id"));
  EXPECT_EQ(fieldNames(query), (std::vector<AnsiString>{"id", g("作品"), g("作者")}));
  std::vector<int> ids;
  for (query.First(); !query.Eof(); query.Next()) ids.push_back(query.FieldByName("id").AsInteger());
  EXPECT_EQ(ids, (std::vector<int>{1, 7, 14, 21, 28, 35, 42, 49, 56})) << "59 is gone with the old contents";
}

TEST_F(QueryTest, FailuresLeaveTheQueryClosedWithAClearError) {
  const auto failsWith = [&](const AnsiString& sql) -> std::string {
    try {
      open(query, sql);
    } catch (const Exception& e) {
      EXPECT_FALSE(query.Active()) << sql;
      return e.Message();
    }
    return "(opened)";
  };
  EXPECT_EQ(failsWith("select * from nowhere"), "no such table: nowhere");
  EXPECT_EQ(failsWith("select nope from sici"), "no such column: nope");
  EXPECT_EQ(failsWith("delete from tmpid"), "SQL statement doesn't return rows");
  EXPECT_EQ(failsWith(g("select id from sici where tm like '诗''人'")), "(opened)")
      << "a doubled quote inside the literal is fine";
  EXPECT_NE(failsWith(g("select id from sici where tm like '诗'人'")), "(opened)") << "an unescaped quote";
  TUniQuery loose(nullptr);
  loose.SQL().Add("select 1");
  try {
    loose.Open();
    FAIL() << "no connection";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Connection is not defined");
  }
  try {
    open(query, "select * from nowhere");
    FAIL() << "no such table";
  } catch (const EUniError& e) {
    EXPECT_EQ(e.ErrorCode(), 1);
    EXPECT_EQ(e.Component(), &catalogue);
  }
  // A text of nothing but a comment is an empty statement, whether opened or executed.
  for (const char* sql : {"-- nothing", "/* nothing */ ;"}) {
    try {
      open(query, sql);
      FAIL() << sql;
    } catch (const EUniError& e) {
      EXPECT_EQ(e.Message(), "No SQL statement provided");
      EXPECT_EQ(e.Component(), &catalogue);
    }
    EXPECT_FALSE(query.Active());
    query.SQL().Clear();
    query.SQL().Add(sql);
    try {
      query.Execute();
      FAIL() << sql;
    } catch (const EUniError& e) {
      EXPECT_EQ(e.Message(), "No SQL statement provided");
    }
  }
}

TEST_F(QueryTest, ClosingTheConnectionClosesItsQueriesFirst) {
  open(query, "select id from sici");
  ASSERT_EQ(query.RecordCount(), 25) << "rows are still to come: the statement is open";
  TUniQuery other(nullptr);
  other.SetConnection(&catalogue);
  open(other, "select zz from poet");
  TUniQuery onTheOtherFile(nullptr);
  onTheOtherFile.SetConnection(&texts);
  open(onTheOtherFile, "select id from sici");
  std::vector<std::string> order;
  catalogue.BeforeDisconnect = [&](TObject&) { order.push_back(query.Active() ? "open" : "closed"); };
  query.AfterClose = [&](TDataSet&) { order.push_back("query closed"); };
  catalogue.AfterDisconnect = [&](TObject&) { order.push_back("disconnected"); };
  catalogue.Disconnect();  // SQLite refuses to close a handle with an open statement
  EXPECT_FALSE(catalogue.Connected());
  EXPECT_FALSE(query.Active());
  EXPECT_FALSE(other.Active());
  EXPECT_TRUE(onTheOtherFile.Active()) << "a query on another connection stays";
  EXPECT_EQ(order, (std::vector<std::string>{"open", "query closed", "disconnected"}));
  EXPECT_EQ(ActiveConnectionCount(), 1);
  query.AfterClose = nullptr;
  catalogue.BeforeDisconnect = catalogue.AfterDisconnect = nullptr;
  // Opening again reconnects.
  open(query, "select id from sici");
  EXPECT_TRUE(catalogue.Connected());
  EXPECT_EQ(query.RecordCount(), 25);
}

TEST_F(QueryTest, ChangingTheTextClosesTheQueryAndRebuildsItsFields) {
  open(query, "select id, tm from sici");
  query.SQL().Clear();
  EXPECT_FALSE(query.Active());
  query.SQL().Add(g("select zz as 作者 from sici"));
  query.Open();
  EXPECT_EQ(fieldNames(query), (std::vector<AnsiString>{g("作者")}));
  EXPECT_TRUE(query.Locate(g("作者"), {g("苏轼")}));
  EXPECT_EQ(query.RecNo(), 2);
  EXPECT_TRUE(query.Locate(g("作者"), {AnsiString("\xCB\xD5")}, loPartialKey)) << "苏 as a partial key";
  EXPECT_FALSE(query.Locate(g("作者"), {g("王维")}));
  EXPECT_EQ(query.RecNo(), 2) << "no match: no move";

  open(query, "select id, zz from sici");
  query.Next();
  EXPECT_EQ(std::get<std::int32_t>(query.Lookup("zz", {g("李白")}, "id")), 1);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(query.Lookup("zz", {g("王维")}, "id")));
  EXPECT_EQ(query.RecNo(), 2) << "a lookup does not move";
  EXPECT_EQ(query.FieldByName("id").AsInteger(), 2);
}

TEST_F(QueryTest, ParametersAreTheOnesTheProviderBinds) {
  const auto setParam = [](TUniQuery& q, const AnsiString& name, const TFieldValue& value) {
    TParamDesc* param = q.FindParam(name);
    ASSERT_NE(param, nullptr) << name;
    EXPECT_EQ(param->Name, name);
    param->DataType = std::holds_alternative<AnsiString>(value) ? dcString : dcInteger;
    param->Value = value;
  };
  // SQLite numbers its named parameters by the exact name: :p and :P are two.
  const AnsiString twoNames = "select id from sici where zz = :p or zz = :P";
  query.SQL().Add(twoNames);
  ASSERT_EQ(query.Params().size(), 2u);
  setParam(query, "p", g("李白"));
  setParam(query, "P", g("苏轼"));
  query.Open();
  query.Last();
  EXPECT_EQ(query.RecordCount(), 31) << "poem 1 and the 30 of the other poet";

  // Without a connection the generic rule holds; once the provider is known its rule does,
  // and the values already given stay with their names.
  TUniQuery later(nullptr);
  later.SQL().Add(twoNames);
  ASSERT_EQ(later.Params().size(), 1u);
  setParam(later, "p", g("李白"));
  later.SetConnection(&catalogue);
  ASSERT_EQ(later.Params().size(), 2u);
  setParam(later, "P", g("杜甫"));
  later.Open();
  later.Last();
  EXPECT_EQ(later.RecordCount(), 30);

  TUniQuery scratch(nullptr);
  scratch.SQL().Add("replace INTO tmpid(id) VALUES (:x + :X)");
  scratch.SetConnection(&catalogue);
  setParam(scratch, "x", std::int32_t{40});
  setParam(scratch, "X", std::int32_t{2});
  scratch.Execute();
  open(later, "select id from tmpid");
  EXPECT_EQ(later.FieldByName("id").AsInteger(), 42) << "neither value was bound as NULL";

  // Switching the check off keeps the list as it is.
  later.SQL().Clear();
  later.SQL().Add(twoNames);
  later.ParamCheck = false;
  later.SQL().Clear();
  later.SQL().Add("select :a");
  EXPECT_EQ(later.Params().size(), 2u);
}

TEST_F(QueryTest, NumericColumnsBecomeBcdWhenTheQueryOrItsConnectionAsks) {
  auto* c1 = static_cast<TSQLiteConnection*>(catalogue.InternalConnection());
  c1->ExecSQL("create table goods(price decimal(10,2), weight numeric)");
  c1->ExecSQL("insert into goods values (12.34, 5)");
  struct Case {
    bool connectionBCD, queryBCD, queryFMTBCD;
    TFieldType price;
  };
  for (const Case c : {Case{false, false, false, ftFloat}, Case{false, true, false, ftBCD},
                       Case{false, false, true, ftFMTBcd}, Case{false, true, true, ftFMTBcd},
                       Case{true, false, false, ftBCD}, Case{true, false, true, ftFMTBcd}}) {
    SCOPED_TRACE(std::to_string(c.connectionBCD) + std::to_string(c.queryBCD) + std::to_string(c.queryFMTBCD));
    TUniConnection connection(nullptr);
    connection.SetProviderName("SQLite");
    connection.SetDatabase(folder.file("sici.idb"));
    connection.SpecificOptions().Add("SQLite.ASCIIDataBase=True");
    connection.SpecificOptions().Add("SQLite.EncryptionKey=lirn4302986K");
    connection.Options().EnableBCD = c.connectionBCD;
    TUniQuery q(nullptr);
    q.SetConnection(&connection);
    q.Options().EnableBCD = c.queryBCD;
    q.Options().EnableFMTBCD = c.queryFMTBCD;
    open(q, "select price, weight from goods");
    EXPECT_EQ(q.FieldByName("price").DataType(), c.price);
    EXPECT_EQ(q.FieldByName("weight").DataType(), c.price);
    EXPECT_DOUBLE_EQ(q.FieldByName("price").AsFloat(), 12.34);
    EXPECT_EQ(q.FieldByName("weight").AsInteger(), 5);
  }
}

TEST_F(QueryTest, ABlobStreamReadsTheFieldOfTheCurrentRecord) {
  auto* c2 = static_cast<TSQLiteConnection*>(texts.InternalConnection());
  c2->ExecSQL("create table pics(id integer primary key, img blob, nr text)");
  c2->ExecSQL("insert into pics values (1, x'00FF10', null)");
  c2->ExecSQL("insert into pics values (2, null, '" + g("明月") + "')");
  const auto readAll = [](TStream& stream) {
    std::string bytes(static_cast<std::size_t>(stream.Size()) + 4, '?');
    bytes.resize(stream.Read(bytes.data(), bytes.size()));
    return bytes;
  };
  TUniQuery q(nullptr);
  q.SetConnection(&texts);
  open(q, "SELECT * FROM sici where id='1' limit 1");
  std::unique_ptr<TStream> poem = q.CreateBlobStream(q.FieldByName("nr"), bmRead);
  ASSERT_NE(poem, nullptr);
  const AnsiString text = g("床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。");
  EXPECT_EQ(poem->Size(), static_cast<std::int64_t>(text.size()));
  EXPECT_EQ(readAll(*poem), text);
  EXPECT_EQ(poem->Read(nullptr, 0), 0u);
  char piece[4] = {};
  EXPECT_EQ(poem->Seek(-4, soEnd), static_cast<std::int64_t>(text.size()) - 4);
  EXPECT_EQ(poem->Read(piece, 8), 4u) << "no further than the end";
  EXPECT_EQ(std::string(piece, 4), text.substr(text.size() - 4));
  EXPECT_EQ(poem->Seek(-100000, soCurrent), 0) << "never before the beginning";
  poem->SetPosition(static_cast<std::int64_t>(text.size()) + 10);
  EXPECT_EQ(poem->Read(piece, 4), 0u) << "nothing past the end";
  EXPECT_THROW(poem->Write("x", 1), Exception);

  open(q, "select img, nr, id from pics order by id");
  EXPECT_EQ(readAll(*q.CreateBlobStream(q.FieldByName("img"), bmRead)), std::string("\x00\xFF\x10", 3));
  EXPECT_EQ(q.CreateBlobStream(q.FieldByName("nr"), bmRead)->Size(), 0) << "NULL reads as nothing";
  q.Next();
  EXPECT_EQ(q.CreateBlobStream(q.FieldByName("img"), bmRead)->Size(), 0);
  std::unique_ptr<TStream> memo = q.CreateBlobStream(q.FieldByName("nr"), bmRead);
  EXPECT_EQ(readAll(*memo), g("明月"));

  const auto refusal = [&](const AnsiString& field, TBlobStreamMode mode) -> std::string {
    try {
      q.CreateBlobStream(q.FieldByName(field), mode);
    } catch (const Exception& e) {
      return e.Message();
    }
    return "(made)";
  };
  EXPECT_EQ(refusal("nr", bmWrite), "Dataset not in edit or insert mode");
  EXPECT_EQ(refusal("nr", bmReadWrite), "Dataset not in edit or insert mode");
  q.FieldByName("nr").SetReadOnly(true);
  EXPECT_EQ(refusal("nr", bmWrite), "Field 'nr' cannot be modified");
  EXPECT_EQ(refusal("nr", bmRead), "(made)");
  EXPECT_EQ(refusal("id", bmRead), "Field is not BLOB");
  TUniQuery other(nullptr);
  other.SetConnection(&texts);
  open(other, "select nr from pics");
  try {
    q.CreateBlobStream(other.FieldByName("nr"), bmRead);
    FAIL() << "a field of another data set";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Field 'nr' not found");
  }

  // A stream kept past the close of its data set refuses to read, without reading freed memory.
  q.Close();
  EXPECT_THROW(readAll(*memo), Exception);
  open(q, "select img from pics where id > 2");
  EXPECT_EQ(q.CreateBlobStream(q.FieldByName("img"), bmRead)->Size(), 0) << "no record: an empty stream";
}

TEST_F(QueryTest, TheIntegerPrimaryKeyIsAnAutoIncrementField) {
  open(query, g("select id,tm as 作品 from sici"));
  EXPECT_EQ(query.FieldByName("id").AutoGenerateValue(), arAutoInc);
  EXPECT_EQ(query.FieldByName(g("作品")).AutoGenerateValue(), arNone);
  EXPECT_TRUE(query.Data()->FieldByName("id").AutoGenerated);

  open(query, "select tm as id from sici");
  EXPECT_EQ(query.FieldByName("id").AutoGenerateValue(), arNone) << "an alias that happens to be the key's name";
  EXPECT_EQ(query.IdentityField(), nullptr);

  // Without the extended field information there is no lookup, unless default values want it.
  query.SpecificOptions().Add("SQLite.ExtendedFieldsInfo=False");
  open(query, "select id from sici");
  EXPECT_EQ(query.FieldByName("id").AutoGenerateValue(), arNone);
  EXPECT_EQ(query.IdentityField(), nullptr);
  query.Options().DefaultValues = true;
  open(query, "select id from sici");
  EXPECT_EQ(query.FieldByName("id").AutoGenerateValue(), arAutoInc);
  query.Options().DefaultValues = false;
  query.SpecificOptions().Clear();

  // A table whose name holds a quote is looked up like any other.
  static_cast<TSQLiteConnection*>(catalogue.InternalConnection())
      ->ExecSQL("create table \"it's\"(id integer primary key, v varchar(8))");
  open(query, "select id, v from \"it's\"");
  ASSERT_NE(query.IdentityField(), nullptr);
  EXPECT_EQ(query.FieldByName("id").AutoGenerateValue(), arAutoInc);
}

TEST_F(QueryTest, FetchAllReadsEveryRowAtOpen) {
  query.SpecificOptions().Add("SQLite.FetchAll=True");
  open(query, "select id from sici");
  EXPECT_EQ(query.RecordCount(), 60);
  query.SpecificOptions().Clear();
  query.SpecificOptions().Add("FetchAll=False");
  open(query, "select id from sici");
  EXPECT_EQ(query.RecordCount(), 25);
  query.SpecificOptions().Clear();
  query.SpecificOptions().Add("SQLite.FetchAll=maybe");
  try {
    open(query, "select id from sici");
    FAIL() << "not a boolean";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid value: maybe for option FetchAll");
  }
  EXPECT_FALSE(query.Active());
}

TEST_F(QueryTest, TextFieldsReadTheTextTheirValuesHoldUnderEachOption) {
  auto* c1 = static_cast<TSQLiteConnection*>(catalogue.InternalConnection());
  c1->ExecSQL("create table t(id integer primary key, a varchar(10), b varchar(100), c varchar, d text)");
  const AnsiString long3000(3000, 'x');
  c1->ExecSQL("insert into t values (1, 'ab  ', '" + g("静夜\n思") + "  ', '" + long3000 + " \n', 'memo\n')");
  c1->ExecSQL("insert into t values (2, null, null, null, null)");
  c1->ExecSQL("insert into t values (3, '', '', '', '')");
  for (const bool trimVar : {false, true})
    for (const bool convertEOL : {false, true}) {
      SCOPED_TRACE(std::string("TrimVarChar ") + (trimVar ? "on" : "off") + ", ConvertEOL " + (convertEOL ? "on" : "off"));
      query.Options().TrimVarChar = trimVar;
      catalogue.Options().ConvertEOL = convertEOL;
      open(query, "select * from t");
      const AnsiString eol = convertEOL ? "\r\n" : "\n";
      const std::vector<std::vector<AnsiString>> expected = {
          {"1", trimVar ? "ab" : "ab  ", g("静夜") + eol + g("思") + (trimVar ? "" : "  "),
           long3000 + " " + eol, "memo\n"},
          {"2", "", "", "", ""},
          {"3", "", "", "", ""},
      };
      expectTexts(expected, [](TField& field, int column) {
        if (column < 1 || column > 3) return;
        EXPECT_NE(dynamic_cast<TStringField*>(&field), nullptr);
        const TFieldValue value = field.Value();
        EXPECT_EQ(field.AsString(), field.IsNull() ? AnsiString() : std::get<AnsiString>(value));
      });
    }
  catalogue.Options().ConvertEOL = false;
}

TEST_F(QueryTest, IntegerFieldsReadTheDigitsOfTheirValues) {
  auto* c1 = static_cast<TSQLiteConnection*>(catalogue.InternalConnection());
  c1->ExecSQL("create table n(i integer, s smallint, b bigint, w int, f float)");
  c1->ExecSQL("insert into n values (-2147483648, -32768, -9223372036854775808, 0, 1.5)");
  c1->ExecSQL("insert into n values (2147483647, 32767, 9223372036854775807, 65535, null)");
  c1->ExecSQL("insert into n values (null, null, null, null, 0)");
  c1->ExecSQL("insert into n values (0, 0, 0, 0, -0.25)");
  open(query, "select * from n");
  const std::vector<std::vector<AnsiString>> expected = {
      {"-2147483648", "-32768", "-9223372036854775808", "0", "1.5"},
      {"2147483647", "32767", "9223372036854775807", "65535", ""},
      {"", "", "", "", "0"},
      {"0", "0", "0", "0", "-0.25"},
  };
  expectTexts(expected, [](TField& field, int column) {
    if (column == 4) return;
    EXPECT_TRUE(dynamic_cast<TIntegerField*>(&field) || dynamic_cast<TLargeintField*>(&field)) << field.ClassName();
    if (!field.IsNull()) EXPECT_EQ(field.AsString(), std::to_string(field.AsLargeInt()));
  });
}

TEST_F(QueryTest, ABookmarkIntoAForwardOnlyBlockThatWasRefilledSaysItsRecordIsGone) {
  query.SetUniDirectional(true);
  open(query, "select id from sici");
  query.MoveBy(2);
  ASSERT_EQ(query.FieldByName("id").AsInteger(), 3);
  const TBookmark third = query.GetBookmark();
  query.MoveBy(1);
  const TBookmark fourth = query.GetBookmark();
  query.GotoBookmark(third);
  EXPECT_EQ(query.FieldByName("id").AsInteger(), 3) << "within the block read so far";

  while (query.FieldByName("id").AsInteger() < 30) query.Next();
  EXPECT_FALSE(query.BookmarkValid(third)) << "its block now holds records 26 to 50";
  try {
    query.GotoBookmark(third);
    ADD_FAILURE() << "went back to record " << query.FieldByName("id").AsInteger() << " for record 3";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Record not found");
  }
  EXPECT_EQ(query.FieldByName("id").AsInteger(), 30) << "the data set stays where it was";
  query.Next();
  EXPECT_EQ(query.FieldByName("id").AsInteger(), 31) << "and goes on from there";
  EXPECT_THROW(query.GotoBookmark(fourth), EDatabaseError);

  const TBookmark here = query.GetBookmark();
  query.Next();
  query.GotoBookmark(here);
  EXPECT_EQ(query.FieldByName("id").AsInteger(), 31) << "a bookmark in the current block still works";
}
