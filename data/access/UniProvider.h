#pragma once
// Providers: named suppliers of a database engine's classes, their option lists, and the
// process-wide registry that finds them by name.

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <typeindex>
#include <vector>

#include "data/access/CRAccess.h"
#include "data/sql/SqlFormatter.h"
#include "platform/classes/Component.h"

class TCRRecordSet;
class TStrings;

// One provider-specific option: "SQLite.BusyTimeout=5000" names the option BusyTimeout.
class TOption {
 public:
  using Setter = std::function<void(TCRPropsObject& object, const TPropValue& value)>;

  TOption(AnsiString name, int propId, std::type_index objectClass, TPropValue defaultValue, Setter setter = {});
  virtual ~TOption() = default;

  const AnsiString& Name() const { return name_; }
  int PropId() const { return propId_; }
  const TPropValue& DefaultValue() const { return default_; }
  bool AppliesTo(const TCRPropsObject& object) const { return std::type_index(typeid(object)) == objectClass_; }
  const Setter& GetSetter() const { return setter_; }

  // The value of `text` for this option; raises "Invalid value: <text> for option <name>".
  virtual TPropValue Validate(const AnsiString& text) const = 0;

 protected:
  [[noreturn]] void InvalidValue(const AnsiString& text) const;

 private:
  AnsiString name_;
  int propId_;
  std::type_index objectClass_;
  TPropValue default_;
  Setter setter_;
};

class TBooleanOption : public TOption {
 public:
  using TOption::TOption;
  TPropValue Validate(const AnsiString& text) const override;
};

class TIntegerOption : public TOption {
 public:
  using TOption::TOption;
  TPropValue Validate(const AnsiString& text) const override;
};

class TStringOption : public TOption {
 public:
  using TOption::TOption;
  TPropValue Validate(const AnsiString& text) const override { return text; }
};

// A date or time format such as "yyyy-mm-dd": refused when it names a part twice, since the
// dates read with it could not be told apart.
class TDateTimeFormatOption : public TStringOption {
 public:
  using TStringOption::TStringOption;
  TPropValue Validate(const AnsiString& text) const override;
};

// The options of one kind of object of one provider, kept in name order.
class TOptionsList {
 public:
  explicit TOptionsList(AnsiString providerName) : providerName_(std::move(providerName)) {}

  const AnsiString& ProviderName() const { return providerName_; }
  void Add(std::unique_ptr<TOption> option);
  const TOption* Find(const AnsiString& name) const;
  int Count() const { return static_cast<int>(options_.size()); }

  // Gives every option that applies to `object` its value from `lines` (or its default).
  void Apply(TCRPropsObject& object, const TStrings& lines) const;

 private:
  AnsiString providerName_;
  struct NameLess {
    bool operator()(const AnsiString& a, const AnsiString& b) const;
  };
  std::map<AnsiString, std::unique_ptr<TOption>, NameLess> options_;
};

class TUniProvider : public TComponent {
 public:
  explicit TUniProvider(TComponent* owner) : TComponent(owner) {}
  const char* ClassName() const override { return "TUniProvider"; }

  virtual AnsiString GetProviderName() const = 0;
  virtual bool IsDatabaseSupported() const { return false; }
  virtual bool IsPortSupported() const { return false; }

  virtual std::unique_ptr<TCRConnection> CreateConnection() const = 0;
  virtual std::unique_ptr<TCRTransaction> CreateTransaction() const = 0;
  virtual std::unique_ptr<TCRRecordSet> CreateRecordSet() const = 0;
  // The formatter every statement of this provider's connections is expanded with.
  virtual TSqlFormatterClass GetSqlFormatterClass() const { return NewFormatter<TUniSqlFormatter>; }
  // The lexer of this provider's dialect; its ParamNames is how the provider's commands find
  // the parameters of a text, so a data set finds the same ones.
  virtual TSQLParserClass GetParserClass() const { return NewParser<TSQLParser>; }

  const TOptionsList& GetConnectionOptions();
  const TOptionsList& GetSqlOptions();
  const TOptionsList& GetDataSetOptions();
  const TOptionsList& GetScriptOptions();

  // Applies the options that `lines` set (and the defaults of the others) to `object`.
  void SetObjectProps(TCRPropsObject& object, const TStrings& lines);

 protected:
  virtual void FillConnectionOptions(TOptionsList&) {}
  virtual void FillSqlOptions(TOptionsList&) {}
  virtual void FillDataSetOptions(TOptionsList&) {}
  virtual void FillScriptOptions(TOptionsList&) {}

  // Which list applies to an object of this kind: a record set takes the data-set options,
  // anything else the connection's.
  virtual const TOptionsList& OptionsFor(const TCRPropsObject& object);

 private:
  const TOptionsList& lazyList(std::unique_ptr<TOptionsList>& list, void (TUniProvider::*fill)(TOptionsList&));

  std::unique_ptr<TOptionsList> connectionOptions_, sqlOptions_, dataSetOptions_, scriptOptions_;
};

struct TUniProviderDesc {
  AnsiString ProviderName;
  AnsiString ProviderShortName;
  AnsiString PackageName;
  AnsiString AssemblyName;
  AnsiString SiteName;
  TUniProvider* Provider = nullptr;
};

// The process-wide list of the providers there are, and of those that have registered.
class TUniProviders {
 public:
  static TUniProviders& Instance();

  using Factory = std::function<std::unique_ptr<TUniProvider>()>;
  // Creates the provider and puts it into its descriptor; raises "%s is not a valid
  // provider name" when no descriptor carries `providerName`.
  void RegisterProvider(const AnsiString& providerName, const Factory& create);
  void UnRegisterProvider(const AnsiString& providerName);

  // The registered provider of that name, or null. Names compare without case.
  TUniProvider* GetProvider(const AnsiString& providerName);
  // The descriptor of that name; raises "%s is not a valid provider name" when there is none.
  TUniProviderDesc GetProviderDesc(const AnsiString& providerName);
  int Count();

 private:
  TUniProviders();
  TUniProviderDesc* find(const AnsiString& providerName);

  std::mutex lock_;
  std::vector<TUniProviderDesc> descs_;
  std::vector<std::unique_ptr<TUniProvider>> instances_;
};

AnsiString InvalidProviderNameMessage(const AnsiString& providerName);

// The formatter class of `provider`: its own, or the neutral TUniSqlFormatter for none. A
// connection formats every statement with
//   formatting.Expand(sql, SqlFormatterClassOf(provider))
TSqlFormatterClass SqlFormatterClassOf(const TUniProvider* provider);

// The text a query's command receives: `sql` without its trailing characters below code 33,
// with the data set's "&" macros replaced (`dataSetMacros` gives a value or false) and then
// formatted for `provider` by the connection's `formatting`.
AnsiString StatementText(const AnsiString& sql, TSqlFormatting& formatting, const TUniProvider* provider,
                         const std::function<bool(const AnsiString& name, AnsiString& value)>& dataSetMacros = {});
