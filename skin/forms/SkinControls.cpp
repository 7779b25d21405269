#include "skin/forms/SkinControls.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>

#include "skin/forms/SkinStyle.h"

namespace {

// The bar of a page control, or the control when it is a bar itself.
QTabBar* barOf(QWidget* control) {
  if (auto* bar = qobject_cast<QTabBar*>(control)) return bar;
  if (auto* tabs = qobject_cast<QTabWidget*>(control)) return tabs->tabBar();
  return nullptr;
}

}  // namespace

TSkinButton::TSkinButton(QWidget* control, TSkinData& data) : TSkinButton(control, data, "TSkinButton") {}
TSkinButton::TSkinButton(QWidget* control, TSkinData& data, const char* className)
    : TSkinControl(control, data, className) {}
void TSkinButton::Attach() { SkinWidget(Control()); }

TSkinBitButton::TSkinBitButton(QWidget* control, TSkinData& data) : TSkinBitButton(control, data, "TSkinBitButton") {}
TSkinBitButton::TSkinBitButton(QWidget* control, TSkinData& data, const char* className)
    : TSkinButton(control, data, className) {}

TSkinSpeedButton::TSkinSpeedButton(QWidget* control, TSkinData& data)
    : TSkinBitButton(control, data, "TSkinSpeedButton") {}

TSkinMenuButton::TSkinMenuButton(QWidget* control, TSkinData& data) : TSkinButton(control, data, "TSkinMenuButton") {}

TSkinCheckBox::TSkinCheckBox(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinCheckBox") {}
void TSkinCheckBox::Attach() { SkinWidget(Control()); }

TSkinRadioButton::TSkinRadioButton(QWidget* control, TSkinData& data)
    : TSkinControl(control, data, "TSkinRadioButton") {}
void TSkinRadioButton::Attach() { SkinWidget(Control()); }

TSkinComBox::TSkinComBox(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinComBox") {}
void TSkinComBox::Attach() {
  SkinWidget(Control());
  if (auto* combo = qobject_cast<QComboBox*>(Control())) SkinWidget(combo->view()->verticalScrollBar());
}

TSkinEdit::TSkinEdit(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinEdit") {}
void TSkinEdit::Attach() { SkinWidget(Control()); }

TSkinDateTime::TSkinDateTime(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinDateTime") {}
void TSkinDateTime::Attach() { SkinWidget(Control()); }

TSkinGroupBox::TSkinGroupBox(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinGroupBox") {}
void TSkinGroupBox::Attach() { SkinWidget(Control()); }

TSkinBox::TSkinBox(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinBox") {}
void TSkinBox::Attach() { SkinWidget(Control(), sfFace); }

TSkinTab::TSkinTab(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinTab") {}
void TSkinTab::Attach() {
  SkinWidget(Control());
  SkinWidget(barOf(Control()));
}

TSkinTab31::TSkinTab31(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinTab31") {}
void TSkinTab31::Attach() {
  SkinWidget(Control());
  SkinWidget(barOf(Control()));
}

TSkinTabBtn::TSkinTabBtn(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinTabBtn") {}
void TSkinTabBtn::Attach() {
  SkinWidget(Control());
  bar_ = barOf(Control());
  if (!bar_) return;
  bar_->setProperty(kSkinTabButtonsProperty, true);
  SkinWidget(bar_);
}
void TSkinTabBtn::Restore() {
  TSkinControl::Restore();
  if (bar_) bar_->setProperty(kSkinTabButtonsProperty, QVariant());
}

TSkinTabSheet::TSkinTabSheet(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinTabSheet") {}
void TSkinTabSheet::Attach() { SkinWidget(Control(), sfFace); }

TSkinAdvPage::TSkinAdvPage(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinAdvPage") {}
void TSkinAdvPage::Attach() {
  SkinWidget(Control());
  SkinWidget(barOf(Control()));
}

TSkinScrollbar::TSkinScrollbar(QWidget* control, TSkinData& data) : TSkinScrollbar(control, data, "TSkinScrollbar") {}
TSkinScrollbar::TSkinScrollbar(QWidget* control, TSkinData& data, const char* className)
    : TSkinControl(control, data, className) {}
void TSkinScrollbar::Attach() {
  QWidget* control = Control();
  SkinWidget(control);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) {
    SkinWidget(area->verticalScrollBar());
    SkinWidget(area->horizontalScrollBar());
  } else if (control) {
    for (QScrollBar* bar : control->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly)) SkinWidget(bar);
  }
}

TSkinCheckList::TSkinCheckList(QWidget* control, TSkinData& data) : TSkinScrollbar(control, data, "TSkinCheckList") {}

TSkinScControl::TSkinScControl(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinScControl") {}
void TSkinScControl::Attach() { SkinWidget(Control()); }

TSkinScrollbarH::TSkinScrollbarH(QWidget* control, TSkinData& data)
    : TSkinControl(control, data, "TSkinScrollbarH") {}
void TSkinScrollbarH::Attach() { SkinWidget(Control()); }

TSkinProgress::TSkinProgress(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinProgress") {}
void TSkinProgress::Attach() { SkinWidget(Control()); }

TSkinTrackBar::TSkinTrackBar(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinTrackBar") {}
void TSkinTrackBar::Attach() { SkinWidget(Control()); }

TSkinUpDown::TSkinUpDown(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinUpDown") {}
void TSkinUpDown::Attach() { SkinWidget(Control()); }

TSkinStatusBar::TSkinStatusBar(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinStatusBar") {}
void TSkinStatusBar::Attach() { SkinWidget(Control(), sfFace); }

TSkinHeader::TSkinHeader(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinHeader") {}
void TSkinHeader::Attach() { SkinWidget(Control()); }

TSkinMP::TSkinMP(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinMP") {}
void TSkinMP::Attach() {
  QWidget* control = Control();
  SkinWidget(control, sfFace);
  if (!control) return;
  for (QAbstractButton* button : control->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
    SkinWidget(button);
}

TSkinObjImage::TSkinObjImage(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinObjImage") {}
void TSkinObjImage::Attach() { SkinWidget(Control()); }

TSkinSizer::TSkinSizer(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TSkinSizer") {}
void TSkinSizer::Attach() { SkinWidget(Control()); }
