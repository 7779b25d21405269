#include "data/sqlite/LiteClassesUni.h"

#include <atomic>
#include <mutex>

#include "data/records/DateTimeText.h"
#include "data/records/ValueCodec.h"
#include "data/sqlite/GbkPatterns.h"
#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteCollation.h"
#include "data/sqlite/LiteParser.h"
#include "platform/classes/Exceptions.h"

namespace {

std::atomic<int> activeConnections{0};

// Guards a switch of the library file together with the count of open connections.
std::mutex& connectionLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

int ActiveConnectionCount() { return activeConnections.load(); }

// ---- TSQLiteConnection -----------------------------------------------------------------------

TSQLiteConnection::TSQLiteConnection() = default;

TSQLiteConnection::~TSQLiteConnection() {
  // A destructor has no one to report to. A collation SQLite refuses to drop stays registered
  // and a handle it refuses to close stays among the unclosed ones.
  try {
    if (collations_) collations_->UnRegisterAll();
  } catch (...) {
  }
  try {
    Disconnect();
  } catch (...) {
  }
  closeUnclosed();
  // A statement still alive on such a handle may compare with these collations for as long as
  // it lives: they must never be freed under it.
  for (UnclosedHandle& unclosed : unclosed_) static_cast<void>(unclosed.collations.release());
}

void TSQLiteConnection::Connect() {
  if (connected_) return;
  closeUnclosed();
  {
    std::lock_guard guard(connectionLock());
    if (!clientLibrary_.empty() && clientLibrary_ != ClientLibraryName()) {
      if (activeConnections.load() > 0) throw Exception("Connection ClientLibrary differs from already active connections");
      FreeSQLiteLib();
      SetClientLibraryName(clientLibrary_);
    }
    ++activeConnections;
  }
  try {
    if (!SQLiteLibLoaded()) LoadSQLiteLib();
    handle_ = nullptr;
    CheckResult(sqlite3api.sqlite3_enable_shared_cache(enableSharedCache_ ? 1 : 0));
    // The file name always travels as UTF-8, whatever the text options say.
    const std::string fileName = text::wideToUtf8(text::ansiToWide(database_));
    CheckResult(sqlite3api.sqlite3_open(fileName.c_str(), &handle_));
    if (!encryptionKey_.empty())
      CheckResult(sqlite3api.sqlite3_key(handle_, encryptionKey_.data(), static_cast<int>(encryptionKey_.size())));
    connected_ = true;
    applyBusyTimeout();
    applyReadUncommitted();
    if (defaultCollations_) applyDefaultCollations();
    if (!IsUTF8Needed()) CheckResult(gbk::registerPatternFunctions(handle_));
    ownsHandle_ = true;
    connectTime_ = std::chrono::steady_clock::now();
  } catch (...) {
    if (handle_) sqlite3api.sqlite3_close(handle_);
    handle_ = nullptr;
    connected_ = false;
    if (collations_) collations_.reset();
    --activeConnections;
    throw;
  }
}

void TSQLiteConnection::closeHandle() {
  const bool owned = ownsHandle_;
  sqlite3* handle = handle_;
  handle_ = nullptr;
  ownsHandle_ = true;
  --activeConnections;
  // SQLite may compare with the collations until the handle is really closed.
  std::unique_ptr<TSQLiteCollationManager> collations = std::move(collations_);
  if (!owned) return;
  const int rc = sqlite3api.sqlite3_close(handle);
  if (rc == sqlite::kOk) return;
  // A statement still open keeps the handle open: it is closed later, with its collations
  // kept until then. The failure is reported, but this object is closed all the same.
  unclosed_.push_back({handle, std::move(collations)});
  RaiseError(rc, GetErrorMessage(handle), Component());
}

void TSQLiteConnection::closeUnclosed() {
  std::erase_if(unclosed_, [](const UnclosedHandle& unclosed) {
    return sqlite3api.sqlite3_close(unclosed.handle) == sqlite::kOk;
  });
}

void TSQLiteConnection::Disconnect() {
  closeUnclosed();
  if (!connected_) return;
  connected_ = false;
  if (command_) command_->Unprepare();
  closeHandle();
}

AnsiString TSQLiteConnection::GetServerVersion() const {
  const char* version = sqlite3api.sqlite3_libversion();
  return version ? version : "";
}

void TSQLiteConnection::applyBusyTimeout() { CheckResult(sqlite3api.sqlite3_busy_timeout(handle_, busyTimeout_)); }

void TSQLiteConnection::applyReadUncommitted() {
  ExecSQL(readUncommitted_ ? "PRAGMA read_uncommitted = true" : "PRAGMA read_uncommitted = false");
}

void TSQLiteConnection::applyDefaultCollations() {
  if (!collations_) collations_ = std::make_unique<TSQLiteCollationManager>(*this);
  collations_->RegisterCollation(kUniNoCase, UniNoCaseCompare);
}

bool TSQLiteConnection::SetProp(int prop, const TPropValue& value) {
  switch (prop) {
    case prDatabase: database_ = std::get<AnsiString>(value); return true;
    case prClientLibrary: clientLibrary_ = std::get<AnsiString>(value); return true;
    case prEncryptionKey: encryptionKey_ = std::get<AnsiString>(value); return true;
    case prDateFormat: dateFormat_ = std::get<AnsiString>(value); return true;
    case prTimeFormat: timeFormat_ = std::get<AnsiString>(value); return true;
    case prUseUnicode: useUnicode_ = std::get<bool>(value); return true;
    case prEnableSharedCache: enableSharedCache_ = std::get<bool>(value); return true;
    case prASCIIDataBase: {
      const bool ascii = std::get<bool>(value);
      // The text of an open connection cannot change its meaning under it.
      if (ascii != asciiDataBase_ && connected_) Disconnect();
      asciiDataBase_ = ascii;
      return true;
    }
    case prBusyTimeout:
      busyTimeout_ = std::get<int>(value);
      if (connected_) applyBusyTimeout();
      return true;
    case prReadUncommitted:
      readUncommitted_ = std::get<bool>(value);
      if (connected_) applyReadUncommitted();
      return true;
    case prDefaultCollations: {
      const bool on = std::get<bool>(value);
      if (connected_ && on != defaultCollations_) {
        if (on)
          applyDefaultCollations();
        else if (collations_)
          collations_->UnRegisterCollation(kUniNoCase);
      }
      defaultCollations_ = on;
      return true;
    }
    default: return TCRConnection::SetProp(prop, value);
  }
}

bool TSQLiteConnection::GetProp(int prop, TPropValue& value) const {
  switch (prop) {
    case prDatabase: value = database_; return true;
    case prClientLibrary: value = clientLibrary_; return true;
    case prEncryptionKey: value = encryptionKey_; return true;
    case prDateFormat: value = dateFormat_; return true;
    case prTimeFormat: value = timeFormat_; return true;
    case prUseUnicode: value = useUnicode_; return true;
    case prASCIIDataBase: value = asciiDataBase_; return true;
    case prEnableSharedCache: value = enableSharedCache_; return true;
    case prBusyTimeout: value = busyTimeout_; return true;
    case prReadUncommitted: value = readUncommitted_; return true;
    case prDefaultCollations: value = defaultCollations_; return true;
    case prLastInsertId: value = static_cast<long long>(lastInsertId_); return true;
    default: return TCRConnection::GetProp(prop, value);
  }
}

void TSQLiteConnection::Assign(const TSQLiteConnection& source) {
  database_ = source.database_;
  clientLibrary_ = source.clientLibrary_;
  encryptionKey_ = source.encryptionKey_;
  dateFormat_ = source.dateFormat_;
  timeFormat_ = source.timeFormat_;
  useUnicode_ = source.useUnicode_;
  asciiDataBase_ = source.asciiDataBase_;
  enableSharedCache_ = source.enableSharedCache_;
  readUncommitted_ = source.readUncommitted_;
  defaultCollations_ = source.defaultCollations_;
  busyTimeout_ = source.busyTimeout_;
}

void TSQLiteConnection::AssignConnect(const TSQLiteConnection& source) {
  if (handle_ == source.handle_) return;
  Disconnect();
  if (!source.handle_) return;
  Assign(source);
  ++activeConnections;
  handle_ = source.handle_;
  ownsHandle_ = false;
  connected_ = true;
}

void TSQLiteConnection::CheckResult(int code) {
  if (code == sqlite::kOk) return;
  RaiseError(code, GetErrorMessage(handle_), Component());
}

void TSQLiteConnection::RaiseError(int code, const AnsiString& message, TComponent* component) {
  ESQLiteError error(code, message);
  error.SetComponent(component);
  if (!ErrorHookFails(error)) throw EAbort();
  throw error;
}

void TSQLiteConnection::ExecSQL(const AnsiString& sql) {
  if (!command_) {
    command_ = std::make_unique<TSQLiteCommand>();
    command_->SetConnection(this);
  }
  command_->SetSQL(sql);
  command_->Execute();
}

std::string TSQLiteConnection::EncodeSQL(const AnsiString& sql) const {
  return IsUTF8Needed() ? text::wideToUtf8(text::ansiToWide(sql)) : sql;
}

std::string TSQLiteConnection::EncodeParamText(const WideString& value) const {
  return IsUTF8Needed() ? text::wideToUtf8(value) : text::wideToAnsi(value);
}

AnsiString TSQLiteConnection::DecodeText(const char* bytes, int count) const {
  const std::string_view raw(bytes ? bytes : "", bytes ? static_cast<std::size_t>(count) : 0);
  return IsUTF8Needed() ? text::wideToAnsi(text::utf8ToWide(raw)) : AnsiString(raw);
}

WideString TSQLiteConnection::DecodeName(const char* bytes, int count) const {
  const std::string_view raw(bytes ? bytes : "", bytes ? static_cast<std::size_t>(count) : 0);
  return IsUTF8Needed() ? text::utf8ToWide(raw) : text::ansiToWide(raw);
}

// ---- TSQLiteCommand --------------------------------------------------------------------------

TSQLiteCommand::~TSQLiteCommand() { Unprepare(); }

void TSQLiteCommand::SetConnection(TSQLiteConnection* connection) {
  if (connection == connection_) return;
  Unprepare();
  connection_ = connection;
}

void TSQLiteCommand::SetSQL(const AnsiString& sql) {
  Unprepare();
  sql_ = sql;
  if (!ParamCheck) return;
  std::vector<TParamDesc> found;
  for (const AnsiString& name : ParseLiteParams(sql)) {
    TParamDesc* old = FindParam(name);
    found.push_back(old ? *old : TParamDesc{name, dcUnknown, {}});
  }
  params_ = std::move(found);
}

TParamDesc* TSQLiteCommand::FindParam(const AnsiString& name) {
  for (TParamDesc& param : params_)
    if (param.Name == name) return &param;
  return nullptr;
}

void TSQLiteCommand::SetDateTimeFormats(const AnsiString& dateFormat, const AnsiString& timeFormat) {
  // The first separator of a format is its separator; the stored format keeps placeholders.
  const auto adopt = [](const AnsiString& given, const char* fallback, char placeholder, AnsiString& format,
                        char& separator) {
    format = fallback;
    separator = placeholder;
    if (given.empty()) return;
    const auto at = given.find_first_of("-./:\\");
    format = given;
    if (at == AnsiString::npos) return;
    separator = given[at];
    for (char& c : format)
      if (c == separator) c = placeholder;
  };
  adopt(dateFormat, "yyyy-mm-dd", '-', dateFormat_, dateSeparator_);
  adopt(timeFormat, "hh:nn:ss", ':', timeFormat_, timeSeparator_);
}

void TSQLiteCommand::Prepare() {
  if (stmt_) return;
  if (!connection_) throw Exception("Connection is not defined");
  if (text::trimmed(sql_).empty()) throw Exception("No SQL statement provided");
  const std::string encoded = connection_->EncodeSQL(sql_);
  sqlite3_stmt* stmt = nullptr;
  const int rc = sqlite3api.sqlite3_prepare_v2(connection_->GetDatabaseHandle(), encoded.data(),
                                               static_cast<int>(encoded.size()), &stmt, nullptr);
  stmt_ = stmt;
  if (rc != sqlite::kOk) {
    Unprepare();
    connection_->CheckResult(rc);
  }
  if (!stmt_) {
    // Nothing but comments and semicolons: SQLite compiles no statement, and stepping none
    // would report an unrelated misuse of the library.
    EDAError error(0, "No SQL statement provided");
    error.SetComponent(connection_->Component());
    throw error;
  }
  cursorState_ = TCursorState::csPrepared;
}

void TSQLiteCommand::Unprepare() {
  if (!stmt_) return;
  sqlite3api.sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  cursorState_ = TCursorState::csInactive;
}

void TSQLiteCommand::bindParams() {
  const int expected = sqlite3api.sqlite3_bind_parameter_count(stmt_);
  if (expected != static_cast<int>(params_.size()))
    throw Exception("Incorrect parameter count. Expected: " + std::to_string(expected) +
                    "; Actual: " + std::to_string(params_.size()));
  for (std::size_t i = 0; i < params_.size(); ++i) {
    const TParamDesc& param = params_[i];
    const int index = static_cast<int>(i) + 1;
    int rc;
    if (std::holds_alternative<std::monostate>(param.Value)) {
      rc = sqlite3api.sqlite3_bind_null(stmt_, index);
    } else {
      switch (param.DataType) {
        case dcInt8: case dcSmallint: case dcInteger: case dcWord: case dcLargeint: case dcUInt32:
          rc = sqlite3api.sqlite3_bind_int64(stmt_, index, codec::ToInteger(param.Value));
          break;
        case dcBoolean:
          rc = sqlite3api.sqlite3_bind_int64(stmt_, index, codec::ToBoolean(param.Value) ? 1 : 0);
          break;
        case dcFloat: case dcCurrency: case dcBCD: case dcFMTBCD:
          rc = sqlite3api.sqlite3_bind_double(stmt_, index, codec::ToDouble(param.Value, param.DataType));
          break;
        case dcDate: case dcTime: case dcDateTime: case dcSQLTimeStamp: {
          AnsiString format = param.DataType == dcDate   ? dateFormat_
                              : param.DataType == dcTime ? timeFormat_
                                                         : dateFormat_ + " " + timeFormat_;
          for (char& c : format) {
            if (c == '-') c = dateSeparator_;
            else if (c == ':') c = timeSeparator_;
          }
          const AnsiString value = FormatDateTime(format, codec::DateTimeOf(param.DataType, param.Value));
          rc = sqlite3api.sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), sqlite::kTransient);
          break;
        }
        case dcBlob: case dcBytes: case dcVarBytes: {
          const std::vector<std::uint8_t> bytes = codec::ToBytes(param.Value);
          rc = sqlite3api.sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()), sqlite::kTransient);
          break;
        }
        default: {
          const std::string value = connection_->EncodeParamText(codec::ToWide(param.Value));
          rc = sqlite3api.sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), sqlite::kTransient);
          break;
        }
      }
    }
    connection_->CheckResult(rc);
  }
}

void TSQLiteCommand::Execute() {
  if (cursorState_ > TCursorState::csPrepared) return;
  const bool wasPrepared = GetPrepared();
  try {
    if (!wasPrepared) Prepare();
    sqlite3api.sqlite3_reset(stmt_);
    bindParams();
    lastStepResult_ = sqlite3api.sqlite3_step(stmt_);
    if (lastStepResult_ != sqlite::kRow && lastStepResult_ != sqlite::kDone) connection_->CheckResult(lastStepResult_);
    connection_->lastInsertId_ = sqlite3api.sqlite3_last_insert_rowid(connection_->GetDatabaseHandle());
    rowsAffected_ = sqlite3api.sqlite3_changes(connection_->GetDatabaseHandle());
    if (!wasPrepared) Unprepare();
  } catch (...) {
    if (!wasPrepared) Unprepare();
    if (!opening_ && AfterExecute) AfterExecute(false);
    throw;
  }
  if (!opening_ && AfterExecute) AfterExecute(true);
}

bool TSQLiteCommand::SetProp(int prop, const TPropValue& value) {
  switch (prop) {
    case prEnableBCD: enableBCD_ = std::get<bool>(value); return true;
    case prEnableFMTBCD: enableFMTBCD_ = std::get<bool>(value); return true;
    default: return TCRPropsObject::SetProp(prop, value);
  }
}

bool TSQLiteCommand::GetProp(int prop, TPropValue& value) const {
  switch (prop) {
    case prRowsProcessed: value = rowsAffected_; return true;
    case prEnableBCD: value = enableBCD_; return true;
    case prEnableFMTBCD: value = enableFMTBCD_; return true;
    default: return TCRPropsObject::GetProp(prop, value);
  }
}

// ---- TSQLiteTransaction ----------------------------------------------------------------------

TSQLiteConnection& TSQLiteTransaction::connection() const {
  if (connections_.empty()) throw Exception("There are no connections in the transaction");
  auto* connection = static_cast<TSQLiteConnection*>(connections_.front());
  if (!connection->GetConnected()) throw Exception("One of the connections in the transaction is not active");
  return *connection;
}

void TSQLiteTransaction::checkActive() const {
  if (!active_) throw Exception("Can't perform operation on inactive transaction");
}

void TSQLiteTransaction::StartTransaction() {
  TSQLiteConnection& c = connection();
  switch (isolationLevel_) {
    case TCRIsolationLevel::ilReadCommitted:
    case TCRIsolationLevel::ilReadUnCommitted:
    case TCRIsolationLevel::ilRepeatableRead: c.ExecSQL("BEGIN DEFERRED"); break;
    case TCRIsolationLevel::ilIsolated:
    case TCRIsolationLevel::ilSnapshot: c.ExecSQL("BEGIN IMMEDIATE"); break;
    case TCRIsolationLevel::ilCustom: throw Exception("Unsupported transaction isolation level");
  }
  active_ = true;
}

void TSQLiteTransaction::Commit() {
  checkActive();
  connection().ExecSQL("COMMIT");
  active_ = false;
}

void TSQLiteTransaction::Rollback() {
  checkActive();
  connection().ExecSQL("ROLLBACK");
  active_ = false;
}

void TSQLiteTransaction::Savepoint(const AnsiString& name) {
  checkActive();
  connection().ExecSQL("SAVEPOINT " + name);
}

void TSQLiteTransaction::ReleaseSavepoint(const AnsiString& name) {
  checkActive();
  connection().ExecSQL("RELEASE SAVEPOINT " + name);
}

void TSQLiteTransaction::RollbackToSavepoint(const AnsiString& name) {
  checkActive();
  connection().ExecSQL("ROLLBACK TO SAVEPOINT " + name);
}
