#pragma once
// The text of a document in rich-text format (RTF), for showing a file that may be either
// plain or formatted text. Formatting is dropped; the characters and line breaks remain.

#include <string_view>

#include "platform/text/AnsiText.h"

namespace rtf {

bool isRichText(std::string_view content);

// The document's text as code page 936, lines ending in CR LF. Hex escapes (\'hh) are
// code page bytes; \uN characters are converted; tables of fonts, colours, styles and
// document information, pictures and other hidden destinations are left out.
AnsiString plainText(std::string_view rtf);

}  // namespace rtf
