#pragma once
// Provider-level base classes: a connection, a command and a transaction of one database
// engine, configured through numbered properties.

#include <functional>
#include <memory>
#include <vector>

#include "data/records/CRProps.h"
#include "data/records/DAError.h"
#include "platform/text/AnsiText.h"

class TComponent;

// Called with every error before it is raised; clearing `fail` turns it into a silent abort.
using TErrorProc = std::function<void(EDAError& error, bool& fail)>;

class TCRConnection : public TCRPropsObject {
 public:
  const char* ClassName() const override { return "TCRConnection"; }

  virtual void Connect() = 0;
  virtual void Disconnect() = 0;
  virtual AnsiString GetServerVersion() const = 0;
  // The columns of `tableName` whose values the engine assigns itself (an SQLite INTEGER
  // PRIMARY KEY); a provider that cannot tell answers none.
  virtual std::vector<AnsiString> GetAutoIncColumns(const AnsiString& /*tableName*/) { return {}; }

  bool GetConnected() const { return connected_; }

  bool SetProp(int prop, const TPropValue& value) override;
  bool GetProp(int prop, TPropValue& value) const override;

  void SetUsername(const AnsiString& username) { username_ = username; }
  void SetPassword(const AnsiString& password) { password_ = password; }
  void SetServer(const AnsiString& server) { server_ = server; }

  // The connection component this object works for; errors name it.
  TComponent* Component() const { return component_; }
  void SetComponent(TComponent* component) { component_ = component; }
  void SetOnError(TErrorProc onError) { onError_ = std::move(onError); }

 protected:
  // Hands `error` to the error hook; false when the hook cleared the fail flag, in which case
  // the caller raises EAbort instead of the error.
  bool ErrorHookFails(EDAError& error) const;

  bool connected_ = false;
  AnsiString username_, password_, server_;
  bool disconnectedMode_ = false;
  bool enableBCD_ = false;
  bool enableFMTBCD_ = false;

 private:
  TComponent* component_ = nullptr;
  TErrorProc onError_;
};

enum class TCRIsolationLevel { ilReadCommitted, ilReadUnCommitted, ilRepeatableRead, ilIsolated, ilSnapshot, ilCustom };

class TCRTransaction : public TCRPropsObject {
 public:
  const char* ClassName() const override { return "TCRTransaction"; }

  void AddConnection(TCRConnection* connection) { connections_.push_back(connection); }
  void ClearConnections() { connections_.clear(); }
  void SetIsolationLevel(TCRIsolationLevel level) { isolationLevel_ = level; }
  bool GetInTransaction() const { return active_; }

  virtual void StartTransaction() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  virtual void Savepoint(const AnsiString& name) = 0;
  virtual void ReleaseSavepoint(const AnsiString& name) = 0;
  virtual void RollbackToSavepoint(const AnsiString& name) = 0;

 protected:
  std::vector<TCRConnection*> connections_;
  TCRIsolationLevel isolationLevel_ = TCRIsolationLevel::ilReadCommitted;
  bool active_ = false;
};
