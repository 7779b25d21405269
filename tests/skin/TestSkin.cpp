#include "tests/skin/TestSkin.h"

#include <algorithm>
#include <stdexcept>

#include <QBuffer>
#include <QPainter>
#include <QWidget>

#include "skin/forms/WinSkinData.h"

namespace testskin {

namespace {

// Where each picture comes from in the description: its section, the key naming its file, and
// the slicing written beside it.
struct TSource {
  std::string_view Name;
  std::string_view Section;
  std::string_view Key;
  std::string_view File;
  int Edge;  // every edge width
};

const std::vector<TSource>& sources() {
  static const std::vector<TSource> all = {
      {"Buttons", "Buttons", "Bitmap", "buttons.bmp", 3},
      {"Buttons.CheckButton", "Buttons", "CheckButton", "check.bmp", 0},
      {"Buttons.RadioButton", "Buttons", "RadioButton", "radio.bmp", 0},
      {"SunkEdge", "SunkEdge", "Image", "sunkedge.bmp", 2},
      {"ComboButton", "ComboButton", "Image", "combobutton.bmp", 2},
      {"GroupBox", "GroupBox", "Image", "groupbox.bmp", 2},
      {"GroupBoxEdge", "GroupBoxEdge", "Image", "groupboxedge.bmp", 2},
      {"Tabs", "Tabs", "Image", "tabs.bmp", 3},
      {"Tab.Pane", "Tab.Pane", "Image", "tabpane.bmp", 2},
      {"Scrollbar", "Scrollbar", "Image", "scrollbar.bmp", 0},
      {"HorzScroll", "HorzScroll", "Image", "horzscroll.bmp", 2},
      {"VertScroll", "VertScroll", "Image", "vertscroll.bmp", 2},
      {"HorzScrollThumb", "HorzScrollThumb", "Image", "horzthumb.bmp", 3},
      {"VertScrollThumb", "VertScrollThumb", "Image", "vertthumb.bmp", 3},
      {"MenuBackground", "MenuBackground", "Image", "menuback.bmp", 2},
      {"MenuItem", "MenuItem", "Image", "menuitem.bmp", 2},
      {"Progress", "Progress", "Bitmap", "progress.bmp", 2},
      {"Progress.Chunk", "Progress.Chunk", "Image", "chunk.bmp", 2},
      {"Track", "Track", "Image", "track.bmp", 2},
      {"TRACKVERT", "TRACKVERT", "Image", "trackvert.bmp", 2},
      {"Trackbar.ThumbHorz", "Trackbar.ThumbHorz", "Image", "thumbhorz.bmp", 0},
      {"Trackbar.ThumbVert", "Trackbar.ThumbVert", "Image", "thumbvert.bmp", 0},
      {"UpDown.Horz", "UpDown.Horz", "Image", "updownhorz.bmp", 2},
      {"UpDown.Vert", "UpDown.Vert", "Image", "updownvert.bmp", 2},
  };
  return all;
}

std::size_t indexOf(std::string_view name) {
  const auto& pictures = Pictures();
  for (std::size_t i = 0; i < pictures.size(); ++i)
    if (pictures[i].Name == name) return i;
  throw std::invalid_argument("the test skin has no picture " + std::string(name));
}

std::string bmp(const TPictureSpec& spec, int variant) {
  std::vector<QColor> frames;
  for (int f = 0; f < spec.Frames; ++f) frames.push_back(FrameColour(spec.Name, f, variant));
  return FramesBitmap(spec.Width, spec.Height, frames);
}

std::string rgb(const QColor& c) {
  return std::to_string(c.red()) + " " + std::to_string(c.green()) + " " + std::to_string(c.blue());
}

std::string description(int variant, const std::set<std::string_view>& without) {
  std::string ini = "[TitlebarSkin]\r\nSkinName=Test " + std::to_string(variant) + "\r\n[Colours]\r\n";
  ini += "ButtonFace=" + rgb(FaceColour(variant)) + "\r\n";
  ini += "WindowText=" + rgb(TextColour(variant)) + "\r\n";
  ini += "ButtonText=" + rgb(TextColour(variant)) + "\r\n";
  ini += "Hilight=" + rgb(HilightColour(variant)) + "\r\n";
  ini += "HilightText=" + rgb(HilightTextColour(variant)) + "\r\n";
  ini += "Menu=" + rgb(FaceColour(variant)) + "\r\n";
  ini += "MenuText=" + rgb(TextColour(variant)) + "\r\n";

  std::string_view section;
  for (const TSource& s : sources()) {
    if (s.Section != section) {
      ini += "[" + std::string(s.Section) + "]\r\n";
      section = s.Section;
    }
    if (without.contains(s.Name)) continue;
    const TPictureSpec& spec = Pictures()[indexOf(s.Name)];
    ini += std::string(s.Key) + "=" + std::string(s.File) + "\r\n";
    if (s.Name == "Buttons.CheckButton") ini += "CheckButtonFrame=" + std::to_string(spec.Frames) + "\r\n";
    else if (s.Name == "Buttons.RadioButton") ini += "RadioButtonFrame=" + std::to_string(spec.Frames) + "\r\n";
    else ini += "Frame=" + std::to_string(spec.Frames) + "\r\n";
    if (s.Name == "HorzScrollThumb" || s.Name == "VertScrollThumb")
      ini += "FrameCount=" + std::to_string(spec.Frames) + "\r\n";
    if (s.Edge > 0) {
      const std::string e = std::to_string(s.Edge);
      ini += "LeftWidth=" + e + "\r\nRightWidth=" + e + "\r\nTopHeight=" + e + "\r\nBottomHeight=" + e + "\r\n";
    }
  }
  return ini;
}

}  // namespace

std::string FramesBitmap(int frameWidth, int height, const std::vector<QColor>& frames) {
  QImage image(frameWidth * static_cast<int>(frames.size()), height, QImage::Format_RGB888);
  QPainter painter(&image);
  for (std::size_t i = 0; i < frames.size(); ++i)
    painter.fillRect(static_cast<int>(i) * frameWidth, 0, frameWidth, height, frames[i]);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "BMP")) throw std::runtime_error("cannot write a test bitmap");
  return bytes.toStdString();
}

const std::vector<TPictureSpec>& Pictures() {
  static const std::vector<TPictureSpec> all = {
      {"Buttons", 5, 12, 12},
      {"Buttons.CheckButton", 8, 13, 13},
      {"Buttons.RadioButton", 8, 13, 13},
      {"SunkEdge", 2, 8, 8},
      {"ComboButton", 4, 16, 16},
      {"GroupBox", 1, 8, 8},
      {"GroupBoxEdge", 1, 8, 8},
      {"Tabs", 3, 12, 12},
      {"Tab.Pane", 1, 8, 8},
      {"Scrollbar", 12, 16, 16},
      {"HorzScroll", 1, 8, 16},
      {"VertScroll", 1, 16, 8},
      {"HorzScrollThumb", 3, 16, 16},
      {"VertScrollThumb", 3, 16, 16},
      {"MenuBackground", 1, 8, 8},
      {"MenuItem", 1, 8, 8},
      {"Progress", 1, 8, 8},
      {"Progress.Chunk", 1, 8, 8},
      {"Track", 1, 16, 6},
      {"TRACKVERT", 1, 6, 16},
      {"Trackbar.ThumbHorz", 3, 10, 18},
      {"Trackbar.ThumbVert", 3, 18, 10},
      {"UpDown.Horz", 3, 16, 10},
      {"UpDown.Vert", 3, 16, 10},
  };
  return all;
}

// Red tells the picture, green the frame, blue the variant; blue 60 and 180 are left to the
// pictures, so the section colours below never meet a frame's.
QColor FrameColour(std::string_view name, int frame, int variant) {
  return QColor(10 + 7 * static_cast<int>(indexOf(name)), 30 + 15 * frame, variant == 0 ? 60 : 180);
}

QColor FaceColour(int variant) { return variant == 0 ? QColor(201, 202, 203) : QColor(151, 152, 153); }
QColor TextColour(int variant) { return variant == 0 ? QColor(5, 6, 7) : QColor(90, 0, 1); }
QColor HilightColour(int variant) { return variant == 0 ? QColor(20, 40, 101) : QColor(120, 20, 21); }
QColor HilightTextColour(int variant) { return variant == 0 ? QColor(250, 251, 252) : QColor(240, 241, 1); }

std::vector<TSkinFileData> Files(int variant, const std::set<std::string_view>& without) {
  std::vector<TSkinFileData> files;
  files.push_back({"skin.ini", description(variant, without)});
  for (const TSource& s : sources())
    files.push_back({AnsiString(s.File), bmp(Pictures()[indexOf(s.Name)], variant)});
  return files;
}

std::string Stream(int variant, const std::set<std::string_view>& without) {
  return SkinStreamOf(CompressSkin(WriteSkinContainer(70000, Files(variant, without))));
}

std::unique_ptr<TSkinData> Load(int variant, const std::set<std::string_view>& without) {
  auto data = std::make_unique<TSkinData>(nullptr);
  Reload(*data, variant, without);
  return data;
}

void Reload(TSkinData& data, int variant, const std::set<std::string_view>& without) {
  data.ReadSkinStream(Stream(variant, without));
  if (data.Empty()) throw std::runtime_error("the test skin did not load: " + data.LoadError());
}

QImage Grab(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

int Count(const QImage& image, const QRect& rect, const QColor& colour) {
  const QRect area = rect & image.rect();
  const QRgb want = colour.rgb();
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) == want) ++n;
  return n;
}

}  // namespace testskin
