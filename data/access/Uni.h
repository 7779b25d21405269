#pragma once
// The connection component: an engine-neutral connection that a named provider fills in.

#include <functional>
#include <memory>
#include <vector>

#include "data/access/CRAccess.h"
#include "data/sql/Macros.h"
#include "data/sql/SqlFormatter.h"
#include "platform/classes/Component.h"
#include "platform/classes/Events.h"
#include "platform/classes/Strings.h"

class TUniProvider;

// An error raised on behalf of a connection component; it keeps the provider's original.
class EUniError : public EDAError {
 public:
  EUniError(const EDAError& inner)
      : EDAError(inner.ErrorCode(), inner.Message()), inner_(inner.Clone()) {
    SetComponent(inner.Component());
  }

  const EDAError& InnerError() const { return *inner_; }
  bool IsFatal() const override { return inner_->IsFatal(); }
  bool IsConstraintViolation() const override { return inner_->IsConstraintViolation(); }
  std::shared_ptr<EDAError> Clone() const override { return std::make_shared<EUniError>(*this); }

 private:
  std::shared_ptr<EDAError> inner_;
};

// Runs `operation`, raising a provider's EDAError as the EUniError of the component layer
// (same code, message and component); other exceptions pass unchanged.
void WrapProviderErrors(const std::function<void()>& operation);

// Option lines "Provider.Name=Value". A line stored without a provider before its name is
// given the current provider's.
class TSpecificOptionsList : public TStringList {
 public:
  explicit TSpecificOptionsList(std::function<AnsiString()> providerName) : providerName_(std::move(providerName)) {}
  const char* ClassName() const override { return "TSpecificOptionsList"; }

  void Put(int index, const AnsiString& s) override;
  // The value of option `name`: the name as given first, then with the provider's prefix.
  AnsiString OptionValue(const AnsiString& name) const;

 protected:
  void InsertItem(int index, const AnsiString& s, TObject* object) override;

 private:
  AnsiString prefixed(const AnsiString& line) const;
  std::function<AnsiString()> providerName_;
};

struct TUniConnectionOptions {
  bool ConvertEOL = false;
  bool DisconnectedMode = false;
  bool KeepDesignConnected = true;
  bool LocalFailover = false;
  bool EnableBCD = false;
  bool EnableFMTBCD = false;
};

// Something that works over a connection (a data set) and must know when it opens and closes.
class TConnectionClient {
 public:
  virtual void ConnectChange(bool connecting) = 0;

 protected:
  ~TConnectionClient() = default;
};

using TConnectionErrorEvent = std::function<void(TObject& sender, EDAError& error, bool& fail)>;

class TUniConnection : public TComponent {
 public:
  explicit TUniConnection(TComponent* owner);
  ~TUniConnection() override;
  const char* ClassName() const override { return "TUniConnection"; }

  const AnsiString& ProviderName() const { return providerName_; }
  void SetProviderName(const AnsiString& name);
  const AnsiString& Database() const { return database_; }
  void SetDatabase(const AnsiString& database);
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }
  TSpecificOptionsList& SpecificOptions() { return specificOptions_; }
  TUniConnectionOptions& Options() { return options_; }
  // Named macros of this connection's statements, and the formatting every statement passes
  // through on its way to the provider.
  TUniMacros& Macros() { return macros_; }
  TSqlFormatting& Formatting() { return formatting_; }

  AnsiString Username, Password, Server;
  bool LoginPrompt = true;
  bool Pooling = false;
  bool Debug = false;

  bool Connected() const;
  void SetConnected(bool connected);
  void Connect() { SetConnected(true); }
  void Disconnect() { SetConnected(false); }

  TNotifyEvent BeforeConnect, AfterConnect, BeforeDisconnect, AfterDisconnect;
  TConnectionErrorEvent OnError;

  // The provider's connection object, created at the first open; null before.
  TCRConnection* InternalConnection() const { return connection_.get(); }

  void RegisterClient(TConnectionClient* client);
  void UnRegisterClient(TConnectionClient* client);

  void StartTransaction();
  void Commit();
  void Rollback();
  bool InTransaction() const;

 protected:
  void Loaded() override;

 private:
  void open();
  void close();
  void connectProvider();
  TUniProvider& provider();
  void notifyClients(bool connecting);
  TCRTransaction& transaction();

  AnsiString providerName_;
  AnsiString database_;
  int port_ = 0;
  TSpecificOptionsList specificOptions_;
  TUniConnectionOptions options_;
  TUniMacros macros_{this};
  TSqlFormatting formatting_{macros_};
  TUniProvider* provider_ = nullptr;
  std::unique_ptr<TCRConnection> connection_;
  std::unique_ptr<TCRTransaction> transaction_;
  std::vector<TConnectionClient*> clients_;
  bool optionsModified_ = false;
  bool streamedConnected_ = false;
};
