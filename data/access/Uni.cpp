#include "data/access/Uni.h"

#include <algorithm>

#include "data/access/UniProvider.h"
#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"

void WrapProviderErrors(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const EUniError&) {
    throw;
  } catch (const EDAError& e) {
    throw EUniError(e);
  }
}

// ---- TSpecificOptionsList --------------------------------------------------------------------

AnsiString TSpecificOptionsList::prefixed(const AnsiString& line) const {
  const auto equals = line.find('=');
  const auto dot = line.find('.');
  if (equals == AnsiString::npos || (dot != AnsiString::npos && dot < equals)) return line;
  return providerName_() + "." + line;
}

void TSpecificOptionsList::Put(int index, const AnsiString& s) { TStringList::Put(index, prefixed(s)); }

void TSpecificOptionsList::InsertItem(int index, const AnsiString& s, TObject* object) {
  TStringList::InsertItem(index, prefixed(s), object);
}

AnsiString TSpecificOptionsList::OptionValue(const AnsiString& name) const {
  int index = IndexOfName(name);
  if (index < 0 && name.find('.') == AnsiString::npos) index = IndexOfName(providerName_() + "." + name);
  return index < 0 ? AnsiString() : ValueFromIndex(index);
}

// ---- TUniConnection --------------------------------------------------------------------------

TUniConnection::TUniConnection(TComponent* owner)
    : TComponent(owner), specificOptions_([this] { return providerName_; }) {
  specificOptions_.OnChanging = [this](TObject&) {
    if (Connected()) close();
  };
  specificOptions_.OnChange = [this](TObject&) { optionsModified_ = true; };
}

TUniConnection::~TUniConnection() {
  specificOptions_.OnChanging = nullptr;
  specificOptions_.OnChange = nullptr;
  try {
    if (Connected()) close();
  } catch (const Exception&) {
    // Closing while being destroyed has no one to tell; the handle is released regardless.
  }
}

void TUniConnection::SetProviderName(const AnsiString& name) {
  if (Connected()) throw EDatabaseError("This operation is not allowed on active connection");
  const AnsiString value(text::trimmed(name));
  if (!classes::sameText(value, providerName_)) {
    provider_ = value.empty() ? nullptr : TUniProviders::Instance().GetProvider(value);
    transaction_.reset();
    connection_.reset();
  }
  providerName_ = value;
}

void TUniConnection::SetDatabase(const AnsiString& database) {
  const AnsiString value(text::trimmed(database));
  if (value != database_ && Connected()) close();
  database_ = value;
  if (connection_) connection_->SetProp(prDatabase, database_);
}

bool TUniConnection::Connected() const { return connection_ && connection_->GetConnected(); }

void TUniConnection::SetConnected(bool connected) {
  if (Loading()) {
    // A window being read opens its connections once all of it is there.
    if (connected && (options_.KeepDesignConnected || ComponentState().Contains(csDesigning))) streamedConnected_ = true;
    if (!connected) streamedConnected_ = false;
    return;
  }
  if (connected == Connected()) return;
  if (connected)
    open();
  else
    close();
}

void TUniConnection::Loaded() {
  TComponent::Loaded();
  if (!streamedConnected_) return;
  streamedConnected_ = false;
  SetConnected(true);
}

TUniProvider& TUniConnection::provider() {
  if (!provider_ && !providerName_.empty()) provider_ = TUniProviders::Instance().GetProvider(providerName_);
  if (provider_) return *provider_;
  if (providerName_.empty()) throw EDatabaseError("Provider is not defined");
  const TUniProviderDesc desc = TUniProviders::Instance().GetProviderDesc(providerName_);
  const AnsiString unit = desc.ProviderShortName + "UniProvider";
  throw Exception(desc.ProviderName + " provider is not registered. You should add the " + unit +
                  " unit to the uses clause of any unit in your project or place the T" + unit +
                  " component on the form.");
}

void TUniConnection::connectProvider() {
  TUniProvider& p = provider();
  if (!connection_) {
    connection_ = p.CreateConnection();
    // Attached before anything can fail, so that an object kept after a failed first open
    // still reports to this component.
    connection_->SetComponent(this);
    connection_->SetOnError([this](EDAError& error, bool& fail) {
      if (error.IsFatal()) return;
      EUniError wrapped(error);
      if (OnError) OnError(*this, wrapped, fail);
    });
    if (p.IsDatabaseSupported()) connection_->SetProp(prDatabase, database_);
    connection_->SetProp(prDisconnectedMode, options_.DisconnectedMode);
    connection_->SetProp(prEnableBCD, options_.EnableBCD);
    connection_->SetProp(prEnableFMTBCD, options_.EnableFMTBCD);
    optionsModified_ = true;
  }
  if (optionsModified_) {
    // Cleared only once every option took: a refused value leaves them to be applied again.
    p.SetObjectProps(*connection_, specificOptions_);
    optionsModified_ = false;
  }
  if (!transaction_) {
    transaction_ = p.CreateTransaction();
    transaction_->AddConnection(connection_.get());
  }
  connection_->SetUsername(Username);
  connection_->SetPassword(Password);
  connection_->SetServer(Server);
  WrapProviderErrors([&] { connection_->Connect(); });
  if (p.IsDatabaseSupported() && database_.empty()) {
    TPropValue value;
    if (connection_->GetProp(prDatabase, value)) database_ = std::get<AnsiString>(value);
  }
}

void TUniConnection::open() {
  // No login dialog is installed, so LoginPrompt never shows one.
  if (BeforeConnect) BeforeConnect(*this);
  connectProvider();
  notifyClients(true);
  if (AfterConnect) AfterConnect(*this);
}

void TUniConnection::close() {
  if (BeforeDisconnect) BeforeDisconnect(*this);
  notifyClients(false);
  // SQLite rolls back what a closed handle left open; the next open starts afresh.
  transaction_.reset();
  WrapProviderErrors([&] { connection_->Disconnect(); });
  if (AfterDisconnect) AfterDisconnect(*this);
}

void TUniConnection::notifyClients(bool connecting) {
  // A client may unregister itself while it is told.
  const std::vector<TConnectionClient*> clients = clients_;
  for (TConnectionClient* client : clients)
    if (std::find(clients_.begin(), clients_.end(), client) != clients_.end()) client->ConnectChange(connecting);
}

void TUniConnection::RegisterClient(TConnectionClient* client) {
  if (std::find(clients_.begin(), clients_.end(), client) == clients_.end()) clients_.push_back(client);
}

void TUniConnection::UnRegisterClient(TConnectionClient* client) { std::erase(clients_, client); }

TCRTransaction& TUniConnection::transaction() {
  if (!Connected() || !transaction_) throw EDatabaseError("Connection is not active");
  return *transaction_;
}

void TUniConnection::StartTransaction() {
  WrapProviderErrors([&] { transaction().StartTransaction(); });
}
void TUniConnection::Commit() {
  WrapProviderErrors([&] { transaction().Commit(); });
}
void TUniConnection::Rollback() {
  WrapProviderErrors([&] { transaction().Rollback(); });
}
bool TUniConnection::InTransaction() const { return transaction_ && Connected() && transaction_->GetInTransaction(); }
