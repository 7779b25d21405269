#pragma once
// Temporary folders and small SQLite files in code page 936 for the data layer's tests.

#include <filesystem>
#include <string>

#include "platform/text/AnsiText.h"
#include "tests/support/TempFolder.h"

class TempFolder : public test_support::TempFolder {
 public:
  TempFolder() : test_support::TempFolder("sici-data") {}

  // A file name in the folder as the data layer takes it: 8-bit text.
  AnsiString file(const std::string& name) const { return (path() / name).string(); }
};

// The Debian SQLite library without the encryption entry points.
inline constexpr const char* kPlainSQLite = "libsqlite3.so.0";
