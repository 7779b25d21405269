#pragma once
// The reader's own skin, packed from assets/skin when the program is built.

#include <string>

// The skin stream of the main window's description: a 4-byte length and the skin file.
std::string ShippedSkinStream();
