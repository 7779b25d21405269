#pragma once
// The control skinners, one class per kind of control the skin rules know. Each hands its
// control, and the sub-widgets that draw the control's parts, to the skin's style (TSkinStyle,
// which does all the drawing) and gives them back on Restore().
//
// On Qt: TSkinButton a QPushButton, TSkinSpeedButton a QToolButton, TSkinCheckBox a QCheckBox,
// TSkinRadioButton a QRadioButton, TSkinComBox a QComboBox (and its drop-down list's scroll bar),
// TSkinEdit a QLineEdit, TSkinDateTime a QDateTimeEdit, TSkinGroupBox a QGroupBox, TSkinBox a
// plain panel, TSkinTab a QTabWidget (and its bar), TSkinTabSheet a page of one, TSkinScrollbar a
// QAbstractScrollArea (its frame and its two scroll bars), TSkinScControl a QScrollBar,
// TSkinProgress a QProgressBar, TSkinTrackBar a QSlider, TSkinUpDown a QAbstractSpinBox.

#include "skin/forms/SkinControl.h"

// Push buttons.
class TSkinButton : public TSkinControl {
 public:
  TSkinButton(QWidget* control, TSkinData& data);
  void Attach() override;

 protected:
  TSkinButton(QWidget* control, TSkinData& data, const char* className);
};

// Buttons with a glyph.
class TSkinBitButton : public TSkinButton {
 public:
  TSkinBitButton(QWidget* control, TSkinData& data);

 protected:
  TSkinBitButton(QWidget* control, TSkinData& data, const char* className);
};

// Flat tool buttons: the face shows only while hot or pressed.
class TSkinSpeedButton : public TSkinBitButton {
 public:
  TSkinSpeedButton(QWidget* control, TSkinData& data);
};

// Drop-down buttons.
class TSkinMenuButton : public TSkinButton {
 public:
  TSkinMenuButton(QWidget* control, TSkinData& data);
};

class TSkinCheckBox : public TSkinControl {
 public:
  TSkinCheckBox(QWidget* control, TSkinData& data);
  void Attach() override;
};

class TSkinRadioButton : public TSkinControl {
 public:
  TSkinRadioButton(QWidget* control, TSkinData& data);
  void Attach() override;
};

// Drop-down lists: the frame, the arrow button and the scroll bar of the list.
class TSkinComBox : public TSkinControl {
 public:
  TSkinComBox(QWidget* control, TSkinData& data);
  void Attach() override;
};

class TSkinEdit : public TSkinControl {
 public:
  TSkinEdit(QWidget* control, TSkinData& data);
  void Attach() override;
};

class TSkinDateTime : public TSkinControl {
 public:
  TSkinDateTime(QWidget* control, TSkinData& data);
  void Attach() override;
};

class TSkinGroupBox : public TSkinControl {
 public:
  TSkinGroupBox(QWidget* control, TSkinData& data);
  void Attach() override;
};

// Panels and other plain containers: the face colour.
class TSkinBox : public TSkinControl {
 public:
  TSkinBox(QWidget* control, TSkinData& data);
  void Attach() override;
};

// Page controls: the pane and the tabs.
class TSkinTab : public TSkinControl {
 public:
  TSkinTab(QWidget* control, TSkinData& data);
  void Attach() override;
};

// Tab sets: a bar of tabs without pages.
class TSkinTab31 : public TSkinControl {
 public:
  TSkinTab31(QWidget* control, TSkinData& data);
  void Attach() override;
};

// Page controls whose tabs look like buttons.
class TSkinTabBtn : public TSkinControl {
 public:
  TSkinTabBtn(QWidget* control, TSkinData& data);
  void Attach() override;
  void Restore() override;

 private:
  QPointer<QWidget> bar_;
};

// A page of a page control: the face colour.
class TSkinTabSheet : public TSkinControl {
 public:
  TSkinTabSheet(QWidget* control, TSkinData& data);
  void Attach() override;
};

class TSkinAdvPage : public TSkinControl {
 public:
  TSkinAdvPage(QWidget* control, TSkinData& data);
  void Attach() override;
};

// The built-in scroll bars of a scrollable control, and its frame.
class TSkinScrollbar : public TSkinControl {
 public:
  TSkinScrollbar(QWidget* control, TSkinData& data);
  void Attach() override;

 protected:
  TSkinScrollbar(QWidget* control, TSkinData& data, const char* className);
};

// Check-list boxes: the scroll bars and the items' check marks.
class TSkinCheckList : public TSkinScrollbar {
 public:
  TSkinCheckList(QWidget* control, TSkinData& data);
};

// Stand-alone scroll bars.
class TSkinScControl : public TSkinControl {
 public:
  TSkinScControl(QWidget* control, TSkinData& data);
  void Attach() override;
};

class TSkinScrollbarH : public TSkinControl {
 public:
  TSkinScrollbarH(QWidget* control, TSkinData& data);
  void Attach() override;
};

class TSkinProgress : public TSkinControl {
 public:
  TSkinProgress(QWidget* control, TSkinData& data);
  void Attach() override;
};

class TSkinTrackBar : public TSkinControl {
 public:
  TSkinTrackBar(QWidget* control, TSkinData& data);
  void Attach() override;
};

// Spin buttons and the controls that carry them.
class TSkinUpDown : public TSkinControl {
 public:
  TSkinUpDown(QWidget* control, TSkinData& data);
  void Attach() override;
};

class TSkinStatusBar : public TSkinControl {
 public:
  TSkinStatusBar(QWidget* control, TSkinData& data);
  void Attach() override;
};

// Header bars: the sections as buttons.
class TSkinHeader : public TSkinControl {
 public:
  TSkinHeader(QWidget* control, TSkinData& data);
  void Attach() override;
};

// Media players: a row of buttons on a panel.
class TSkinMP : public TSkinControl {
 public:
  TSkinMP(QWidget* control, TSkinData& data);
  void Attach() override;
};

// Check and radio items drawn from the skin's marks.
class TSkinObjImage : public TSkinControl {
 public:
  TSkinObjImage(QWidget* control, TSkinData& data);
  void Attach() override;
};

// The size grip.
class TSkinSizer : public TSkinControl {
 public:
  TSkinSizer(QWidget* control, TSkinData& data);
  void Attach() override;
};
