#include "data/sqlite/LiteMetaData.h"

#include "data/sqlite/LiteParser.h"
#include "data/sqlite/LiteRecordSet.h"
#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"

namespace {

bool isOneOf(const AnsiString& word, std::initializer_list<const char*> words) {
  for (const char* w : words)
    if (classes::sameText(word, w)) return true;
  return false;
}

AnsiString unquoted(const AnsiString& name) {
  if (name.size() >= 2 && (name.front() == '"' || name.front() == '`' || name.front() == '\'') && name.back() == name.front())
    return name.substr(1, name.size() - 2);
  if (!name.empty() && name.front() == '[') return name.substr(1, name.back() == ']' ? name.size() - 2 : name.size() - 1);
  return name;
}

}  // namespace

std::vector<TLiteColumnInfo> ParseCreateTable(const AnsiString& tableName, const AnsiString& createSql) {
  TLiteParser parser(createSql);
  parser.OmitBlank = true;
  parser.OmitComment = true;
  parser.QuotedString = true;
  parser.Uppered = false;
  parser.UnknownAsSymbol = true;
  AnsiString token;
  // Everything up to the first "(" is the statement's head.
  int code;
  while ((code = parser.GetNext(token)) != lcEnd && token != "(") {
  }
  std::vector<TLiteColumnInfo> columns;
  while (code != lcEnd) {
    // One entry: the words up to a "," outside parentheses.
    std::vector<AnsiString> words;
    int depth = 0;
    while ((code = parser.GetNext(token)) != lcEnd) {
      if (token == "(") ++depth;
      if (token == ")" && depth-- == 0) break;
      if (token == "," && depth == 0) break;
      words.push_back(token);
    }
    if (words.empty() || isOneOf(words[0], {"constraint", "primary", "foreign", "check", "unique"})) {
      if (token == ")" && depth < 0) break;
      continue;
    }
    TLiteColumnInfo column;
    column.TableName = tableName;
    column.ColumnName = unquoted(words[0]);
    column.Position = static_cast<int>(columns.size()) + 1;
    std::size_t i = 1;
    for (; i < words.size(); ++i) {
      if (isOneOf(words[i], {"primary", "unique", "foreign", "check", "autoincrement", "not", "null", "default"})) break;
      if (!column.DataType.empty() && words[i] != "(" && words[i] != ")" && words[i] != "," &&
          column.DataType.back() != '(' && column.DataType.back() != ',')
        column.DataType += ' ';
      column.DataType += words[i];
    }
    for (; i < words.size(); ++i) {
      if (classes::sameText(words[i], "primary") && classes::sameText(column.DataType, "integer")) column.Nullable = false;
      if (classes::sameText(words[i], "default") && i + 1 < words.size()) {
        column.HasDefault = true;
        column.DefaultValue = words[i + 1];
      }
    }
    columns.push_back(std::move(column));
    if (token == ")" && depth < 0) break;
  }
  return columns;
}

std::vector<TLiteColumnInfo> GetTableColumns(TSQLiteConnection& connection, const AnsiString& tableName,
                                             const AnsiString& columnName) {
  if (tableName.empty()) throw Exception("TABLE_NAME restriction must be set");
  TSQLiteRecordSet rs;
  rs.SetConnection(&connection);
  // The name comes from a statement or the file, so it travels as a value, never as SQL. Both
  // sides are lower-cased by SQLite, which folds the same bytes whatever the text encoding.
  rs.SetSQL("SELECT sql FROM sqlite_master WHERE Lower(name) = Lower(:name) AND type = 'table'");
  rs.Params = {TParamDesc{"name", dcString, tableName}};
  rs.Open();
  TRecordBytes row = rs.AllocRecBuf();
  if (!rs.GetNextRecord(row.data())) return {};
  const TFieldValue sql = rs.GetValue(1, row.data());
  if (!std::holds_alternative<AnsiString>(sql)) return {};
  std::vector<TLiteColumnInfo> columns = ParseCreateTable(tableName, std::get<AnsiString>(sql));
  if (!columnName.empty())
    std::erase_if(columns, [&](const TLiteColumnInfo& c) { return !classes::sameText(c.ColumnName, columnName); });
  return columns;
}

std::vector<AnsiString> TSQLiteConnection::GetAutoIncColumns(const AnsiString& tableName) {
  std::vector<AnsiString> names;
  for (const TLiteColumnInfo& column : GetTableColumns(*this, tableName))
    if (!column.Nullable) names.push_back(column.ColumnName);
  return names;
}
