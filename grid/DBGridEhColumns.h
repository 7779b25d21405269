#pragma once
// The column model of the data grid: columns bound to fields by name, their titles and
// footers, the grid-wide defaults, and the list of visible columns.
//
// A column property that was never assigned answers a default computed when it is read
// (from the bound field, the grid, or ColumnDefValues); assigning it sets the property's
// flag, and RestoreDefaults clears every flag.

#include <QFont>

#include <bitset>
#include <vector>

#include "platform/classes/Collection.h"
#include "platform/db/Field.h"
#include "platform/graphics/Graphics.h"

class TCustomDBGridEh;
class TColumnEh;
class TDBGridColumnsEh;

enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TSortMarkerEh { smNoneEh, smDownEh, smUpEh };
enum TTextOrientationEh { tohHorizontal, tohVertical };
enum TColumnButtonStyleEh { cbsAuto, cbsEllipsis, cbsNone, cbsUpDown, cbsDropDown, cbsAltDropDown };
enum TFooterValueType { fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText };

// The properties of a column (and its title) that fall back to a default.
enum TColumnEhValue {
  cvColor,
  cvWidth,
  cvFont,
  cvAlignment,
  cvReadOnly,
  cvImeMode,
  cvImeName,
  cvWordWrap,
  cvLookupDisplayFields,
  cvCheckboxes,
  cvTitleCaption,
  cvTitleAlignment,
  cvTitleColor,
  cvTitleFont,
  cvTitleButton,
  cvTitleEndEllipsis,
  cvTitleOrientation,
  cvTitleToolTips,
  cvCount
};

// Grid-wide defaults of the titles.
class TColumnTitleDefValuesEh : public TPersistent {
 public:
  explicit TColumnTitleDefValuesEh(TCustomDBGridEh* grid) : grid_(grid) {}
  const char* ClassName() const override { return "TColumnTitleDefValuesEh"; }

  TAlignment Alignment() const;
  void SetAlignment(TAlignment alignment);
  TColor Color() const;
  void SetColor(TColor color);
  bool TitleButton = false;
  bool EndEllipsis = false;
  TTextOrientationEh Orientation = tohHorizontal;
  bool ToolTips = false;

 private:
  TCustomDBGridEh* grid_;
  TAlignment alignment_ = taLeftJustify;
  bool alignmentAssigned_ = false;
  TColor color_ = clBtnFace;
  bool colorAssigned_ = false;
};

// Grid-wide defaults of the columns.
class TColumnDefValuesEh : public TPersistent {
 public:
  explicit TColumnDefValuesEh(TCustomDBGridEh* grid) : title_(grid) {}
  const char* ClassName() const override { return "TDBGridEhColumnDefValuesEh"; }
  TColumnTitleDefValuesEh& Title() { return title_; }
  const TColumnTitleDefValuesEh& Title() const { return title_; }
  bool AlwaysShowEditButton = false;
  bool AutoDropDown = false;
  bool DblClickNextVal = false;
  bool EndEllipsis = false;
  bool ToolTips = false;

 private:
  TColumnTitleDefValuesEh title_;
};

class TColumnTitleEh : public TPersistent {
 public:
  explicit TColumnTitleEh(TColumnEh* column) : column_(column) {}
  const char* ClassName() const override { return "TColumnTitleEh"; }

  TColumnEh& Column() const { return *column_; }

  AnsiString Caption() const;
  void SetCaption(const AnsiString& caption);
  TAlignment Alignment() const;
  void SetAlignment(TAlignment alignment);
  TColor Color() const;
  void SetColor(TColor color);
  QFont Font() const;
  void SetFont(const QFont& font);
  bool TitleButton() const;
  void SetTitleButton(bool on);
  bool EndEllipsis() const;
  void SetEndEllipsis(bool on);
  TTextOrientationEh Orientation() const;
  bool ToolTips() const;

  AnsiString Hint;
  int ImageIndex = -1;
  int SortIndex = 0;
  TSortMarkerEh SortMarker = smNoneEh;

 private:
  TColumnEh* column_;
  AnsiString caption_;
  TAlignment alignment_ = taLeftJustify;
  TColor color_ = clBtnFace;
  QFont font_;
  bool titleButton_ = false;
  bool endEllipsis_ = false;
};

class TColumnFooterEh : public TCollectionItem {
 public:
  explicit TColumnFooterEh(TCollection* collection) : TCollectionItem(collection) {}
  const char* ClassName() const override { return "TColumnFooterEh"; }
  TAlignment Alignment = taLeftJustify;
  AnsiString DisplayFormat;
  bool EndEllipsis = false;
  AnsiString FieldName;
  bool ToolTips = false;
  AnsiString Value;
  TFooterValueType ValueType = fvtNon;
  bool WordWrap = false;
};

class TColumnFootersEh : public TCollection {
 public:
  TColumnFootersEh() : TCollection(ItemClassOf<TColumnFooterEh>) {}
  const char* ClassName() const override { return "TColumnFootersEh"; }
};

class TColumnEh : public TCollectionItem {
 public:
  explicit TColumnEh(TCollection* collection);
  ~TColumnEh() override;
  const char* ClassName() const override { return "TColumnEh"; }

  // The grid the column belongs to; none outside a grid.
  TCustomDBGridEh* Grid() const;

  const AnsiString& FieldName() const { return fieldName_; }
  void SetFieldName(const AnsiString& name);
  // The bound field, looked up by name when none is cached.
  TField* Field() const;
  void SetField(TField* field);

  int Width() const;
  void SetWidth(int width);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  TAlignment Alignment() const;
  void SetAlignment(TAlignment alignment);
  TColor Color() const;
  void SetColor(TColor color);
  QFont Font() const;
  void SetFont(const QFont& font);
  bool ReadOnly() const;
  void SetReadOnly(bool readOnly);
  const AnsiString& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const AnsiString& format);
  int MinWidth() const { return minWidth_; }
  void SetMinWidth(int width);
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int width);
  bool AutoFitColWidth() const { return autoFitColWidth_; }
  void SetAutoFitColWidth(bool on);
  bool EndEllipsis() const { return endEllipsis_; }
  void SetEndEllipsis(bool on);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout layout);
  bool WordWrap() const;
  void SetWordWrap(bool on);
  int InitialWidth() const { return initialWidth_; }

  TColumnTitleEh& Title() { return title_; }
  const TColumnTitleEh& Title() const { return title_; }
  TColumnFooterEh& Footer() { return footer_; }
  TColumnFootersEh& Footers() { return footers_; }

  // The text the grid shows for the current record: the field's display text, or its value
  // formatted by DisplayFormat.
  AnsiString DisplayText() const;

  bool Stored() const { return stored_; }
  bool AssignedValue(TColumnEhValue value) const { return assigned_.test(value); }
  void RestoreDefaults();

  // Left at their defaults by this program; kept so that setting them is harmless.
  bool AlwaysShowEditButton = false;
  bool AutoDropDown = false;
  TColumnButtonStyleEh ButtonStyle = cbsAuto;
  bool Checkboxes = false;
  bool DblClickNextVal = false;
  int DropDownRows = 7;
  bool DropDownShowTitles = false;
  bool DropDownSizing = false;
  int DropDownWidth = 0;
  AnsiString EditMask;
  bool HideDuplicates = false;
  int ImeMode = 3;
  double Increment = 1;
  AnsiString LookupDisplayFields;
  int NotInKeyListIndex = -1;
  bool ShowImageAndText = false;
  int Tag = 0;
  bool ToolTips = false;
  std::vector<AnsiString> PickList, KeyList;

 protected:
  friend class TColumnTitleEh;
  friend class TDBGridColumnsEh;
  friend class TCustomDBGridEh;
  void assign(TColumnEhValue value) { assigned_.set(value); }
  void changed() { Changed(false); }
  int defaultWidth() const;

 private:
  AnsiString fieldName_;
  mutable TField* field_ = nullptr;
  bool stored_ = true;
  std::bitset<cvCount> assigned_;
  int width_ = 0;
  int initialWidth_ = 0;
  int minWidth_ = 0;
  int maxWidth_ = 0;
  bool visible_ = true;
  TAlignment alignment_ = taLeftJustify;
  TColor color_ = clWindow;
  QFont font_;
  bool readOnly_ = false;
  AnsiString displayFormat_;
  bool autoFitColWidth_ = true;
  bool endEllipsis_ = false;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  TColumnTitleEh title_;
  TColumnFooterEh footer_{nullptr};
  TColumnFootersEh footers_;
};

class TDBGridColumnEh : public TColumnEh {
 public:
  using TColumnEh::TColumnEh;
  const char* ClassName() const override { return "TDBGridColumnEh"; }
};

enum TDBGridColumnsState { csDefault, csCustomized };

class TDBGridColumnsEh : public TCollection {
 public:
  explicit TDBGridColumnsEh(TCustomDBGridEh* grid) : TCollection(ItemClassOf<TDBGridColumnEh>), grid_(grid) {}
  const char* ClassName() const override { return "TDBGridColumnsEh"; }

  TCustomDBGridEh* Grid() const { return grid_; }
  // Raises EListError outside 0..Count()-1.
  TColumnEh* operator[](int index) const { return static_cast<TColumnEh*>(Items(index)); }
  // A persistent column.
  TColumnEh* Add() { return static_cast<TColumnEh*>(TCollection::Add()); }
  // Customised when there is a column and the first one is persistent.
  TDBGridColumnsState State() const;
  void RestoreDefaults();

 protected:
  friend class TCustomDBGridEh;
  // An automatic column, made by the layout rebuild.
  TColumnEh* AddAutomatic();
  void Update(TCollectionItem* item) override;

 private:
  TCustomDBGridEh* grid_;
};

// The visible columns, in order.
class TColumnsEhList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TColumnEh* operator[](int index) const { return items_.at(static_cast<std::size_t>(index)); }
  int IndexOf(const TColumnEh* column) const;
  void Clear() { items_.clear(); }
  void Add(TColumnEh* column) { items_.push_back(column); }

 private:
  std::vector<TColumnEh*> items_;
};
