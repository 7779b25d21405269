#pragma once
// What the pinyin tests share: temporary folders, small dictionary files written as the format
// has them, the dictionary the build made from the data package, and runs of the programs.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/PinyinReading.h"
#include "tests/support/TempFolder.h"

namespace pinyin_test {

struct TempFolder : test_support::TempFolder {
  TempFolder() : test_support::TempFolder("sici-pinyin") {}
};

void WriteFile(const std::filesystem::path& file, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& file);

// A dictionary file of these "word\treading\trate" lines, sorted as the format wants them.
std::string DictionaryText(std::vector<std::string> lines);
// A reader over a dictionary file of these lines.
std::unique_ptr<text::PinyinReader> ReaderOf(std::vector<std::string> lines);

// The readings of `utf8`, one a character, joined by "|": "cháng|ān".
std::string Readings(const text::PinyinReader& reader, std::string_view utf8);

// sici.pinyin as the build made it from the data package, or empty when the build was configured
// without SICI_PINYIN_DATA_DIR.
std::filesystem::path RealDictionaryFile();
// A reader over it, loaded once; null when there is none.
const text::PinyinReader* RealReader();

struct Run {
  int Exit = -1;
  std::string Output;  // standard output
  std::string Errors;  // standard error
};
// Runs the program with these arguments in `folder`.
Run RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
               const std::filesystem::path& folder = std::filesystem::current_path());

}  // namespace pinyin_test
