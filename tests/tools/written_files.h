#pragma once
// What the tests of the builder's output share: a temporary folder, the rows of a file the
// writer made, read through SQLCipher as the bytes are stored, and a pinyin reader over a small
// dictionary.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/text/PinyinReading.h"
#include "tests/support/TempFolder.h"

struct TempDir : test_support::TempFolder {
  TempDir() : test_support::TempFolder("sici-writer") {}
};

// Every row of `sql`, its columns joined by '|', as the stored bytes; `key` null for a plain
// file. `error` gets SQLite's result of preparing `sql`.
std::vector<std::string> storedRows(const std::filesystem::path& file, const char* key, const char* sql,
                                    int* error = nullptr);

// A reader over a dictionary of these "word\treading\trate" lines, in any order.
text::PinyinReader pinyinReaderOf(std::vector<std::string> lines);
