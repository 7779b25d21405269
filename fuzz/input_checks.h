#pragma once
// What must hold for every input of the readers that take a database file's text: the column
// definitions of a CREATE TABLE statement with their declared types, and date and time texts
// read with formats from option lines. The libFuzzer targets and a seeded test both run these.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A broken invariant; the message says which.
class EInputCheck : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// The input is a table name, a line feed and a statement (no line feed: all statement); the
// whole input is also taken as a declared type. Every column read must be numbered in order,
// and every declared type must map to a layout that fits a record, with or without BCD,
// long strings and inline strings.
void CheckSchemaInput(std::string_view input);

// The input is a date format, a zero byte, a time format, a zero byte and a date text; eight
// bytes of it also make a day number. A text read as a date must lie in the years 1 to 9999,
// survive being written and read back, and every format must write every such date.
void CheckDateTimeInput(std::string_view input);

// Inputs to start from: the reader's own schema and a few hostile ones, and dates in the
// default and in other formats.
std::vector<std::string> SchemaSeeds();
std::vector<std::string> DateTimeSeeds();

// Fills an empty corpus folder named on a fuzzer's command line with `seeds`.
void WriteSeeds(int argc, char** argv, const std::vector<std::string>& seeds);
