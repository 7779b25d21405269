#include "data/access/DBAccess.h"

#include "data/sql/CRParser.h"
#include "data/access/UniProvider.h"
#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"

TCustomDASQL::TCustomDASQL(TCustomDADataSet* owner) {
  sql_.OnChange = [owner](TObject&) { owner->sqlChanged(); };
}

TCustomDADataSet::TCustomDADataSet(TComponent* owner)
    : TMemDataSet(owner), command_(this),
      specificOptions_([this] { return connection_ ? connection_->ProviderName() : AnsiString(); }) {}

TCustomDADataSet::~TCustomDADataSet() {
  Close();
  if (connection_) connection_->UnRegisterClient(this);
}

void TCustomDADataSet::SetConnection(TUniConnection* connection) {
  if (connection == connection_) return;
  Close();
  if (connection_) {
    connection_->UnRegisterClient(this);
    RemoveFreeNotification(connection_);
  }
  connection_ = connection;
  // Another connection may mean another provider: its record set comes at the next open.
  SetData(nullptr);
  if (connection_) FreeNotification(connection_);
  if (ParamCheck && paramParserClass() != paramsScannedWith_) scanParams();
}

void TCustomDADataSet::Notification(TComponent* component, TOperation operation) {
  TMemDataSet::Notification(component, operation);
  if (operation == opRemove && component == connection_) {
    Close();
    connection_ = nullptr;
    SetData(nullptr);
  }
}

void TCustomDADataSet::ConnectChange(bool connecting) {
  if (!connecting) Close();
}

void TCustomDADataSet::SetFetchRows(int rows) {
  if (rows == fetchRows_) return;
  if (rows < 1 || rows > 65535) throw Exception("FetchRows must be 1..65535");
  CheckInactive();
  fetchRows_ = rows;
}

void TCustomDADataSet::SetUniDirectional(bool on) {
  if (on == uniDirectional_) return;
  CheckInactive();
  uniDirectional_ = on;
}

TParamDesc* TCustomDADataSet::FindParam(const AnsiString& name) {
  // A dialect whose names are exact may hold both ":p" and ":P".
  for (TParamDesc& param : params_)
    if (param.Name == name) return &param;
  for (TParamDesc& param : params_)
    if (classes::sameText(param.Name, name)) return &param;
  return nullptr;
}

TSQLParserClass TCustomDADataSet::paramParserClass() const {
  const TUniProvider* provider =
      connection_ ? TUniProviders::Instance().GetProvider(connection_->ProviderName()) : nullptr;
  return provider ? provider->GetParserClass() : NewParser<TSQLParser>;
}

void TCustomDADataSet::scanParams() {
  // The provider's commands find parameters with their own lexer; the data set must find
  // exactly those, or a value would be handed to no parameter and another bound as NULL.
  const TSQLParserClass parserClass = paramParserClass();
  std::vector<TParamDesc> params;
  for (const AnsiString& name : ParseSQLParams(SQL().Text(), parserClass)) {
    const TParamDesc* old = FindParam(name);
    params.push_back(old ? TParamDesc{name, old->DataType, old->Value} : TParamDesc{name, 0, {}});
  }
  params_ = std::move(params);
  paramsScannedWith_ = parserClass;
}

void TCustomDADataSet::sqlChanged() {
  Close();
  if (Data()) Data()->SetSQL(AnsiString());
  MarkFieldDefsOutOfDate();
  const AnsiString text = SQL().Text();
  std::vector<std::pair<AnsiString, AnsiString>> macros;
  for (const AnsiString& name : ParseSQLMacros(text)) {
    AnsiString value;
    for (const auto& [known, old] : macros_)
      if (classes::sameText(known, name)) value = old;
    macros.emplace_back(name, value);
  }
  macros_ = std::move(macros);
  if (ParamCheck) scanParams();
}

void TCustomDADataSet::beginConnection() {
  if (!connection_) throw Exception("Connection is not defined");
  if (!connection_->Connected()) connection_->Connect();
  TUniProvider* provider = TUniProviders::Instance().GetProvider(connection_->ProviderName());
  if (!provider) throw Exception("Provider is not defined");
  if (!Data()) SetData(provider->CreateRecordSet());
  if (ParamCheck && provider->GetParserClass() != paramsScannedWith_) scanParams();
  TCRRecordSet& data = *Data();
  data.SetConnection(connection_->InternalConnection());
  provider->SetObjectProps(data, specificOptions_);
  data.SetProp(prFetchRows, fetchRows_);
  data.SetProp(prUniDirectional, uniDirectional_);
  data.SetProp(prLongStrings, options_.LongStrings);
  data.SetProp(prFlatBuffers, options_.FlatBuffers);
  data.SetProp(prEnableBCD, options_.EnableBCD);
  data.SetProp(prEnableFMTBCD, options_.EnableFMTBCD);
  data.TrimFixedChar = options_.TrimFixedChar;
  data.TrimVarChar = options_.TrimVarChar;
  data.SetEmptyStrToNull = options_.SetEmptyStrToNull;
  data.ConvertEOL = connection_->Options().ConvertEOL;
  connection_->RegisterClient(this);
}

AnsiString TCustomDADataSet::statementText() {
  const TUniProvider* provider = TUniProviders::Instance().GetProvider(connection_->ProviderName());
  return StatementText(SQL().Text(), connection_->Formatting(), provider,
                       [this](const AnsiString& name, AnsiString& value) {
                         for (const auto& [known, text] : macros_)
                           if (classes::sameText(known, name)) {
                             value = text;
                             return true;
                           }
                         return false;
                       });
}

void TCustomDADataSet::InternalOpen() {
  RunWrapped([&] {
    beginConnection();
    Data()->SetSQL(statementText());
    Data()->Params = params_;
    TMemDataSet::InternalOpen();
    chooseUpdatingTable();
    CursorOpened();
  });
}

void TCustomDADataSet::InternalClose() {
  try {
    TMemDataSet::InternalClose();
  } catch (const EDAError& e) {
    if (!e.IsFatal()) throw;
  }
  updatingTableIndex_ = -1;
  updatingTableName_.clear();
  identityName_.clear();
}

void TCustomDADataSet::chooseUpdatingTable() {
  const auto& tables = Data()->TablesInfo();
  updatingTableIndex_ = -1;
  updatingTableName_.clear();
  if (!tables.empty()) {
    if (UpdatingTable.empty()) {
      updatingTableIndex_ = 0;
    } else {
      for (std::size_t i = 0; i < tables.size() && updatingTableIndex_ < 0; ++i)
        if (classes::sameText(tables[i]->TableName, UpdatingTable)) updatingTableIndex_ = static_cast<int>(i);
      for (std::size_t i = 0; i < tables.size() && updatingTableIndex_ < 0; ++i)
        if (classes::sameText(tables[i]->TableAlias, UpdatingTable)) updatingTableIndex_ = static_cast<int>(i);
      if (updatingTableIndex_ < 0) throw EDatabaseError("Wrong UpdatingTable value - table " + UpdatingTable + " is unknown");
    }
    updatingTableName_ = tables[static_cast<std::size_t>(updatingTableIndex_)]->TableName;
  } else if (!UpdatingTable.empty()) {
    updatingTableIndex_ = 0;
    updatingTableName_ = UpdatingTable;
  }
}

void TCustomDADataSet::Execute() {
  RunWrapped([&] {
    beginConnection();
    Close();
    if (BeforeExecute) BeforeExecute(*this);
    bool returnsRows = false;
    try {
      Data()->SetSQL(statementText());
      Data()->Params = params_;
      returnsRows = Data()->ExecuteNoRows();
    } catch (...) {
      if (AfterExecute) AfterExecute(*this, false);
      throw;
    }
    if (returnsRows) Open();
    if (AfterExecute) AfterExecute(*this, true);
  });
}
