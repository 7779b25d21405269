#pragma once
// Shell links as this desktop has them: Desktop Entry files (".desktop") that start a
// program in a working folder, and the special folders they usually go to.

#include <QString>

// The link file's extension, with its dot.
inline constexpr const char* kShellLinkExtension = ".desktop";

// The path of a special folder: 0 the desktop (XDG), 26 the user's data folder (XDG data
// home); empty for an id this desktop does not know or a folder it cannot name.
QString SpecialFolderPath(int folderId);

// Writes a link named `name` that starts `target` in `workingDir` into `file`, replacing an
// existing one. False when the file cannot be written; a missing folder is not created.
bool SaveShellLink(const QString& file, const QString& target, const QString& workingDir, const QString& name);
