#pragma once
// The pictures of a skin, ready to paint: every image the description names, decoded from the
// container's bitmaps and keyed under the names TSkinData::Picture knows.
//
// A skin comes from outside, and a small file can name one large bitmap from any number of
// sections. Each bitmap is decoded once, and once more with its key colour made transparent when
// some section asks for that, and every section naming it shares those images. The images a skin
// may cost are bounded: a skin whose decoded images would exceed kSkinPictureBudget is refused
// before they are decoded.

#include <cstddef>
#include <map>

#include "platform/text/AnsiText.h"
#include "skin/forms/SkinPicture.h"

struct TSkinDescription;

inline constexpr std::size_t kSkinPictureBudget = std::size_t{64} << 20;

// By upper-case name: the image sections ("GroupBox", "Tab.Pane" …), "Buttons",
// "Buttons.CheckButton", "Buttons.RadioButton", "Personality.Left" (Right, Top, Bottom),
// "Personality.TextBack", "Personality.MenuBar", "MDICONTROLS", "<section>.Glyph" and the caption
// buttons' sections.
using TSkinPictures = std::map<AnsiString, TSkinPicture>;

// Raises ESkinReadError when the decoded images would exceed kSkinPictureBudget.
TSkinPictures ReadSkinPictures(const TSkinDescription& description);

// The bytes the distinct images of `pictures` hold.
std::size_t SkinPictureBytes(const TSkinPictures& pictures);
