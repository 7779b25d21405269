#include "data/sqlite/SQLiteUniProvider.h"

#include "data/sqlite/LiteClassesUni.h"
#include "data/sqlite/LiteFormatter.h"
#include "data/sqlite/LiteParser.h"
#include "data/sqlite/LiteRecordSet.h"

TSQLiteUniProvider::TSQLiteUniProvider(TComponent* owner) : TUniProvider(owner) {}

std::unique_ptr<TCRConnection> TSQLiteUniProvider::CreateConnection() const {
  return std::make_unique<TSQLiteConnection>();
}

std::unique_ptr<TCRTransaction> TSQLiteUniProvider::CreateTransaction() const {
  return std::make_unique<TSQLiteTransaction>();
}

std::unique_ptr<TCRRecordSet> TSQLiteUniProvider::CreateRecordSet() const {
  return std::make_unique<TSQLiteRecordSet>();
}

TSqlFormatterClass TSQLiteUniProvider::GetSqlFormatterClass() const { return NewFormatter<TLiteFormatter>; }

TSQLParserClass TSQLiteUniProvider::GetParserClass() const { return NewParser<TLiteParser>; }

void TSQLiteUniProvider::FillDataSetOptions(TOptionsList& list) {
  const std::type_index recordSet = typeid(TSQLiteRecordSet);
  list.Add(std::make_unique<TBooleanOption>("ExtendedFieldsInfo", prExtendedFieldsInfo, recordSet, true));
  list.Add(std::make_unique<TBooleanOption>("FetchAll", prFetchAll, recordSet, false));
}

void TSQLiteUniProvider::FillConnectionOptions(TOptionsList& list) {
  const std::type_index connection = typeid(TSQLiteConnection);
  list.Add(std::make_unique<TBooleanOption>("ASCIIDataBase", prASCIIDataBase, connection, false));
  list.Add(std::make_unique<TIntegerOption>("BusyTimeout", prBusyTimeout, connection, 0));
  list.Add(std::make_unique<TStringOption>("ClientLibrary", prClientLibrary, connection, AnsiString()));
  list.Add(std::make_unique<TDateTimeFormatOption>("DateFormat", prDateFormat, connection, AnsiString()));
  list.Add(std::make_unique<TBooleanOption>("DefaultCollations", prDefaultCollations, connection, true));
  list.Add(std::make_unique<TBooleanOption>("EnableSharedCache", prEnableSharedCache, connection, false));
  list.Add(std::make_unique<TStringOption>("EncryptionKey", prEncryptionKey, connection, AnsiString()));
  list.Add(std::make_unique<TBooleanOption>("ReadUncommitted", prReadUncommitted, connection, false));
  list.Add(std::make_unique<TDateTimeFormatOption>("TimeFormat", prTimeFormat, connection, AnsiString()));
  list.Add(std::make_unique<TBooleanOption>("UseUnicode", prUseUnicode, connection, false));
}

void RegisterSQLiteProvider() {
  TUniProviders::Instance().RegisterProvider("SQLite", [] { return std::make_unique<TSQLiteUniProvider>(nullptr); });
}

void UnRegisterSQLiteProvider() { TUniProviders::Instance().UnRegisterProvider("SQLite"); }

namespace {
// The provider is there from the start, as soon as this unit is part of the program.
const struct SQLiteProviderRegistration {
  SQLiteProviderRegistration() { RegisterSQLiteProvider(); }
} registration;
}  // namespace
