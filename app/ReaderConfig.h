#pragma once
// The reader's own settings between runs: one small file in the user's configuration folder
// (XDG config home), "tavrin-sici/reader.conf", with lines "name=value". It is outside input:
// whatever it holds, reading it gives a value or nothing, never more than a few kilobytes.

#include <optional>

class QString;

// The file's full name; empty when the user has no configuration folder.
QString ReaderConfigFile();

// The zoom of the poem view in percent as the file holds it, unchecked against any range;
// nothing when the file, the line or a whole number in it is missing.
std::optional<int> ReadZoomSetting();

// Writes the zoom; a folder or file that cannot be written leaves things as they were.
void WriteZoomSetting(int percent);
