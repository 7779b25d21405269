#include "skin/forms/WinSkinData.h"

#include <fstream>
#include <iterator>

#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/graphics/Graphics.h"
#include "platform/text/QtText.h"
#include "skin/SkinWrite.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/SkinPictures.h"

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
                          TMsgDlgType::mtCustom, mbOK);
  } catch (const std::exception& error) {
    // A damaged file leaves the windows as the platform draws them.
    clearSkin();
    loadError_ = error.what();
  }
}

void TSkinData::applyDescription(std::unique_ptr<TSkinDescription> d) {
  pictures_ = ReadSkinPictures(*d);
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
  } else if (window_ && active_) {
    manager.SkinOwnWindow(window_);
  }
}
