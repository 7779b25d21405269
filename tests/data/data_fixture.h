#pragma once
// Temporary folders and small SQLite files in code page 936 for the data layer's tests.

#include <filesystem>
#include <string>

#include "platform/text/AnsiText.h"

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A file name in the folder as the data layer takes it: 8-bit text.
  AnsiString file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// The Debian SQLite library without the encryption entry points.
inline constexpr const char* kPlainSQLite = "libsqlite3.so.0";
