#pragma once
// Binding to the SQLite library, loaded once per process by file name. Every entry point
// lives in one table; one the library lacks is a stub that throws only when called.

#include "data/sqlite/SQLiteApi.h"
#include "platform/text/AnsiText.h"

using TCollationCompare = int (*)(void*, int, const void*, int, const void*);
using TFunctionCall = void (*)(sqlite3_context*, int, sqlite3_value**);
using TFunctionFinal = void (*)(sqlite3_context*);

// X(name, result, parameters) for every entry point, in binding order.
#define SICI_SQLITE_ENTRY_POINTS(X)                                                                       \
  X(sqlite3_open, int, (const char*, sqlite3**))                                                          \
  X(sqlite3_open16, int, (const void*, sqlite3**))                                                        \
  X(sqlite3_open_v2, int, (const char*, sqlite3**, int, const char*))                                     \
  X(sqlite3_close, int, (sqlite3*))                                                                       \
  X(sqlite3_errcode, int, (sqlite3*))                                                                     \
  X(sqlite3_errmsg, const char*, (sqlite3*))                                                              \
  X(sqlite3_last_insert_rowid, sqlite3_int64, (sqlite3*))                                                 \
  X(sqlite3_changes, int, (sqlite3*))                                                                     \
  X(sqlite3_prepare_v2, int, (sqlite3*, const char*, int, sqlite3_stmt**, const char**))                  \
  X(sqlite3_step, int, (sqlite3_stmt*))                                                                   \
  X(sqlite3_reset, int, (sqlite3_stmt*))                                                                  \
  X(sqlite3_finalize, int, (sqlite3_stmt*))                                                               \
  X(sqlite3_column_count, int, (sqlite3_stmt*))                                                           \
  X(sqlite3_column_type, int, (sqlite3_stmt*, int))                                                       \
  X(sqlite3_column_name, const char*, (sqlite3_stmt*, int))                                               \
  X(sqlite3_column_origin_name, const char*, (sqlite3_stmt*, int))                                        \
  X(sqlite3_column_table_name, const char*, (sqlite3_stmt*, int))                                         \
  X(sqlite3_column_database_name, const char*, (sqlite3_stmt*, int))                                      \
  X(sqlite3_column_decltype, const char*, (sqlite3_stmt*, int))                                           \
  X(sqlite3_column_blob, const void*, (sqlite3_stmt*, int))                                               \
  X(sqlite3_column_bytes, int, (sqlite3_stmt*, int))                                                      \
  X(sqlite3_column_double, double, (sqlite3_stmt*, int))                                                  \
  X(sqlite3_column_int, int, (sqlite3_stmt*, int))                                                        \
  X(sqlite3_column_int64, sqlite3_int64, (sqlite3_stmt*, int))                                            \
  X(sqlite3_column_text, const unsigned char*, (sqlite3_stmt*, int))                                      \
  X(sqlite3_bind_parameter_count, int, (sqlite3_stmt*))                                                   \
  X(sqlite3_bind_blob, int, (sqlite3_stmt*, int, const void*, int, sqlite3_destructor_type))              \
  X(sqlite3_bind_double, int, (sqlite3_stmt*, int, double))                                               \
  X(sqlite3_bind_int, int, (sqlite3_stmt*, int, int))                                                     \
  X(sqlite3_bind_int64, int, (sqlite3_stmt*, int, sqlite3_int64))                                         \
  X(sqlite3_bind_null, int, (sqlite3_stmt*, int))                                                         \
  X(sqlite3_bind_text, int, (sqlite3_stmt*, int, const char*, int, sqlite3_destructor_type))              \
  X(sqlite3_result_blob, void, (sqlite3_context*, const void*, int, sqlite3_destructor_type))             \
  X(sqlite3_result_double, void, (sqlite3_context*, double))                                              \
  X(sqlite3_result_error, void, (sqlite3_context*, const char*, int))                                     \
  X(sqlite3_result_error16, void, (sqlite3_context*, const void*, int))                                   \
  X(sqlite3_result_error_toobig, void, (sqlite3_context*))                                                \
  X(sqlite3_result_error_nomem, void, (sqlite3_context*))                                                 \
  X(sqlite3_result_error_code, void, (sqlite3_context*, int))                                             \
  X(sqlite3_result_int, void, (sqlite3_context*, int))                                                    \
  X(sqlite3_result_int64, void, (sqlite3_context*, sqlite3_int64))                                        \
  X(sqlite3_result_null, void, (sqlite3_context*))                                                        \
  X(sqlite3_result_text, void, (sqlite3_context*, const char*, int, sqlite3_destructor_type))             \
  X(sqlite3_result_text16, void, (sqlite3_context*, const void*, int, sqlite3_destructor_type))           \
  X(sqlite3_result_text16le, void, (sqlite3_context*, const void*, int, sqlite3_destructor_type))         \
  X(sqlite3_result_text16be, void, (sqlite3_context*, const void*, int, sqlite3_destructor_type))         \
  X(sqlite3_result_value, void, (sqlite3_context*, sqlite3_value*))                                       \
  X(sqlite3_result_zeroblob, void, (sqlite3_context*, int))                                               \
  X(sqlite3_value_blob, const void*, (sqlite3_value*))                                                    \
  X(sqlite3_value_bytes, int, (sqlite3_value*))                                                           \
  X(sqlite3_value_bytes16, int, (sqlite3_value*))                                                         \
  X(sqlite3_value_double, double, (sqlite3_value*))                                                       \
  X(sqlite3_value_int, int, (sqlite3_value*))                                                             \
  X(sqlite3_value_int64, sqlite3_int64, (sqlite3_value*))                                                 \
  X(sqlite3_value_text, const unsigned char*, (sqlite3_value*))                                           \
  X(sqlite3_value_text16, const void*, (sqlite3_value*))                                                  \
  X(sqlite3_value_type, int, (sqlite3_value*))                                                            \
  X(sqlite3_user_data, void*, (sqlite3_context*))                                                         \
  X(sqlite3_libversion, const char*, ())                                                                  \
  X(sqlite3_libversion_number, int, ())                                                                   \
  X(sqlite3_create_collation, int, (sqlite3*, const char*, int, void*, TCollationCompare))                \
  X(sqlite3_create_collation16, int, (sqlite3*, const void*, int, void*, TCollationCompare))              \
  X(sqlite3_create_function, int,                                                                         \
    (sqlite3*, const char*, int, int, void*, TFunctionCall, TFunctionCall, TFunctionFinal))               \
  X(sqlite3_create_function16, int,                                                                       \
    (sqlite3*, const void*, int, int, void*, TFunctionCall, TFunctionCall, TFunctionFinal))               \
  X(sqlite3_enable_shared_cache, int, (int))                                                              \
  X(sqlite3_busy_timeout, int, (sqlite3*, int))                                                           \
  X(sqlite3_busy_handler, int, (sqlite3*, int (*)(void*, int), void*))

// The encryption entry points, bound after the others with their own stub.
#define SICI_SQLITE_KEY_ENTRY_POINTS(X)              \
  X(sqlite3_key, int, (sqlite3*, const void*, int)) \
  X(sqlite3_rekey, int, (sqlite3*, const void*, int))

struct TSQLiteEntryPoints {
#define SICI_DECLARE_SLOT(name, result, parameters) result(*name) parameters;
  SICI_SQLITE_ENTRY_POINTS(SICI_DECLARE_SLOT)
  SICI_SQLITE_KEY_ENTRY_POINTS(SICI_DECLARE_SLOT)
#undef SICI_DECLARE_SLOT
};

// The process-wide entry table. Written only under the load lock; read freely.
extern TSQLiteEntryPoints sqlite3api;

// The library file; empty until the first load picks the default.
AnsiString ClientLibraryName();
void SetClientLibraryName(const AnsiString& name);
// The library this platform loads when no other is named: the SQLite build with encryption.
inline constexpr const char* kDefaultClientLibrary = "libsqlcipher.so.0";

void LoadSQLiteLib();
void FreeSQLiteLib();
bool SQLiteLibLoaded();
AnsiString GetErrorMessage(sqlite3* db);
bool IsColumnMetaDataAvailable();

extern const char* const kNotLinkedMessage;
extern const char* const kNoEncryptionMessage;
