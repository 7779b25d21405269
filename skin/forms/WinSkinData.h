#pragma once
// TSkinData: one skin for the application's windows. It keeps the skin file's bytes (read from
// the window description's skin stream or from a skin file), the description and images read
// from them, and the settings that tell the skin manager what to skin. The manager and the
// skinners draw from it; it never draws itself.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include <QBrush>
#include <QColor>

#include "platform/classes/Component.h"
#include "platform/classes/Strings.h"
#include "skin/SkinDescription.h"
#include "skin/forms/SkinPictures.h"

class QWidget;
class TSkinControl;

enum TSkinControlType {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress,
  xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox, xcStatusBar, xcTab,
  xcTrackBar, xcSystemMenu, xcFastReport,
};

enum TSkinOption {
  xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
  xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoCaptionButtonHint, xoFormScrollbar,
};

// sfMainform skins every window of the application; the other types only the owning window.
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// A set of enumeration members; member n is bit n.
template <class E>
class TSkinSet {
 public:
  constexpr TSkinSet() = default;
  constexpr TSkinSet(std::initializer_list<E> members) {
    for (E m : members) Include(m);
  }
  static constexpr TSkinSet FromBits(std::uint32_t bits) {
    TSkinSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr bool Contains(E m) const { return (bits_ >> static_cast<unsigned>(m) & 1u) != 0; }
  constexpr void Include(E m) { bits_ |= 1u << static_cast<unsigned>(m); }
  constexpr void Exclude(E m) { bits_ &= ~(1u << static_cast<unsigned>(m)); }
  constexpr std::uint32_t Bits() const { return bits_; }
  constexpr bool operator==(const TSkinSet&) const = default;

 private:
  std::uint32_t bits_ = 0;
};

using TSkinControls = TSkinSet<TSkinControlType>;
using TSkinOptions = TSkinSet<TSkinOption>;

// Every control type but the menu items and the report designer.
TSkinControls DefaultSkinControls();
TSkinOptions DefaultSkinOptions();
// The default class-to-kind list, 118 lines of "class=kind".
const std::vector<AnsiString>& DefaultSkin3rd();

// The handler may clear `skinIt` to keep a window unskinned.
using TFormSkinEvent = std::function<void(TObject& sender, const AnsiString& className, bool& skinIt)>;
// The handler may supply a skinner of its own for `control`; it becomes the control's child.
using TSkinControlEvent = std::function<void(TObject& sender, class TSkinData& data, QWidget* form, QWidget* control,
                                             const AnsiString& className, TSkinControl*& skinner)>;
using TSkinFormEvent = std::function<void(TObject& sender, QWidget* window, const AnsiString& className)>;

inline constexpr std::string_view kSkinDataVersion = "5.60.03.29";

class TSkinData : public TComponent {
 public:
  // `window` is the window the component sits on: the one skinned for the form types other
  // than sfMainform.
  TSkinData(TComponent* owner, QWidget* window = nullptr);
  ~TSkinData() override;

  const char* ClassName() const override { return "TSkinData"; }

  bool Active() const { return active_; }
  void SetActive(bool active);
  int DisableTag() const { return disableTag_; }
  void SetDisableTag(int tag) { disableTag_ = tag; }
  TSkinControls SkinControls() const { return skinControls_; }
  void SetSkinControls(TSkinControls controls) { skinControls_ = controls; }
  TSkinOptions Options() const { return options_; }
  void SetOptions(TSkinOptions options) { options_ = options; }
  TStrings& Skin3rd() { return *skin3rd_; }
  const TStrings& Skin3rd() const { return *skin3rd_; }
  const AnsiString& SkinFile() const { return skinFile_; }
  // A file that exists replaces the skin and refreshes the skinned windows; another name is
  // kept and changes nothing.
  void SetSkinFile(const AnsiString& fileName);
  // "(Good)" while a skin file is held, "(none)" otherwise; assigning changes nothing.
  AnsiString SkinStore() const;
  void SetSkinStore(const AnsiString&) {}
  TSkinFormType SkinFormtype() const { return formType_; }
  void SetSkinFormtype(TSkinFormType type) { formType_ = type; }
  AnsiString Version() const { return AnsiString(kSkinDataVersion); }
  void SetVersion(const AnsiString&) {}
  bool MenuUpdate() const { return menuUpdate_; }
  void SetMenuUpdate(bool update) { menuUpdate_ = update; }
  bool MenuMerge() const { return menuMerge_; }
  void SetMenuMerge(bool merge) { menuMerge_ = merge; }

  TFormSkinEvent OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TSkinControlEvent OnSkinControl;
  TSkinFormEvent OnBeforeSkinForm, OnAfterSkinForm;

  // The window description's skin stream: a 4-byte length and the skin file. Reading replaces
  // the skin file held and, outside the designer, loads it; a stream shorter than its length
  // leaves no skin.
  void ReadSkinStream(std::string_view stream);
  std::string WriteSkinStream() const;
  const std::string& SkinFileBytes() const { return fileBytes_; }

  // Loads the skin from the skin file held; on failure the component holds no skin and
  // LoadError() says why (an unknown version also shows its message box).
  void LoadSkin();
  bool Empty() const { return !description_; }
  const std::string& LoadError() const { return loadError_; }

  // What the skinners draw from; null or absent while the component holds no skin.
  const TSkinDescription* Description() const { return description_.get(); }
  // An image by the name of its section ("GroupBox", "Tab.Pane" …), or by one of the names of
  // the other images: "Buttons", "Buttons.CheckButton", "Buttons.RadioButton",
  // "Personality.Left" (Right, Top, Bottom), "Personality.TextBack", "Personality.MenuBar",
  // "MDICONTROLS", "UpDown.Horz.Glyph", "UpDown.Vert.Glyph", and a caption button's section
  // name. Compared without regard to case.
  const TSkinPicture* Picture(std::string_view name) const;
  const TSkinColours& Colours() const { return colours_; }
  const QBrush& FaceBrush() const { return faceBrush_; }
  QWidget* Window() const { return window_; }

 protected:
  void Loaded() override;

 private:
  void clearSkin();
  void applyDescription(std::unique_ptr<TSkinDescription> description);

  bool active_ = false;
  int disableTag_ = 99;
  TSkinControls skinControls_;
  TSkinOptions options_;
  std::unique_ptr<TStrings> skin3rd_;
  AnsiString skinFile_;
  TSkinFormType formType_ = sfMainform;
  bool menuUpdate_ = true;
  bool menuMerge_ = false;
  QWidget* window_;

  std::string fileBytes_;
  std::string loadError_;
  std::unique_ptr<TSkinDescription> description_;
  TSkinPictures pictures_;
  TSkinColours colours_;
  QBrush faceBrush_;
};

inline QColor SkinColour(TColorRef colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                static_cast<int>(colour >> 16 & 0xFF));
}
