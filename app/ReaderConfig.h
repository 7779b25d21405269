#pragma once
// The reader's own settings between runs: one small file in the user's configuration folder
// (XDG config home), "tavrin-sici/reader.conf", with lines "name=value" holding whole numbers.
// It is outside input: whatever it holds, reading it gives a value or nothing, never more than a
// few kilobytes.

#include <optional>
#include <string_view>

class QString;

// The file's full name; empty when the user has no configuration folder.
QString ReaderConfigFile();

// The setting `name` as the file holds it, unchecked against any range; nothing when the file,
// the line or a whole number in it is missing. The last line of that name counts.
std::optional<int> ReadSetting(std::string_view name);

// Writes the setting and keeps the file's other lines; a folder or file that cannot be written
// leaves things as they were.
void WriteSetting(std::string_view name, int value);

// The names the reader keeps.
inline constexpr std::string_view kZoomSetting = "zoom";
inline constexpr std::string_view kPinyinSetting = "pinyin";
inline constexpr std::string_view kTraditionalSetting = "traditional";
inline constexpr std::string_view kVerticalSetting = "vertical";
