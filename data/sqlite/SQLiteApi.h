#pragma once
// The parts of SQLite's published C interface the data layer uses: opaque handles, result
// codes and the signatures of the entry points. The library itself is loaded at run time.

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_context;
struct sqlite3_value;

using sqlite3_int64 = long long;
using sqlite3_destructor_type = void (*)(void*);

namespace sqlite {

inline constexpr int kOk = 0;
inline constexpr int kError = 1;
inline constexpr int kMisuse = 21;
inline constexpr int kConstraint = 19;
inline constexpr int kNotADb = 26;
inline constexpr int kRow = 100;
inline constexpr int kDone = 101;

inline constexpr int kInteger = 1;
inline constexpr int kFloat = 2;
inline constexpr int kText = 3;
inline constexpr int kBlob = 4;
inline constexpr int kNull = 5;

inline constexpr int kUtf8 = 1;
inline constexpr int kUtf16 = 4;
inline constexpr int kDeterministic = 0x800;
// Safe in views, triggers and indexes while trusted_schema is off; known from 3.31.0 on.
inline constexpr int kInnocuous = 0x200000;
inline constexpr int kInnocuousSince = 3031000;

inline const sqlite3_destructor_type kTransient = reinterpret_cast<sqlite3_destructor_type>(-1);

}  // namespace sqlite
