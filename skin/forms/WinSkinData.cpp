#include "skin/forms/WinSkinData.h"

#include <fstream>
#include <iterator>
#include <unordered_map>

#include <QImage>

#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/graphics/Graphics.h"
#include "platform/text/QtText.h"
#include "skin/SkinWrite.h"
#include "skin/forms/SkinManage.h"

namespace {

TSkinColours systemColours() {
  auto c = [](TColor system) { return static_cast<TColorRef>(ColorToRGB(system)); };
  TSkinColours s;
  s.ButtonFace = c(clBtnFace);
  s.WindowText = c(clWindowText);
  s.Scrollbar = c(clScrollBar);
  s.HilightText = c(clHighlightText);
  s.Hilight = c(clHighlight);
  s.Menubar = c(clMenuBar);
  s.Menu = c(clMenu);
  s.MenuText = c(clMenuText);
  s.ButtonText = c(clBtnText);
  s.ButtonHilight = c(clBtnHighlight);
  s.Buttonlight = c(cl3DLight);
  s.ButtonShadow = c(clBtnShadow);
  s.ButtonDkShadow = c(cl3DDkShadow);
  s.MenuBarText = c(clMenuText);
  s.TitleTextActive = c(clCaptionText);
  s.TitleTextNoActive = c(clInactiveCaptionText);
  return s;
}

// Bitmaps decoded once each, however many sections name them.
class TBitmapCache {
 public:
  QImage Get(const TSkinBitmap& bitmap, bool transparent) {
    auto [it, fresh] = images_.try_emplace(bitmap.Name);
    if (fresh) {
      const auto* bytes = reinterpret_cast<const uchar*>(bitmap.Bytes.data());
      it->second = QImage::fromData(bytes, static_cast<int>(bitmap.Bytes.size()), "BMP")
                       .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    if (!transparent || it->second.isNull()) return it->second;
    QImage keyed = it->second;
    for (int y = 0; y < keyed.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
      for (int x = 0; x < keyed.width(); ++x)
        if (row[x] == kSkinKeyColour) row[x] = 0;
    }
    return keyed;
  }

 private:
  std::unordered_map<AnsiString, QImage> images_;
};

TSkinPicture picture(QImage image, const TSkinImage& from) {
  TSkinPicture p;
  p.Image = std::move(image);
  p.LeftWidth = from.LeftWidth;
  p.RightWidth = from.RightWidth;
  p.TopHeight = from.TopHeight;
  p.BottomHeight = from.BottomHeight;
  p.Frame = from.Frame;
  p.Tile = from.Tile == 1;
  p.Style = from.Style;
  return p;
}

TSkinPicture whole(QImage image, int frames) {
  TSkinPicture p;
  p.Image = std::move(image);
  p.Frame = frames < 1 ? 1 : frames;
  return p;
}

// The frame sides keep their ends (TopHeight/BotHeight) along the side's length: the top and
// bottom sides run across, so their ends are left and right.
TSkinPicture side(QImage image, const TSkinFrameSide& s, bool across) {
  TSkinPicture p = whole(std::move(image), s.Frame);
  (across ? p.LeftWidth : p.TopHeight) = s.TopHeight;
  (across ? p.RightWidth : p.BottomHeight) = s.BotHeight;
  p.Tile = s.Stretch == 0;
  return p;
}

}  // namespace

TSkinControls DefaultSkinControls() {
  TSkinControls all = TSkinControls::FromBits((1u << (xcFastReport + 1)) - 1);
  all.Exclude(xcMenuItem);
  all.Exclude(xcFastReport);
  return all;
}

TSkinOptions DefaultSkinOptions() { return {xoPreview, xoToolbarBK, xoCaptionButtonHint}; }

TSkinData::TSkinData(TComponent* owner, QWidget* window)
    : TComponent(owner),
      skinControls_(DefaultSkinControls()),
      options_(DefaultSkinOptions()),
      skin3rd_(std::make_unique<TStringList>()),
      window_(window) {
  for (const AnsiString& line : DefaultSkin3rd()) skin3rd_->Add(line);
}

TSkinData::~TSkinData() {
  if (TSkinManage* manager = TSkinManage::Instance()) manager->Unregister(this);
}

void TSkinData::SetActive(bool active) {
  active_ = active;
  if (Loading() || Empty()) return;
  if (TSkinManage* manager = TSkinManage::Instance()) manager->RequestAction(active ? saSkin : saUnskin, 250);
}

void TSkinData::SetSkinFile(const AnsiString& fileName) {
  skinFile_ = fileName;
  if (ComponentState().Contains(csDesigning)) {
    if (!fileName.empty()) fileBytes_.clear();
    return;
  }
  std::ifstream file(fileName, std::ios::binary);
  if (fileName.empty() || !file) return;
  fileBytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  LoadSkin();
  if (OnSkinChanged) OnSkinChanged(*this);
  if (TSkinManage* manager = TSkinManage::Instance(); manager && manager->Data() == this)
    manager->RequestAction(saRefresh, 100);
}

AnsiString TSkinData::SkinStore() const { return fileBytes_.empty() ? "(none)" : "(Good)"; }

void TSkinData::ReadSkinStream(std::string_view stream) {
  clearSkin();
  fileBytes_.clear();
  try {
    fileBytes_ = std::string(SkinStreamImage(stream));
  } catch (const ESkinReadError& error) {
    loadError_ = error.what();
    return;
  }
  if (!ComponentState().Contains(csDesigning)) LoadSkin();
}

std::string TSkinData::WriteSkinStream() const { return SkinStreamOf(fileBytes_); }

void TSkinData::clearSkin() {
  description_.reset();
  pictures_.clear();
  colours_ = systemColours();
  faceBrush_ = QBrush();
  loadError_.clear();
}

void TSkinData::LoadSkin() {
  clearSkin();
  if (fileBytes_.empty()) return;
  try {
    auto description =
        std::make_unique<TSkinDescription>(ReadSkinDescription(ReadSkinFile(fileBytes_), systemColours()));
    applyDescription(std::move(description));
  } catch (const ESkinVersionError& error) {
    loadError_ = error.what();
    MessageBoxWithCaption(Application ? text::toQString(Application->Title()) : QString(),
                          QString::fromLatin1(kOlderSkinMessage.data(), static_cast<int>(kOlderSkinMessage.size())),
                          TMsgDlgType::mtWarning, mbOK);
  } catch (const std::exception& error) {
    // A damaged file leaves the windows as the platform draws them.
    clearSkin();
    loadError_ = error.what();
  }
}

void TSkinData::applyDescription(std::unique_ptr<TSkinDescription> d) {
  TBitmapCache cache;
  auto add = [&](std::string_view name, TSkinPicture p) {
    if (!p.Image.isNull()) pictures_[text::upperAscii(name)] = std::move(p);
  };
  for (const TSkinImage& image : d->Images)
    add(image.Section, picture(cache.Get(image.Bitmap, image.Trans == 1), image));
  for (const TSkinImage& image : d->Images)
    if (image.GlyphImage) add(image.Section + ".Glyph", whole(cache.Get(*image.GlyphImage, true), 1));
  if (d->Buttons.Button) add("Buttons", picture(cache.Get(d->Buttons.Button->Bitmap, true), *d->Buttons.Button));
  if (auto& b = d->Buttons.CheckButton) add("Buttons.CheckButton", whole(cache.Get(*b, true), d->Buttons.CheckButtonFrame));
  if (auto& b = d->Buttons.RadioButton) add("Buttons.RadioButton", whole(cache.Get(*b, true), d->Buttons.RadioButtonFrame));
  const TSkinPersonality& p = d->Personality;
  const std::pair<const char*, const TSkinFrameSide*> sides[] = {
      {"Personality.Left", &p.Left}, {"Personality.Right", &p.Right}, {"Personality.Top", &p.Top},
      {"Personality.Bottom", &p.Bottom}};
  for (auto [name, s] : sides)
    if (s->Image) add(name, side(cache.Get(*s->Image, s->Trans == 1), *s, s == &p.Top || s == &p.Bottom));
  if (p.TextBack) {
    TSkinPicture back = whole(cache.Get(*p.TextBack, true), 1);
    back.LeftWidth = p.TXTBackleft;
    back.RightWidth = p.TXTBackRight;
    add("Personality.TextBack", std::move(back));
  }
  if (p.MenuBar) {
    TSkinPicture bar = whole(cache.Get(*p.MenuBar, false), 1);
    bar.Tile = p.TileMenu == 1;
    add("Personality.MenuBar", std::move(bar));
  }
  if (d->MdiControls) add("MDICONTROLS", whole(cache.Get(*d->MdiControls, true), 1));
  for (const TSkinCaptionButton& button : d->CaptionButtons)
    if (button.ButtonImage) add(button.Section, whole(cache.Get(*button.ButtonImage, true), button.Frame));

  colours_ = d->Colours;
  faceBrush_ = QBrush(SkinColour(colours_.ButtonFace));
  description_ = std::move(d);
}

const TSkinPicture* TSkinData::Picture(std::string_view name) const {
  auto it = pictures_.find(text::upperAscii(name));
  return it == pictures_.end() ? nullptr : &it->second;
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  if (ComponentState().Contains(csDesigning)) return;
  TSkinManage& manager = TSkinManage::Create();
  manager.Register(this);
  if (formType_ == sfMainform) {
    if (active_ && !Empty()) manager.RequestAction(saSkin, 250);
    else if (active_) active_ = false;
    if (skinControls_.Contains(xcMainMenu)) skinControls_.Exclude(xcMenuItem);
    else skinControls_.Exclude(xcSystemMenu);
  } else {
    manager.SetSingleWindow(true);
    if (window_ && active_) manager.SkinForm(window_);
  }
}
