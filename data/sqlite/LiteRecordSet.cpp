#include "data/sqlite/LiteRecordSet.h"

#include <cstdio>
#include <cstring>

#include "data/records/DateTimeText.h"
#include "data/records/ValueCodec.h"
#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteDataTypes.h"
#include "data/sqlite/LiteParser.h"
#include "platform/classes/Exceptions.h"

namespace {

bool boolProp(const TCRPropsObject& c, int prop) {
  TPropValue value;
  return c.GetProp(prop, value) && std::get<bool>(value);
}

AnsiString textProp(const TCRConnection& c, int prop) {
  TPropValue value;
  return c.GetProp(prop, value) ? std::get<AnsiString>(value) : AnsiString();
}

}  // namespace

TSQLiteRecordSet::TSQLiteRecordSet() : command_(std::make_unique<TSQLiteCommand>()) {}

TSQLiteRecordSet::~TSQLiteRecordSet() { ClearItems(); }

void TSQLiteRecordSet::SetConnection(TSQLiteConnection* connection) { command_->SetConnection(connection); }

void TSQLiteRecordSet::SetConnection(TCRConnection* connection) {
  auto* sqlite = dynamic_cast<TSQLiteConnection*>(connection);
  if (connection && !sqlite) throw Exception("The SQLite record set needs an SQLite connection");
  SetConnection(sqlite);
}

bool TSQLiteRecordSet::ExecuteNoRows() {
  if (!Connection()) throw Exception("Connection is not defined");
  const bool wasPrepared = command_->GetPrepared();
  prepareStatement();
  if (kind_ == skRows) return true;
  bindParamValues();
  try {
    command_->Execute();
  } catch (...) {
    if (!wasPrepared && !preparedByUser_) command_->Unprepare();
    throw;
  }
  if (!preparedByUser_) command_->Unprepare();
  return false;
}

void TSQLiteRecordSet::SetSQL(const AnsiString& sql) {
  Close();
  command_->SetSQL(sql);
  kind_ = skUnknown;
  preparedByUser_ = false;
}

void TSQLiteRecordSet::prepareStatement() {
  if (command_->GetPrepared()) return;
  command_->Prepare();
  kind_ = sqlite3api.sqlite3_column_count(command_->GetStatement()) > 0 ? skRows : skNoRows;
}

void TSQLiteRecordSet::Prepare() {
  prepareStatement();
  preparedByUser_ = true;
}

void TSQLiteRecordSet::Unprepare() {
  Close();
  preparedByUser_ = false;
  command_->Unprepare();
}

bool TSQLiteRecordSet::SetProp(int prop, const TPropValue& value) {
  switch (prop) {
    case prLiteralMode: literal_ = std::get<bool>(value); return true;
    // The data set's own BCD options belong to the command that describes the columns.
    case prEnableBCD:
    case prEnableFMTBCD: return command_->SetProp(prop, value);
    default: return TCRRecordSet::SetProp(prop, value);
  }
}

bool TSQLiteRecordSet::GetProp(int prop, TPropValue& value) const {
  switch (prop) {
    case prLiteralMode: value = literal_; return true;
    case prEnableBCD:
    case prEnableFMTBCD: return command_->GetProp(prop, value);
    default: return TCRRecordSet::GetProp(prop, value);
  }
}

void TSQLiteRecordSet::ExecuteCommand() {
  TSQLiteConnection* connection = Connection();
  if (!connection) throw Exception("Connection is not defined");
  command_->SetDateTimeFormats(textProp(*connection, prDateFormat), textProp(*connection, prTimeFormat));
  const bool wasPrepared = command_->GetPrepared();
  command_->SetOpening(true);
  try {
    prepareStatement();
    bindParamValues();
    if (command_->GetCursorState() > TCursorState::csPrepared) command_->SetCursorState(TCursorState::csPrepared);
    command_->Execute();
    if (kind_ == skRows)
      command_->SetCursorState(command_->LastStepResult() == sqlite::kDone ? TCursorState::csFetched
                                                                           : TCursorState::csExecuted);
    else if (!preparedByUser_)
      command_->Unprepare();
  } catch (...) {
    if (!wasPrepared && !preparedByUser_) command_->Unprepare();
    command_->SetOpening(false);
    if (command_->AfterExecute) command_->AfterExecute(false);
    throw;
  }
  command_->SetOpening(false);
  if (command_->AfterExecute) command_->AfterExecute(true);
}

TCRTableInfo* TSQLiteRecordSet::tableFor(const AnsiString& table, const AnsiString& database) {
  for (const auto& info : tables_)
    if (info->TableName == table) return info.get();
  tables_.push_back(std::make_unique<TCRTableInfo>(
      TCRTableInfo{table, AnsiString(), database.empty() ? table : database + "." + table}));
  return tables_.back().get();
}

void TSQLiteRecordSet::CreateFieldDescs() {
  if (kind_ != skRows) throw Exception("SQL statement doesn't return rows");
  TSQLiteConnection& connection = *Connection();
  sqlite3_stmt* stmt = command_->GetStatement();
  const auto name = [&](const char* bytes) {
    return bytes ? text::wideToAnsi(connection.DecodeName(bytes, static_cast<int>(std::strlen(bytes)))) : AnsiString();
  };
  const bool metadata = IsColumnMetaDataAvailable();
  tables_.clear();
  const TSQLiteInfo info;
  if (!metadata) {
    std::vector<TSQLSelectItem> columns;
    std::vector<TSQLTableItem> tables;
    info.ParseSelect(command_->GetSQL(), columns, tables);
    for (const TSQLTableItem& table : tables) tableFor(table.Name, AnsiString())->TableAlias = table.Alias;
  }
  const bool enableBCD = boolProp(*command_, prEnableBCD) || boolProp(connection, prEnableBCD);
  const bool enableFMTBCD = boolProp(*command_, prEnableFMTBCD) || boolProp(connection, prEnableFMTBCD);
  TPropValue unicode;
  const bool useUnicode = connection.GetProp(prUseUnicode, unicode) && std::get<bool>(unicode);
  const int count = sqlite3api.sqlite3_column_count(stmt);
  for (int i = 0; i < count; ++i) {
    auto desc = std::make_unique<TCRFieldDesc>();
    desc->FieldNo = static_cast<std::uint16_t>(i + 1);
    desc->ActualFieldNo = static_cast<std::int16_t>(i + 1);
    desc->Name = name(sqlite3api.sqlite3_column_name(stmt, i));
    desc->ActualName = metadata ? name(sqlite3api.sqlite3_column_origin_name(stmt, i)) : desc->Name;
    if (metadata) {
      const AnsiString table = info.NormalizeName(name(sqlite3api.sqlite3_column_table_name(stmt, i)));
      if (!table.empty()) desc->TableInfo = tableFor(table, name(sqlite3api.sqlite3_column_database_name(stmt, i)));
    }
    TLiteColumnType type{dcWideMemo, 0, 0};
    if (!literal_) {
      const AnsiString declared = name(sqlite3api.sqlite3_column_decltype(stmt, i));
      if (!declared.empty()) {
        type = MapDeclaredType(declared, enableBCD, enableFMTBCD);
      } else if (!desc->ActualName.empty()) {
        type = {dcString, 0, 0};
      } else {
        switch (sqlite3api.sqlite3_column_type(stmt, i)) {
          case sqlite::kInteger: type = {dcLargeint, 0, 0}; break;
          case sqlite::kFloat: type = {dcFloat, 0, 0}; break;
          case sqlite::kBlob: type = {dcBlob, 0, 0}; break;
          default: type = {dcString, 0, 0}; break;
        }
      }
      PromoteColumnType(type, LongStrings(), FlatBuffers());
      if (useUnicode) {
        if (type.DataType == dcString) type.DataType = dcWideString;
        else if (type.DataType == dcMemo) type.DataType = dcWideMemo;
        else if (type.DataType == dcHeapString) type.DataType = dcHeapWideString;
      }
    }
    desc->DataType = type.DataType;
    desc->Length = static_cast<std::uint16_t>(type.Length);
    desc->Scale = static_cast<std::uint16_t>(type.Scale);
    desc->Size = DataTypeSize(type.DataType, type.Length);
    Fields().Add(std::move(desc));
  }
}

bool TSQLiteRecordSet::ReadRow(std::byte* record) {
  if (!command_->GetPrepared() || command_->GetCursorState() == TCursorState::csFetched) return false;
  sqlite3_stmt* stmt = command_->GetStatement();
  for (int i = 0; i < FieldCount(); ++i) {
    const TFieldDesc& field = Field(i + 1);
    if (field.FieldDescKind != TFieldDescKind::fdkData || field.ParentField) continue;
    const int column = field.ActualFieldNo - 1;
    if (literal_) {
      readLiteral(i + 1, column, record);
    } else if (readValue(field, column, record)) {
      SetNull(i + 1, record, false);
    }
  }
  const int rc = sqlite3api.sqlite3_step(stmt);
  if (rc == sqlite::kDone) {
    command_->SetCursorState(TCursorState::csFetched);
  } else {
    if (rc != sqlite::kRow) Connection()->CheckResult(rc);
    command_->SetCursorState(TCursorState::csFetching);
  }
  return true;
}

bool TSQLiteRecordSet::readText(const TFieldDesc& field, int column, std::byte* record) {
  const TSQLiteConnection& connection = *Connection();
  sqlite3_stmt* stmt = command_->GetStatement();
  // The text comes first and the type only for a null pointer, which is a NULL or, rarely, a
  // conversion that ran out of memory (kept as the empty text): one call fewer per column of
  // every row of a list.
  const auto* bytes = reinterpret_cast<const char*>(sqlite3api.sqlite3_column_text(stmt, column));
  if (!bytes && sqlite3api.sqlite3_column_type(stmt, column) == sqlite::kNull) return false;
  // A text the record keeps in a slot or a heap piece ends at its first zero byte and at the
  // field's length, so for an 8-bit database its length is measured here, up to that bound,
  // instead of asked of SQLite, each of whose calls takes the connection's lock. A memo keeps
  // every byte and a UTF-8 text is cut only once decoded: those ask.
  const bool utf8 = connection.IsUTF8Needed();
  std::size_t count = 0;
  if (bytes) {
    if (field.DataType == dcMemo || utf8)
      count = static_cast<std::size_t>(sqlite3api.sqlite3_column_bytes(stmt, column));
    else
      count = strnlen(bytes, field.DataType == dcString ? static_cast<std::size_t>(field.Size) : field.Length);
  }
  // Text as the record keeps it: the library's bytes, decoded only for a UTF-8 database.
  AnsiString converted;
  std::string_view text(bytes ? bytes : "", count);
  if (utf8) {
    converted = connection.DecodeText(text.data(), static_cast<int>(text.size()));
    text = converted;
  }
  switch (field.DataType) {
    case dcString: codec::StoreAnsiText(record + field.Offset, static_cast<std::size_t>(field.Size), text); break;
    case dcMemo:
      if (!text.empty()) std::memcpy(GetBlob(field.FieldNo, record).AddPiece(text.size()), text.data(), text.size());
      break;
    default: {
      text = text.substr(0, field.Length);
      codec::store<std::uint32_t>(record + field.Offset,
                                  StringHeap().AllocStr(text.data(), false, static_cast<int>(text.size())));
      break;
    }
  }
  return true;
}

bool TSQLiteRecordSet::readValue(const TFieldDesc& field, int column, std::byte* record) {
  sqlite3_stmt* stmt = command_->GetStatement();
  std::byte* at = record + field.Offset;
  const auto isNull = [&] { return sqlite3api.sqlite3_column_type(stmt, column) == sqlite::kNull; };
  // A NULL reads as the number 0, so only a 0 needs the type asked, as a null pointer does
  // for text; reading a number never turns a value into NULL or NULL into a value.
  switch (field.DataType) {
    case dcString:
    case dcMemo:
    case dcHeapString: return readText(field, column, record);
    case dcSmallint:
    case dcInteger: {
      const int value = sqlite3api.sqlite3_column_int(stmt, column);
      if (value == 0 && isNull()) return false;
      codec::StoreInteger(field.DataType, at, value);
      return true;
    }
    case dcBoolean:
    case dcLargeint: {
      const sqlite3_int64 value = sqlite3api.sqlite3_column_int64(stmt, column);
      if (value == 0 && isNull()) return false;
      codec::StoreInteger(field.DataType, at, value);
      return true;
    }
    default: break;
  }
  if (isNull()) return false;
  const TSQLiteConnection& connection = *Connection();
  const auto size = static_cast<std::size_t>(field.Size);
  const auto utf8 = [&]() -> std::string_view {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3api.sqlite3_column_text(stmt, column));
    return {bytes ? bytes : "", bytes ? static_cast<std::size_t>(sqlite3api.sqlite3_column_bytes(stmt, column)) : 0};
  };
  const auto blobBytes = [&]() -> std::string_view {
    const auto* bytes = static_cast<const char*>(sqlite3api.sqlite3_column_blob(stmt, column));
    return {bytes ? bytes : "", bytes ? static_cast<std::size_t>(sqlite3api.sqlite3_column_bytes(stmt, column)) : 0};
  };
  const auto isInteger = [&] { return sqlite3api.sqlite3_column_type(stmt, column) == sqlite::kInteger; };
  const auto setHandle = [&](std::uint32_t handle) { codec::store<std::uint32_t>(at, handle); };
  switch (field.DataType) {
    case dcFloat:
    case dcCurrency: codec::store<double>(at, sqlite3api.sqlite3_column_double(stmt, column)); break;
    case dcDate:
    case dcTime:
    case dcDateTime: {
      const std::string_view raw = utf8();
      const AnsiString text = text::wideToAnsi(connection.DecodeName(raw.data(), static_cast<int>(raw.size())));
      double value = 0;
      if (!ParseDateTime(text, command_->DateFormat(), command_->DateSeparator(), command_->TimeSeparator(), value))
        value = 0;
      codec::store<double>(at, codec::DateTimePart(field.DataType, value));
      break;
    }
    case dcBlob: {
      const std::string_view bytes = blobBytes();
      if (!bytes.empty()) std::memcpy(GetBlob(field.FieldNo, record).AddPiece(bytes.size()), bytes.data(), bytes.size());
      break;
    }
    case dcVarBytes: {
      const std::string_view bytes = blobBytes();
      codec::StoreVarBytes(at, size, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      break;
    }
    case dcHeapVarBytes: {
      const std::string_view bytes = blobBytes().substr(0, 0xFFFF);
      const TStrHandle handle = StringHeap().Alloc(bytes.size() + 2);
      codec::StoreVarBytes(reinterpret_cast<std::byte*>(StringHeap().Ptr(handle)), bytes.size() + 2,
                           reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      setHandle(handle);
      break;
    }
    case dcWideString: codec::StoreWideText(at, size, text::utf8ToWide(utf8(), field.Length)); break;
    case dcHeapWideString: {
      const WideString text = text::utf8ToWide(utf8(), field.Length);
      setHandle(StringHeap().AllocWideStr(text.c_str(), false, static_cast<int>(text.size())));
      break;
    }
    case dcWideMemo: {
      const WideString text = text::utf8ToWide(utf8());
      if (!text.empty()) std::memcpy(GetBlob(field.FieldNo, record).AddPiece(text.size() * 2), text.data(), text.size() * 2);
      break;
    }
    case dcBCD:
      codec::store<std::int64_t>(at, isInteger() ? codec::BcdOf(std::int64_t{sqlite3api.sqlite3_column_int64(stmt, column)})
                                                 : codec::BcdOf(sqlite3api.sqlite3_column_double(stmt, column)));
      break;
    case dcFMTBCD:
      if (isInteger())
        codec::FmtBcdFromInteger(sqlite3api.sqlite3_column_int64(stmt, column), at);
      else
        codec::FmtBcdFromDouble(sqlite3api.sqlite3_column_double(stmt, column), at);
      break;
    default: throw Exception("Unsupported data type of column " + field.Name);
  }
  return true;
}

void TSQLiteRecordSet::readLiteral(int fieldNo, int column, std::byte* record) {
  sqlite3_stmt* stmt = command_->GetStatement();
  AnsiString literal;
  switch (sqlite3api.sqlite3_column_type(stmt, column)) {
    case sqlite::kInteger: literal = std::to_string(sqlite3api.sqlite3_column_int64(stmt, column)); break;
    case sqlite::kFloat: {
      char number[64];
      std::snprintf(number, sizeof number, "%.15g", sqlite3api.sqlite3_column_double(stmt, column));
      literal = number;
      for (char& c : literal)
        if (c == ',') c = '.';
      break;
    }
    case sqlite::kText: {
      const auto* bytes = reinterpret_cast<const char*>(sqlite3api.sqlite3_column_text(stmt, column));
      const auto count = sqlite3api.sqlite3_column_bytes(stmt, column);
      const AnsiString text = text::wideToAnsi(Connection()->DecodeName(bytes, count));
      literal = "'";
      for (const char c : text) literal += c == '\'' ? AnsiString("''") : AnsiString(1, c);
      literal += "'";
      break;
    }
    case sqlite::kBlob: {
      const auto* bytes = static_cast<const unsigned char*>(sqlite3api.sqlite3_column_blob(stmt, column));
      const auto count = sqlite3api.sqlite3_column_bytes(stmt, column);
      literal = "X'";
      char hex[3];
      for (int i = 0; i < count; ++i) {
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        literal += hex;
      }
      literal += "'";
      break;
    }
    default: literal = "NULL"; break;
  }
  const WideString wide = text::ansiToWide(literal);
  std::memcpy(GetBlob(fieldNo, record).AddPiece(wide.size() * 2), wide.data(), wide.size() * 2);
  SetNull(fieldNo, record, false);
}

void TSQLiteRecordSet::bindParamValues() {
  // Values given to the record set go to the command's parameters of the same name.
  for (const TParamDesc& given : Params)
    if (TParamDesc* param = command_->FindParam(given.Name)) *param = given;
}

bool TSQLiteRecordSet::NoMoreRows() const {
  return !command_->GetPrepared() || command_->GetCursorState() == TCursorState::csFetched;
}

void TSQLiteRecordSet::ReleaseCursor() {
  // A statement compiled only for this open lets go of the file once its rows are read.
  if (!preparedByUser_)
    command_->Unprepare();
  else if (command_->GetCursorState() > TCursorState::csPrepared)
    command_->SetCursorState(TCursorState::csPrepared);
}

void TSQLiteRecordSet::InternalClose() {
  if (command_->GetCursorState() > TCursorState::csPrepared) command_->SetCursorState(TCursorState::csPrepared);
  TCRRecordSet::InternalClose();
}
