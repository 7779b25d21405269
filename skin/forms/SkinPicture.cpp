#include "skin/forms/SkinPicture.h"

#include <algorithm>
#include <array>

#include <QBrush>
#include <QPainter>

QRect TSkinPicture::FrameRect(int index) const {
  const int frames = std::max(Frame, 1);
  const int i = std::clamp(index, 0, frames - 1);
  const int width = FrameWidth();
  return {i * width, 0, width, Image.height()};
}

namespace {

// One axis of the nine slices: where the three parts lie in the frame and in the target.
struct TSpan {
  std::array<int, 3> from{}, fromSize{}, to{}, toSize{};
};

// Edges wider together than the frame take what the frame has, the first edge first; a target
// narrower than both edges shares its length between them in their proportion, rounded.
TSpan spanOf(int frameStart, int frameSize, int lead, int trail, int targetStart, int targetSize) {
  lead = std::clamp(lead, 0, frameSize);
  trail = std::clamp(trail, 0, frameSize - lead);
  TSpan s;
  s.fromSize = {lead, frameSize - lead - trail, trail};
  if (targetSize >= lead + trail) {
    s.toSize = {lead, targetSize - lead - trail, trail};
  } else {
    const long long edges = lead + trail;
    const int squeezedLead = edges == 0 ? 0 : static_cast<int>((2LL * lead * targetSize + edges) / (2 * edges));
    s.toSize = {squeezedLead, 0, targetSize - squeezedLead};
  }
  s.from[0] = frameStart;
  s.to[0] = targetStart;
  for (std::size_t i = 1; i < 3; ++i) {
    s.from[i] = s.from[i - 1] + s.fromSize[i - 1];
    s.to[i] = s.to[i - 1] + s.toSize[i - 1];
  }
  return s;
}

// Repeats `source` over `target`, stretched to the target's size along an axis that does not
// repeat. The painter's brush does the repeating and the stretching, so neither a one-pixel tile
// nor a long target makes anything the size of the target.
void tile(QPainter& painter, const QRect& target, const QImage& image, const QRect& source, bool across, bool down) {
  QBrush brush(image.copy(source));
  QTransform place = QTransform::fromTranslate(target.x(), target.y());
  place.scale(across ? 1.0 : static_cast<double>(target.width()) / source.width(),
              down ? 1.0 : static_cast<double>(target.height()) / source.height());
  brush.setTransform(place);
  painter.fillRect(target, brush);
}

}  // namespace

void DrawSkinPicture(QPainter& painter, const QRect& target, const TSkinPicture& picture, int index) {
  if (picture.Image.isNull() || target.isEmpty()) return;
  const QRect frame = picture.FrameRect(index);
  if (frame.isEmpty()) return;
  const TSpan x = spanOf(frame.x(), frame.width(), picture.LeftWidth, picture.RightWidth, target.x(), target.width());
  const TSpan y =
      spanOf(frame.y(), frame.height(), picture.TopHeight, picture.BottomHeight, target.y(), target.height());

  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  for (std::size_t row = 0; row < 3; ++row) {
    for (std::size_t col = 0; col < 3; ++col) {
      const QRect from(x.from[col], y.from[row], x.fromSize[col], y.fromSize[row]);
      const QRect to(x.to[col], y.to[row], x.toSize[col], y.toSize[row]);
      if (from.isEmpty() || to.isEmpty()) continue;
      const bool across = picture.Tile && col == 1;
      const bool down = picture.Tile && row == 1;
      if (across || down) tile(painter, to, picture.Image, from, across, down);
      else painter.drawImage(to, picture.Image, from);
    }
  }
  painter.restore();
}
