#pragma once
// Column descriptions of an SQLite table, read from the statement that created it.

#include <vector>

#include "platform/text/AnsiText.h"

class TSQLiteConnection;

struct TLiteColumnInfo {
  AnsiString TableName;
  AnsiString ColumnName;
  int Position = 0;  // from 1
  AnsiString DataType;
  bool Nullable = true;  // false for an INTEGER PRIMARY KEY, whose values SQLite assigns
  bool HasDefault = false;
  AnsiString DefaultValue;
};

// The columns of `tableName` (ASCII case ignored), or only `columnName` when given; raises
// "TABLE_NAME restriction must be set" for an empty table name. Empty for an unknown table.
std::vector<TLiteColumnInfo> GetTableColumns(TSQLiteConnection& connection, const AnsiString& tableName,
                                             const AnsiString& columnName = AnsiString());

// The column definitions of a CREATE TABLE statement.
std::vector<TLiteColumnInfo> ParseCreateTable(const AnsiString& tableName, const AnsiString& createSql);
