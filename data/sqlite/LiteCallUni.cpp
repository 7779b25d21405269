#include "data/sqlite/LiteCallUni.h"

#include <dlfcn.h>

#include <atomic>
#include <mutex>

#include "platform/classes/Exceptions.h"

const char* const kNotLinkedMessage = "SQLite function is not linked";
const char* const kNoEncryptionMessage =
    "SQLite DLL that you are using does not support SQLite database encryption. \r"
    "Please download a new DLL or recompile the existing one with encryption support. ";

namespace {

// One stub per signature: it stands in for an entry point the library does not have.
template <const char* const* Message, class F>
struct Stub;
template <const char* const* Message, class R, class... A>
struct Stub<Message, R (*)(A...)> {
  static R call(A...) { throw Exception(*Message); }
};

template <class F>
constexpr F notLinked(F) {
  return &Stub<&kNotLinkedMessage, F>::call;
}
template <class F>
constexpr F noEncryption(F) {
  return &Stub<&kNoEncryptionMessage, F>::call;
}

constexpr TSQLiteEntryPoints stubTable() {
  TSQLiteEntryPoints table{};
#define SICI_STUB_SLOT(name, result, parameters) table.name = notLinked(table.name);
  SICI_SQLITE_ENTRY_POINTS(SICI_STUB_SLOT)
#undef SICI_STUB_SLOT
#define SICI_STUB_KEY_SLOT(name, result, parameters) table.name = noEncryption(table.name);
  SICI_SQLITE_KEY_ENTRY_POINTS(SICI_STUB_KEY_SLOT)
#undef SICI_STUB_KEY_SLOT
  return table;
}

struct LibraryState {
  std::mutex lock;
  AnsiString name;
  void* handle = nullptr;
  std::atomic<bool> loaded{false};
  ~LibraryState() { FreeSQLiteLib(); }
};

LibraryState& state() {
  static LibraryState instance;
  return instance;
}

// sqlite3_config's option that turns the library's memory counts on or off.
constexpr int kConfigMemStatus = 9;

template <class F>
void bindSlot(void* module, const char* name, F& slot, F fallback) {
  void* address = dlsym(module, name);
  slot = address ? reinterpret_cast<F>(address) : fallback;
}

void BindEntryPoints(void* module) {
#define SICI_BIND_SLOT(name, result, parameters) bindSlot(module, #name, sqlite3api.name, notLinked(sqlite3api.name));
  SICI_SQLITE_ENTRY_POINTS(SICI_BIND_SLOT)
#undef SICI_BIND_SLOT
#define SICI_BIND_KEY_SLOT(name, result, parameters) \
  bindSlot(module, #name, sqlite3api.name, noEncryption(sqlite3api.name));
  SICI_SQLITE_KEY_ENTRY_POINTS(SICI_BIND_KEY_SLOT)
#undef SICI_BIND_KEY_SLOT
}

}  // namespace

constinit TSQLiteEntryPoints sqlite3api = stubTable();

AnsiString ClientLibraryName() {
  std::lock_guard guard(state().lock);
  return state().name;
}

void SetClientLibraryName(const AnsiString& name) {
  std::lock_guard guard(state().lock);
  state().name = name;
}

bool SQLiteLibLoaded() { return state().loaded.load(std::memory_order_acquire); }

void LoadSQLiteLib() {
  LibraryState& s = state();
  std::lock_guard guard(s.lock);
  if (s.loaded.load(std::memory_order_relaxed)) return;
  if (s.name.empty()) s.name = kDefaultClientLibrary;
  // The name goes to the loader unchanged: a bare name is searched for, a path is taken as is.
  void* module = dlopen(s.name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) throw Exception("Cannot load client library: " + s.name);
  s.handle = module;
  // The library is built without lookaside memory: compiling a statement takes many small
  // blocks, each counted under one process-wide lock, and nothing here reads the counts. A
  // library already in use refuses the change and keeps counting, which costs only the time.
  if (auto config = reinterpret_cast<int (*)(int, ...)>(dlsym(module, "sqlite3_config")))
    config(kConfigMemStatus, 0);
  BindEntryPoints(module);
  s.loaded.store(true, std::memory_order_release);
}

void FreeSQLiteLib() {
  LibraryState& s = state();
  std::lock_guard guard(s.lock);
  if (!s.loaded.load(std::memory_order_relaxed)) return;
  s.loaded.store(false, std::memory_order_release);
  // The stubs go back before the module goes, so that no slot points into released code.
  sqlite3api = stubTable();
  dlclose(s.handle);
  s.handle = nullptr;
}

AnsiString GetErrorMessage(sqlite3* db) {
  const char* message = sqlite3api.sqlite3_errmsg(db);
  return message ? AnsiString(message) : AnsiString();
}

bool IsColumnMetaDataAvailable() {
  const TSQLiteEntryPoints stubs = stubTable();
  return sqlite3api.sqlite3_column_origin_name != stubs.sqlite3_column_origin_name &&
         sqlite3api.sqlite3_column_table_name != stubs.sqlite3_column_table_name &&
         sqlite3api.sqlite3_column_database_name != stubs.sqlite3_column_database_name;
}
