#pragma once
// The SQLite provider's connection, command and transaction.

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "data/access/CRAccess.h"
#include "data/sqlite/LiteErrorUni.h"
#include "data/records/MemData.h"
#include "data/sqlite/SQLiteApi.h"

class TSQLiteCommand;
class TSQLiteCollationManager;

// SQLite connections open in this process; a library switch waits until none is open.
int ActiveConnectionCount();

class TSQLiteConnection : public TCRConnection {
 public:
  TSQLiteConnection();
  ~TSQLiteConnection() override;
  const char* ClassName() const override { return "TSQLiteConnection"; }

  void Connect() override;
  void Disconnect() override;
  AnsiString GetServerVersion() const override;
  std::vector<AnsiString> GetAutoIncColumns(const AnsiString& tableName) override;

  bool SetProp(int prop, const TPropValue& value) override;
  bool GetProp(int prop, TPropValue& value) const override;

  // Takes over every setting (not the handle) of `source`.
  void Assign(const TSQLiteConnection& source);
  // Uses the open handle of `source` without owning it: closing this object leaves it open.
  void AssignConnect(const TSQLiteConnection& source);

  // Raises an ESQLiteError (or EAbort, when the error hook says so) for a failed call.
  void CheckResult(int code);
  [[noreturn]] void RaiseError(int code, const AnsiString& message, TComponent* component);

  // Runs one statement without result rows.
  void ExecSQL(const AnsiString& sql);

  sqlite3* GetDatabaseHandle() const { return handle_; }
  bool IsUTF8Needed() const { return useUnicode_ || !asciiDataBase_; }

  // The text conversions between this connection's 8-bit text and the library.
  std::string EncodeSQL(const AnsiString& sql) const;
  std::string EncodeParamText(const WideString& value) const;
  AnsiString DecodeText(const char* bytes, int count) const;
  WideString DecodeName(const char* bytes, int count) const;

 private:
  void applyBusyTimeout();
  void applyReadUncommitted();
  void applyDefaultCollations();
  void closeHandle();
  // Tries again to close the handles SQLite refused to close.
  void closeUnclosed();

  AnsiString database_;
  AnsiString clientLibrary_;
  AnsiString encryptionKey_;
  AnsiString dateFormat_, timeFormat_;
  bool useUnicode_ = false;
  bool asciiDataBase_ = false;
  bool enableSharedCache_ = false;
  bool readUncommitted_ = false;
  bool defaultCollations_ = true;
  int busyTimeout_ = 0;

  sqlite3* handle_ = nullptr;
  bool ownsHandle_ = true;
  sqlite3_int64 lastInsertId_ = 0;
  std::chrono::steady_clock::time_point connectTime_{};
  std::unique_ptr<TSQLiteCommand> command_;
  std::unique_ptr<TSQLiteCollationManager> collations_;
  // Handles whose close failed while a statement on them was still open, with the collations
  // registered on them.
  struct UnclosedHandle {
    sqlite3* handle;
    std::unique_ptr<TSQLiteCollationManager> collations;
  };
  std::vector<UnclosedHandle> unclosed_;

  friend class TSQLiteCommand;
};

// Cursor states of a command.
enum class TCursorState : unsigned char { csInactive = 0, csPrepared = 3, csExecuted = 7, csFetching = 8, csFetched = 10 };

class TSQLiteCommand : public TCRPropsObject {
 public:
  TSQLiteCommand() = default;
  ~TSQLiteCommand() override;
  const char* ClassName() const override { return "TSQLiteCommand"; }

  void SetConnection(TSQLiteConnection* connection);
  TSQLiteConnection* GetConnection() const { return connection_; }
  // Also finds the parameters of the text when ParamCheck is on.
  void SetSQL(const AnsiString& sql);
  const AnsiString& GetSQL() const { return sql_; }
  bool ParamCheck = true;
  std::vector<TParamDesc>& Params() { return params_; }
  TParamDesc* FindParam(const AnsiString& name);

  // Date and time texts of parameters and columns: formats with "-" and ":" as placeholders
  // of the separators.
  void SetDateTimeFormats(const AnsiString& dateFormat, const AnsiString& timeFormat);
  const AnsiString& DateFormat() const { return dateFormat_; }
  char DateSeparator() const { return dateSeparator_; }
  char TimeSeparator() const { return timeSeparator_; }
  // While its record set opens it, the command's own after-execute notice stays silent.
  void SetOpening(bool opening) { opening_ = opening; }

  void Prepare();
  void Unprepare();
  bool GetPrepared() const { return stmt_ != nullptr; }
  // Makes exactly one step: a statement with rows stays on its first row.
  void Execute();

  TCursorState GetCursorState() const { return cursorState_; }
  void SetCursorState(TCursorState state) { cursorState_ = state; }
  int LastStepResult() const { return lastStepResult_; }
  sqlite3_stmt* GetStatement() const { return stmt_; }

  // Besides the rows affected: EnableBCD and EnableFMTBCD, which NUMERIC columns read with
  // when either the command or its connection has them on.
  bool SetProp(int prop, const TPropValue& value) override;
  bool GetProp(int prop, TPropValue& value) const override;

  // The owner's notice after every execute that it did not start itself.
  std::function<void(bool succeeded)> AfterExecute;

 private:
  void bindParams();

  TSQLiteConnection* connection_ = nullptr;
  AnsiString sql_;
  std::vector<TParamDesc> params_;
  AnsiString dateFormat_ = "yyyy-mm-dd", timeFormat_ = "hh:nn:ss";
  char dateSeparator_ = '-', timeSeparator_ = ':';
  sqlite3_stmt* stmt_ = nullptr;
  TCursorState cursorState_ = TCursorState::csInactive;
  int lastStepResult_ = 0;
  int rowsAffected_ = 0;
  bool opening_ = false;
  bool enableBCD_ = false, enableFMTBCD_ = false;
};

class TSQLiteTransaction : public TCRTransaction {
 public:
  const char* ClassName() const override { return "TSQLiteTransaction"; }

  void StartTransaction() override;
  void Commit() override;
  void Rollback() override;
  void Savepoint(const AnsiString& name) override;
  void ReleaseSavepoint(const AnsiString& name) override;
  void RollbackToSavepoint(const AnsiString& name) override;

 private:
  TSQLiteConnection& connection() const;
  void checkActive() const;
};
