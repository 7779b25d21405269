#pragma once
// The statements that reach SQLite on one of the reader's connections, as SQLite itself reports
// them: what the reader sends, byte for byte, whatever the layers above say they send.

#include <dlfcn.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "data/access/Uni.h"
#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteClassesUni.h"

// The statements that reach SQLite on a connection while it lives, as SQLite reports them.
class StatementTrace {
 public:
  explicit StatementTrace(TUniConnection& connection)
      : db_(static_cast<TSQLiteConnection*>(connection.InternalConnection())->GetDatabaseHandle()) {
    // The library the connection loaded; asked for its trace hook by name, as the reader asks
    // for its functions.
    library_ = dlopen(kDefaultClientLibrary, RTLD_NOW | RTLD_NOLOAD);
    if (library_) trace_ = reinterpret_cast<Trace>(dlsym(library_, "sqlite3_trace_v2"));
    if (!trace_) throw std::runtime_error("no sqlite3_trace_v2 in the loaded library");
    trace_(db_, kTraceStatement, &StatementTrace::heard, this);
  }
  ~StatementTrace() {
    trace_(db_, 0, nullptr, nullptr);
    dlclose(library_);
  }
  std::vector<std::string> statements;

 private:
  using Callback = int (*)(unsigned, void*, void*, void*);
  using Trace = int (*)(sqlite3*, unsigned, Callback, void*);
  static constexpr unsigned kTraceStatement = 0x01;  // SQLITE_TRACE_STMT
  static int heard(unsigned, void* self, void*, void* sql) {
    static_cast<StatementTrace*>(self)->statements.emplace_back(static_cast<const char*>(sql));
    return 0;
  }
  sqlite3* db_;
  void* library_ = nullptr;
  Trace trace_ = nullptr;
};
