#pragma once
// A skin made for tests. Every frame of every bitmap is one solid colour that no other frame,
// picture or variant shares, so a grab shows which picture and which frame was drawn. Two
// variants differ in every colour, for tests of a skin that changes.

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <QColor>
#include <QImage>

#include "skin/SkinWrite.h"

class QWidget;
class TSkinData;

namespace testskin {

// A picture of the skin: the name TSkinData::Picture knows it by, its frames and their size.
struct TPictureSpec {
  std::string_view Name;
  int Frames;
  int Width;  // of one frame
  int Height;
};

// A bitmap file of frames side by side, each `frameWidth` × `height` of one solid colour.
std::string FramesBitmap(int frameWidth, int height, const std::vector<QColor>& frames);

// Every picture the test skin has.
const std::vector<TPictureSpec>& Pictures();

// The colour of frame `frame` of picture `name` (as Pictures() names it) in skin `variant`.
QColor FrameColour(std::string_view name, int frame, int variant = 0);

// The colours of the "Colours" section.
QColor FaceColour(int variant = 0);
QColor TextColour(int variant = 0);
QColor HilightColour(int variant = 0);
QColor HilightTextColour(int variant = 0);

// The skin's files (its description and bitmaps); pictures named in `without` are left out of
// the description, as if the skin lacked them.
std::vector<TSkinFileData> Files(int variant = 0, const std::set<std::string_view>& without = {});
// A window description's skin stream of those files.
std::string Stream(int variant = 0, const std::set<std::string_view>& without = {});
// A skin component holding that skin.
std::unique_ptr<TSkinData> Load(int variant = 0, const std::set<std::string_view>& without = {});
// Loads another variant into `data`, as a new skin file would.
void Reload(TSkinData& data, int variant, const std::set<std::string_view>& without = {});

// The widget as it paints itself now, in 32-bit RGB.
QImage Grab(QWidget& widget);
// How many pixels of `rect` in `image` have exactly `colour`.
int Count(const QImage& image, const QRect& rect, const QColor& colour);
inline int Count(const QImage& image, const QColor& colour) { return Count(image, image.rect(), colour); }

}  // namespace testskin
