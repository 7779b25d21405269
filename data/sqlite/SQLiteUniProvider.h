#pragma once
// The SQLite provider, registered under the name "SQLite".

#include "data/access/UniProvider.h"

class TSQLiteUniProvider : public TUniProvider {
 public:
  explicit TSQLiteUniProvider(TComponent* owner);
  const char* ClassName() const override { return "TSQLiteUniProvider"; }

  AnsiString GetProviderName() const override { return "SQLite"; }
  bool IsDatabaseSupported() const override { return true; }
  bool IsPortSupported() const override { return false; }

  std::unique_ptr<TCRConnection> CreateConnection() const override;
  std::unique_ptr<TCRTransaction> CreateTransaction() const override;
  std::unique_ptr<TCRRecordSet> CreateRecordSet() const override;
  TSqlFormatterClass GetSqlFormatterClass() const override;
  TSQLParserClass GetParserClass() const override;

 protected:
  void FillConnectionOptions(TOptionsList& list) override;
  void FillDataSetOptions(TOptionsList& list) override;
};

// Puts the SQLite provider into the registry; done once when the program starts, and safe
// to repeat.
void RegisterSQLiteProvider();
// Takes it out again; only while no connection uses it.
void UnRegisterSQLiteProvider();
