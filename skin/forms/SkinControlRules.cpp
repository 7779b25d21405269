#include "skin/forms/SkinControlRules.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>

#include "platform/forms/Form.h"
#include "platform/text/QtText.h"
#include "skin/forms/SkinClassName.h"
#include "skin/forms/SkinControls.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinData.h"

namespace {

using Skinners = std::vector<TSkinControl*>;

template <class T>
void attach(TSkinData& data, QWidget* control, Skinners& out) {
  auto* skinner = new T(control, data);
  skinner->Attach();
  out.push_back(skinner);
}

// The stand-alone scroll bars among a control's own children.
void childScrollBars(TSkinData& data, QWidget* control, Skinners& out) {
  for (QScrollBar* bar : control->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly)) attach<TSkinScControl>(data, bar, out);
}

// The kind a Skin3rd line gives the class, lower-cased; empty when no line names it.
AnsiString thirdPartyKind(const TSkinData& data, const AnsiString& className) {
  const AnsiString name = text::lowerAscii(className);
  const TStrings& lines = data.Skin3rd();
  for (int i = 0; i < lines.Count(); ++i) {
    const AnsiString line = lines[i];
    const auto eq = line.find('=');
    if (eq != AnsiString::npos && text::lowerAscii(line.substr(0, eq)) == name) return text::lowerAscii(line.substr(eq + 1));
  }
  return {};
}

void eachItem(TSkinData& data, QWidget* group, Skinners& out) {
  for (QWidget* item : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (qobject_cast<QRadioButton*>(item)) attach<TSkinRadioButton>(data, item, out);
    else if (qobject_cast<QCheckBox*>(item)) attach<TSkinCheckBox>(data, item, out);
  }
}

// Skins `control` by the kind its Skin3rd line gives; a container's children are skinned here.
void byKind(TSkinData& data, QWidget* form, QWidget* control, const AnsiString& kind, Skinners& out) {
  const TSkinControls on = data.SkinControls();
  if ((kind == "combobox" || kind == "comboboxex") && on.Contains(xcCombo)) attach<TSkinComBox>(data, control, out);
  else if (kind == "edit" && on.Contains(xcEdit)) attach<TSkinEdit>(data, control, out);
  else if (kind == "radiobutton" && on.Contains(xcRadioButton)) attach<TSkinRadioButton>(data, control, out);
  else if (kind == "panel" && on.Contains(xcPanel)) {
    control->setProperty("Transparent", true);
    attach<TSkinBox>(data, control, out);
  } else if (kind == "trackbar" && on.Contains(xcButton)) attach<TSkinTrackBar>(data, control, out);
  else if (kind == "button" && on.Contains(xcButton)) attach<TSkinButton>(data, control, out);
  else if (kind == "datetimepicker" && on.Contains(xcCombo)) attach<TSkinDateTime>(data, control, out);
  else if (kind == "mediaplayer" && on.Contains(xcButton)) attach<TSkinMP>(data, control, out);
  else if (kind == "bitbtn" && on.Contains(xcButton)) {
    if (text::lowerAscii(SkinClassName(control)) == "tcxbutton" && control->property("Kind").toString() == "cxbkDropDownButton")
      attach<TSkinMenuButton>(data, control, out);
    else
      attach<TSkinBitButton>(data, control, out);
  } else if (kind == "pngbitbtn" && on.Contains(xcButton)) attach<TSkinBitButton>(data, control, out);
  else if (kind == "pngspeedbutton" && on.Contains(xcButton)) attach<TSkinSpeedButton>(data, control, out);
  else if (kind == "menubtn" && on.Contains(xcButton)) attach<TSkinMenuButton>(data, control, out);
  else if (kind == "speedbutton" && on.Contains(xcSpeedButton)) attach<TSkinSpeedButton>(data, control, out);
  else if (kind == "tab" && on.Contains(xcTab) && data.Picture("Tabs")) attach<TSkinTab>(data, control, out);
  else if (kind == "progress" && on.Contains(xcProgress)) attach<TSkinProgress>(data, control, out);
  else if ((kind == "scrollbar" || kind == "singlescrollbar") && on.Contains(xcScrollbar))
    attach<TSkinScrollbar>(data, control, out);
  else if (kind == "embedscrollbar" && on.Contains(xcScrollbar)) childScrollBars(data, control, out);
  else if (kind == "container") SkinControlsOf(data, form, control, out);
  else if (kind == "groupbox" && on.Contains(xcGroupBox)) attach<TSkinGroupBox>(data, control, out);
  else if (kind == "advpagecontrol" && on.Contains(xcTab)) attach<TSkinAdvPage>(data, control, out);
  else if ((kind == "radiogroup" || kind == "checkgroup") && on.Contains(xcGroupBox)) eachItem(data, control, out);
  else if (kind == "checkbox" && on.Contains(xcCheckBox)) attach<TSkinCheckBox>(data, control, out);
}

void byClass(TSkinData& data, QWidget* control, const AnsiString& className, Skinners& out) {
  const TSkinControls on = data.SkinControls();
  const AnsiString upper = text::upperAscii(className);
  if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
    if (on.Contains(xcTab) && data.Picture("Tabs")) attach<TSkinTab>(data, tabs, out);
  } else if (upper == "TTABSET") {
    if (on.Contains(xcTab) && data.Picture("Tabs")) attach<TSkinTab31>(data, control, out);
  } else if (upper == "TTABSHEET") {
    if (on.Contains(xcTab)) attach<TSkinTabSheet>(data, control, out);
  } else if (upper == "TUPDOWN" || upper == "TSPINBUTTON") {
    if (on.Contains(xcSpin)) attach<TSkinUpDown>(data, control, out);
  } else if (upper == "TMEDIAPLAYER") {
    if (on.Contains(xcButton)) attach<TSkinMP>(data, control, out);
  } else if (upper == "TDBNAVIGATOR") {
    if (on.Contains(xcPanel)) {
      attach<TSkinBox>(data, control, out);
      for (QWidget* button : control->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) attach<TSkinSpeedButton>(data, button, out);
    }
  } else if (upper == "TGROUPBOX") {
    if (on.Contains(xcPanel)) attach<TSkinGroupBox>(data, control, out);
  } else if (upper == "TRADIOBUTTON") {
    if (on.Contains(xcRadioButton)) attach<TSkinRadioButton>(data, control, out);
  } else if (upper == "TSCROLLBAR") {
    if (on.Contains(xcScrollbar)) attach<TSkinScControl>(data, control, out);
  } else if (upper == "TCOMBOBOX") {
    if (on.Contains(xcCombo)) attach<TSkinComBox>(data, control, out);
  } else if (upper == "TRICHEDIT") {
    if (on.Contains(xcScrollbar)) attach<TSkinScrollbar>(data, control, out);
  } else if (upper == "TSPEEDBUTTON") {
    if (on.Contains(xcSpeedButton)) attach<TSkinSpeedButton>(data, control, out);
  } else if (upper == "TPANEL") {
    if (on.Contains(xcPanel)) attach<TSkinBox>(data, control, out);
  } else if (upper == "TCHECKLISTBOX") {
    if (on.Contains(xcScrollbar)) attach<TSkinCheckList>(data, control, out);
  } else if (qobject_cast<QAbstractScrollArea*>(control)) {
    if (on.Contains(xcScrollbar)) attach<TSkinScrollbar>(data, control, out);
  } else if (upper == "TBUTTON") {
    if (on.Contains(xcButton)) attach<TSkinButton>(data, control, out);
  } else if (upper == "TEDIT") {
    if (on.Contains(xcEdit)) attach<TSkinEdit>(data, control, out);
  } else if (dynamic_cast<TForm*>(control)) {
    attach<TSkinBox>(data, control, out);
  }
}

// Controls whose child widgets are parts of the control itself, not controls of the window.
bool hasOwnParts(const QWidget* control) {
  return qobject_cast<const QAbstractScrollArea*>(control) || qobject_cast<const QComboBox*>(control) ||
         qobject_cast<const QAbstractSpinBox*>(control) || qobject_cast<const QTabBar*>(control) ||
         qobject_cast<const QScrollBar*>(control);
}

// The controls directly inside `parent`: a page control's pages rather than its bar and stack.
QList<QWidget*> controlsIn(QWidget* parent) {
  QList<QWidget*> controls;
  if (auto* tabs = qobject_cast<QTabWidget*>(parent)) {
    for (int i = 0; i < tabs->count(); ++i) controls.append(tabs->widget(i));
    return controls;
  }
  for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!child->isWindow()) controls.append(child);
  return controls;
}

}  // namespace

void SkinControlsOf(TSkinData& data, QWidget* form, QWidget* parent, Skinners& skinners) {
  for (QWidget* control : controlsIn(parent)) {
    const bool ownParts = hasOwnParts(control);
    const AnsiString className = SkinClassName(control);
    bool visitChildren = !ownParts;
    if (SkinTag(control) == data.DisableTag() || SkinnerOf(control) ||
        SendSkinMessage(control, kSkinQueryNoSkin) == 1) {
      // Left alone; its children are still the window's controls.
    } else if (TSkinControl* own = nullptr; data.OnSkinControl &&
               (data.OnSkinControl(data, data, form, control, className, own), own != nullptr)) {
      own->setParent(control);
      own->Attach();
      skinners.push_back(own);
    } else if (const AnsiString kind = thirdPartyKind(data, className); !kind.empty()) {
      if (kind == "container") visitChildren = false;
      byKind(data, form, control, kind, skinners);
    } else if (const AnsiString upper = text::upperAscii(className);
               upper == "TDBCOMBOBOXEH" || upper == "TFRDESIGNERPAGE" || upper == "TFRPBOX") {
    } else {
      byClass(data, control, className, skinners);
    }
    if (visitChildren) SkinControlsOf(data, form, control, skinners);
  }
}
