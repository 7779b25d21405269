#pragma once
// The data set of a statement on a connection: SQL text, parameters, options, open and
// execute, and the command component that holds the text.

#include <functional>
#include <memory>
#include <vector>

#include "data/access/MemDS.h"
#include "data/access/Uni.h"

class TCustomDADataSet;

// The statement text of a data set: every change of its lines is a change of the statement.
class TCustomDASQL {
 public:
  explicit TCustomDASQL(TCustomDADataSet* owner);
  TStringList& SQL() { return sql_; }
  const TStringList& SQL() const { return sql_; }

 private:
  TStringList sql_;
};

struct TUniDataSetOptions {
  bool FullRefresh = false;
  bool TrimFixedChar = true;
  bool TrimVarChar = false;
  bool SetEmptyStrToNull = false;
  bool PrepareUpdateSQL = false;
  bool SetFieldsReadOnly = true;
  bool RequiredFields = true;
  bool StrictUpdate = true;
  bool NumberRange = false;
  bool QueryRecCount = false;
  bool FieldsOrigin = false;
  int UpdateBatchSize = 1;
  bool EnableBCD = false;
  bool AutoPrepare = false;
  bool ReturnParams = false;
  bool LongStrings = true;
  bool FlatBuffers = false;
  bool RemoveOnRefresh = true;
  bool QuoteNames = false;
  int DetailDelay = 0;
  int CompressBlobMode = 0;
  bool LocalMasterDetail = false;
  bool CacheCalcFields = false;
  bool DefaultValues = false;
  bool UpdateAllFields = false;
  bool EnableFMTBCD = false;
};

class TCustomDADataSet : public TMemDataSet, private TConnectionClient {
 public:
  explicit TCustomDADataSet(TComponent* owner);
  ~TCustomDADataSet() override;
  const char* ClassName() const override { return "TCustomDADataSet"; }

  TUniConnection* Connection() const { return connection_; }
  void SetConnection(TUniConnection* connection);

  TStringList& SQL() { return command_.SQL(); }
  // The parameters of the SQL text, found on every change when ParamCheck is on, by the
  // lexer of the connection's provider once that is known.
  std::vector<TParamDesc>& Params() { return params_; }
  // By the name as written, else with ASCII case ignored.
  TParamDesc* FindParam(const AnsiString& name);
  bool ParamCheck = true;
  // The "&name" macros of the text, with the values they are replaced by.
  std::vector<std::pair<AnsiString, AnsiString>>& Macros() { return macros_; }

  TUniDataSetOptions& Options() { return options_; }
  TSpecificOptionsList& SpecificOptions() { return specificOptions_; }
  int FetchRows() const { return fetchRows_; }
  void SetFetchRows(int rows);
  bool UniDirectional() const { return uniDirectional_; }
  void SetUniDirectional(bool on);
  bool ReadOnly = false;
  AnsiString UpdatingTable;

  // Runs a statement without rows; one that returns rows opens the data set instead.
  void Execute();

  // The table a result's edits would go to: its index in the result's tables, -1 for none.
  int UpdatingTableIndex() const { return updatingTableIndex_; }
  const AnsiString& UpdatingTableName() const { return updatingTableName_; }
  // The field of the table's integer primary key, when the result has one.
  TField* IdentityField() const { return identityName_.empty() ? nullptr : FindField(identityName_); }

  std::function<void(TObject& sender)> BeforeExecute;
  std::function<void(TObject& sender, bool succeeded)> AfterExecute;

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Turns the provider's errors into the ones this kind of data set reports.
  virtual void RunWrapped(const std::function<void()>& action) { action(); }
  // Right after the cursor opened and the table to update was chosen.
  virtual void CursorOpened() {}
  // Remembers the integer primary key's field by name; fields are made after the open.
  void SetIdentityFieldName(const AnsiString& name) { identityName_ = name; }

 private:
  friend class TCustomDASQL;
  void sqlChanged();
  TSQLParserClass paramParserClass() const;
  void scanParams();
  void beginConnection();
  AnsiString statementText();
  void chooseUpdatingTable();
  void ConnectChange(bool connecting) override;

  TUniConnection* connection_ = nullptr;
  TCustomDASQL command_;
  std::vector<TParamDesc> params_;
  TSQLParserClass paramsScannedWith_ = nullptr;
  std::vector<std::pair<AnsiString, AnsiString>> macros_;
  TUniDataSetOptions options_;
  TSpecificOptionsList specificOptions_;
  int fetchRows_ = 25;
  bool uniDirectional_ = false;
  int updatingTableIndex_ = -1;
  AnsiString updatingTableName_;
  AnsiString identityName_;
};
