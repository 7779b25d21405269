#pragma once
// The rows of an SQLite statement in the record buffer: the command is executed once (one
// step), the columns are described from their declared types, and rows are read block by block.

#include <memory>
#include <vector>

#include "data/sqlite/LiteClassesUni.h"
#include "data/records/MemData.h"

enum TStatementKind { skUnknown = 0, skNoRows = 1, skRows = 2 };

// Property number of literal mode: every column read as the text of an SQL literal.
inline constexpr int prLiteralMode = 1003;

class TSQLiteRecordSet : public TCRRecordSet {
 public:
  TSQLiteRecordSet();
  ~TSQLiteRecordSet() override;

  TSQLiteCommand& Command() { return *command_; }
  void SetConnection(TSQLiteConnection* connection);
  void SetConnection(TCRConnection* connection) override;
  TSQLiteConnection* Connection() const { return command_->GetConnection(); }
  void SetSQL(const AnsiString& sql) override;
  bool ExecuteNoRows() override;

  // A statement prepared by its user stays compiled across opens until Unprepare.
  void Prepare();
  void Unprepare();
  bool Prepared() const { return preparedByUser_; }
  TStatementKind StatementKind() const { return kind_; }
  const std::vector<std::unique_ptr<TCRTableInfo>>& TablesInfo() const override { return tables_; }

  bool SetProp(int prop, const TPropValue& value) override;
  bool GetProp(int prop, TPropValue& value) const override;

 protected:
  void ExecuteCommand() override;
  void CreateFieldDescs() override;
  bool ReadRow(std::byte* record) override;
  bool NeedsDescribe() const override { return true; }
  bool NoMoreRows() const override;
  void ReleaseCursor() override;
  void InternalClose() override;

 private:
  void prepareStatement();
  void bindParamValues();
  void readLiteral(int fieldNo, int column, std::byte* record);
  // Store the column's value in the field; false, storing nothing, for NULL.
  bool readValue(const TFieldDesc& field, int column, std::byte* record);
  bool readText(const TFieldDesc& field, int column, std::byte* record);
  TCRTableInfo* tableFor(const AnsiString& table, const AnsiString& database);

  std::unique_ptr<TSQLiteCommand> command_;
  TStatementKind kind_ = skUnknown;
  bool preparedByUser_ = false;
  bool literal_ = false;
  std::vector<std::unique_ptr<TCRTableInfo>> tables_;
};
