#include "data/access/UniProvider.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "data/records/DateTimeText.h"
#include "data/records/MemData.h"
#include "data/sql/CRParser.h"
#include "platform/classes/Strings.h"
#include "platform/classes/TextCompare.h"

namespace {

// An option line split into prefix, name and value; `valid` is false for a line without "=".
struct OptionLine {
  AnsiString prefix, name, value;
  bool valid = false;
};

OptionLine splitLine(const AnsiString& line) {
  OptionLine out;
  const auto equals = line.find('=');
  if (equals == AnsiString::npos) return out;
  out.valid = true;
  out.value = line.substr(equals + 1);
  const auto dot = line.find('.');
  if (dot != AnsiString::npos && dot < equals) {
    out.prefix = line.substr(0, dot);
    out.name = line.substr(dot + 1, equals - dot - 1);
  } else {
    out.name = line.substr(0, equals);
  }
  return out;
}

}  // namespace

TOption::TOption(AnsiString name, int propId, std::type_index objectClass, TPropValue defaultValue, Setter setter)
    : name_(std::move(name)), propId_(propId), objectClass_(objectClass), default_(std::move(defaultValue)),
      setter_(std::move(setter)) {}

void TOption::InvalidValue(const AnsiString& text) const {
  throw Exception("Invalid value: " + text + " for option " + name_);
}

TPropValue TBooleanOption::Validate(const AnsiString& text) const {
  const AnsiString trimmed(text::trimmed(text));
  if (classes::sameText(trimmed, "True")) return true;
  if (classes::sameText(trimmed, "False")) return false;
  InvalidValue(text);
}

TPropValue TIntegerOption::Validate(const AnsiString& text) const {
  const AnsiString trimmed(text::trimmed(text));
  if (trimmed.empty()) InvalidValue(text);
  errno = 0;
  char* end = nullptr;
  const long long n = std::strtoll(trimmed.c_str(), &end, 10);
  // -2147483647 is the marker of a text that is no number, so it cannot be a value itself.
  if (errno != 0 || *end != '\0' || n > INT_MAX || n <= -INT_MAX) InvalidValue(text);
  return static_cast<int>(n);
}

TPropValue TDateTimeFormatOption::Validate(const AnsiString& text) const {
  if (!IsValidDateTimeFormat(text)) InvalidValue(text);
  return text;
}

bool TOptionsList::NameLess::operator()(const AnsiString& a, const AnsiString& b) const {
  return classes::compareText(a, b) < 0;
}

void TOptionsList::Add(std::unique_ptr<TOption> option) {
  const AnsiString name = option->Name();
  options_[name] = std::move(option);
}

const TOption* TOptionsList::Find(const AnsiString& name) const {
  const auto it = options_.find(name);
  return it == options_.end() ? nullptr : it->second.get();
}

void TOptionsList::Apply(TCRPropsObject& object, const TStrings& lines) const {
  for (const auto& [name, option] : options_) {
    if (!option->AppliesTo(object)) continue;
    TPropValue value = option->DefaultValue();
    for (int i = 0; i < lines.Count(); ++i) {
      const OptionLine line = splitLine(lines[i]);
      if (!line.valid) continue;
      if (!line.prefix.empty() && !classes::sameText(line.prefix, providerName_)) continue;
      if (!classes::sameText(line.name, option->Name())) continue;
      value = option->Validate(line.value);
      break;  // the first line for an option counts
    }
    if (option->GetSetter())
      option->GetSetter()(object, value);
    else
      object.SetProp(option->PropId(), value);
  }
}

const TOptionsList& TUniProvider::lazyList(std::unique_ptr<TOptionsList>& list,
                                           void (TUniProvider::*fill)(TOptionsList&)) {
  if (!list) {
    auto created = std::make_unique<TOptionsList>(GetProviderName());
    (this->*fill)(*created);
    list = std::move(created);
  }
  return *list;
}

const TOptionsList& TUniProvider::GetConnectionOptions() {
  return lazyList(connectionOptions_, &TUniProvider::FillConnectionOptions);
}
const TOptionsList& TUniProvider::GetSqlOptions() { return lazyList(sqlOptions_, &TUniProvider::FillSqlOptions); }
const TOptionsList& TUniProvider::GetDataSetOptions() {
  return lazyList(dataSetOptions_, &TUniProvider::FillDataSetOptions);
}
const TOptionsList& TUniProvider::GetScriptOptions() {
  return lazyList(scriptOptions_, &TUniProvider::FillScriptOptions);
}

const TOptionsList& TUniProvider::OptionsFor(const TCRPropsObject& object) {
  if (dynamic_cast<const TCRRecordSet*>(&object)) return GetDataSetOptions();
  return GetConnectionOptions();
}

void TUniProvider::SetObjectProps(TCRPropsObject& object, const TStrings& lines) {
  OptionsFor(object).Apply(object, lines);
}

AnsiString InvalidProviderNameMessage(const AnsiString& providerName) {
  return providerName + " is not a valid provider name";
}

TUniProviders& TUniProviders::Instance() {
  static TUniProviders instance;
  return instance;
}

TUniProviders::TUniProviders() {
  for (const char* name : {"Access", "Advantage", "ASE", "DB2", "DBF", "InterBase", "MySQL", "NexusDB", "ODBC",
                           "Oracle", "PostgreSQL", "SQL Server", "SQLite"}) {
    TUniProviderDesc desc;
    desc.ProviderName = name;
    desc.ProviderShortName = desc.ProviderName == "SQL Server" ? "SQLServer" : name;
    descs_.push_back(desc);
  }
}

TUniProviderDesc* TUniProviders::find(const AnsiString& providerName) {
  for (TUniProviderDesc& desc : descs_)
    if (classes::sameText(desc.ProviderName, providerName)) return &desc;
  return nullptr;
}

void TUniProviders::RegisterProvider(const AnsiString& providerName, const Factory& create) {
  std::lock_guard guard(lock_);
  TUniProviderDesc* desc = find(providerName);
  if (!desc) throw Exception(InvalidProviderNameMessage(providerName));
  if (desc->Provider) return;
  instances_.push_back(create());
  desc->Provider = instances_.back().get();
}

void TUniProviders::UnRegisterProvider(const AnsiString& providerName) {
  std::lock_guard guard(lock_);
  TUniProviderDesc* desc = find(providerName);
  if (!desc || !desc->Provider) return;
  TUniProvider* provider = desc->Provider;
  desc->Provider = nullptr;
  std::erase_if(instances_, [&](const std::unique_ptr<TUniProvider>& p) { return p.get() == provider; });
}

TUniProvider* TUniProviders::GetProvider(const AnsiString& providerName) {
  std::lock_guard guard(lock_);
  const TUniProviderDesc* desc = find(providerName);
  return desc ? desc->Provider : nullptr;
}

TUniProviderDesc TUniProviders::GetProviderDesc(const AnsiString& providerName) {
  std::lock_guard guard(lock_);
  const TUniProviderDesc* desc = find(providerName);
  if (!desc) throw Exception(InvalidProviderNameMessage(providerName));
  return *desc;
}

int TUniProviders::Count() {
  std::lock_guard guard(lock_);
  return static_cast<int>(descs_.size());
}

TSqlFormatterClass SqlFormatterClassOf(const TUniProvider* provider) {
  return provider ? provider->GetSqlFormatterClass() : NewFormatter<TUniSqlFormatter>;
}

AnsiString StatementText(const AnsiString& sql, TSqlFormatting& formatting, const TUniProvider* provider,
                         const std::function<bool(const AnsiString& name, AnsiString& value)>& dataSetMacros) {
  std::size_t end = sql.size();
  while (end > 0 && static_cast<unsigned char>(sql[end - 1]) < 33) --end;
  AnsiString text = sql.substr(0, end);
  if (dataSetMacros) text = ReplaceSQLMacros(text, dataSetMacros);
  return formatting.Expand(text, SqlFormatterClassOf(provider));
}
