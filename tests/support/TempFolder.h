#pragma once
// Temporary folders for tests: made empty under the system's temporary folder, with a name of
// their own, and removed with everything in them when the test is done with them.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace test_support {

// A new empty folder named `prefix` and six random characters.
inline std::filesystem::path MakeTempFolder(std::string_view prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  return pattern;
}

// A folder that lives as long as the object.
class TempFolder {
 public:
  explicit TempFolder(std::string_view prefix) : path_(MakeTempFolder(prefix)) {}
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace test_support
