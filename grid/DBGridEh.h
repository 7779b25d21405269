#pragma once
// The data-aware grid: one row per record of its data set's buffer window, one column per
// column object bound to a field by name. It follows its data set through a data link,
// draws titles and rows, and moves the data set on clicks, keys, the wheel and its own
// vertical scroll bar, which it drives from the record numbers.

#include <QFont>

#include <functional>
#include <memory>

#include "grid/DBGridEhColumns.h"
#include "platform/grids/Grids.h"

class TDataSource;
class TDataSet;
class TGridDataLinkEh;
class TGridFieldWatcher;

enum TDBGridOption : unsigned {
  dgEditing = 1u << 0,
  dgAlwaysShowEditor = 1u << 1,
  dgTitles = 1u << 2,
  dgIndicator = 1u << 3,
  dgColumnResize = 1u << 4,
  dgColLines = 1u << 5,
  dgRowLines = 1u << 6,
  dgTabs = 1u << 7,
  dgRowSelect = 1u << 8,
  dgAlwaysShowSelection = 1u << 9,
  dgConfirmDelete = 1u << 10,
  dgCancelOnExit = 1u << 11,
  dgMultiSelect = 1u << 12,
};

enum TDBGridEhOption : unsigned {
  dghFixed3D = 1u << 0,
  dghFrozen3D = 1u << 1,
  dghFooter3D = 1u << 2,
  dghData3D = 1u << 3,
  dghResizeWholeRightPart = 1u << 4,
  dghHighlightFocus = 1u << 5,
  dghClearSelection = 1u << 6,
  dghFitRowHeightToText = 1u << 7,
  dghAutoSortMarking = 1u << 8,
  dghMultiSortMarking = 1u << 9,
  dghEnterAsTab = 1u << 10,
  dghTraceColSizing = 1u << 11,
  dghIncSearch = 1u << 12,
  dghPreferIncSearch = 1u << 13,
  dghRowHighlight = 1u << 14,
  dghDblClickOptimizeColWidth = 1u << 15,
  dghDialogFind = 1u << 16,
  dghRecordMoving = 1u << 17,
};

enum TDBGridEhAllowedOperation : unsigned { alopInsertEh = 1, alopUpdateEh = 2, alopDeleteEh = 4, alopAppendEh = 8 };
enum TDBGridEhAllowedSelection : unsigned { gstRecordBookmarks = 1, gstRectangle = 2, gstColumns = 4, gstAll = 8 };
enum TScrollBarVisibleModeEh { sbAlwaysShowEh, sbNeverShowEh, sbAutoShowEh };

// The vertical scroll bar as the grid sets it: the range min..max with a page, as the
// desktop's scroll bars take them (visible while max - min + 1 exceeds the page).
struct TGridScrollInfo {
  int Min = 0;
  int Max = 1;
  int Page = 2;
  int Pos = 0;
};

using TDBGridEhClickEvent = std::function<void(TColumnEh& column)>;

class TCustomDBGridEh : public TCustomGrid {
 public:
  explicit TCustomDBGridEh(QWidget* parent = nullptr);
  ~TCustomDBGridEh() override;

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* source);
  TDataSet* DataSet() const;
  TGridDataLinkEh& DataLink() const { return *link_; }

  TDBGridColumnsEh& Columns() { return columns_; }
  const TColumnsEhList& VisibleColumns() const { return visibleColumns_; }
  TColumnDefValuesEh& ColumnDefValues() { return defValues_; }
  const TColumnDefValuesEh& ColumnDefValues() const { return defValues_; }

  unsigned Options() const { return options_; }
  void SetOptions(unsigned options);
  unsigned OptionsEh() const { return optionsEh_; }
  void SetOptionsEh(unsigned options);
  unsigned AllowedOperations = alopInsertEh | alopUpdateEh | alopDeleteEh | alopAppendEh;
  unsigned AllowedSelections = gstRecordBookmarks | gstRectangle | gstColumns | gstAll;

  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  const QFont& TitleFont() const { return titleFont_; }
  void SetTitleFont(const QFont& font);
  const QFont& FooterFont() const { return footerFont_; }
  void SetFooterFont(const QFont& font) { footerFont_ = font; }
  TColor FooterColor = clWindow;
  TColor EvenRowColor() const { return evenRowColorSet_ ? evenRowColor_ : Color(); }
  void SetEvenRowColor(TColor color);
  TColor OddRowColor() const { return oddRowColorSet_ ? oddRowColor_ : Color(); }
  void SetOddRowColor(TColor color);
  bool DefaultDrawing = true;
  int VTitleMargin = 10;
  int FrozenCols() const { return frozenCols_; }
  void SetFrozenCols(int count);
  int RowHeight() const { return rowHeight_; }
  void SetRowHeight(int height);
  int RowLines() const { return rowLines_; }
  void SetRowLines(int lines);
  int TitleHeight() const { return titleHeight_; }
  void SetTitleHeight(int height);
  int TitleLines() const { return titleLines_; }
  void SetTitleLines(int lines);
  int FooterRowCount() const { return footerRowCount_; }
  void SetFooterRowCount(int count);
  bool AutoFitColWidths() const { return autoFitColWidths_; }
  void SetAutoFitColWidths(bool on);
  int MinAutoFitWidth = 0;
  bool UseMultiTitle() const { return useMultiTitle_; }
  void SetUseMultiTitle(bool on);
  TScrollBarVisibleModeEh VertScrollBarVisibleMode() const { return vertMode_; }
  void SetVertScrollBarVisibleMode(TScrollBarVisibleModeEh mode);
  bool VertScrollBarTracking = false;
  const TGridScrollInfo& VertScrollInfo() const { return vertInfo_; }

  // The index in Columns of the selected column; -1 without columns.
  int SelectedIndex() const;
  void SetSelectedIndex(int index);
  TField* SelectedField() const;

  // 1 with the indicator column, else 0; rows above the first data row.
  int IndicatorOffset() const { return (options_ & dgIndicator) ? 1 : 0; }
  int DataRowOffset() const { return (options_ & dgTitles) ? 1 : 0; }
  // The field the map holds at a column position (over all columns, hidden ones too).
  TField* GetColField(int index) const;
  // Data rows that fit the view.
  int VisibleDataRowCount() const;

  // Layout rebuilds wait while a lock is held; the outermost release runs one.
  void BeginLayout();
  void EndLayout();
  void LayoutChanged();
  bool Loading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  // The description has been read: persistent columns take their places, the layout is built.
  void Loaded();

  // Width in pixels of `displayWidth` characters of `font`, as automatic columns get.
  int DefaultColumnWidth(const QFont& font, int displayWidth);
  // The inverse: the display width (characters) that `pixels` of `font` hold.
  int PixelsToDisplayWidth(const QFont& font, int pixels);
  // Whether the grid has its window (it has been shown at least once).
  bool HandleAllocated() const;

  // Events; the clicked record is the data set's current record when they run.
  TDBGridEhClickEvent OnCellClick;
  TDBGridEhClickEvent OnTitleClick;
  std::function<void(int gridColumn, TColumnEh& column)> OnTitleBtnClick;
  std::function<void()> OnColWidthsChanged;
  std::function<void(int from, int to)> OnColumnMoved;
  std::function<void()> OnColEnter;
  std::function<void()> OnColExit;
  std::function<void()> OnDblClick;
  std::function<void(int key, Qt::KeyboardModifiers modifiers)> OnKeyDown;
  std::function<void(TColumnEh& column, QFont& font, TColor& background, unsigned state)> OnGetCellParams;
  std::function<void(const QRect& rect, int dataCol, TColumnEh& column, unsigned state)> OnDrawColumnCell;
  std::function<void()> OnSortMarkingChanged;

  // What the data link tells the grid.
  void LinkActive(bool active);
  void DataChanged();
  void Scroll(int distance);
  void RecordChanged(TField* field);
  void EditingChanged();
  void LinkLayoutChanged();
  void FocusField(TField*& field);
  void UpdateData() {}
  void FieldDestroyed(TField* field);

 protected:
  void DrawCell(int col, int row, const QRect& rect, unsigned state) override;
  void Paint(TCanvas& canvas) override;
  TColor LineColor(bool fixed) const override;
  bool SelectCell(int col, int row) override;
  void ColWidthsChanged() override;
  void ColumnMoved(int from, int to) override;
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y, bool doubleClick) override;
  void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) override;
  void KeyDown(int key, Qt::KeyboardModifiers modifiers) override;
  bool DoMouseWheelDown(Qt::KeyboardModifiers modifiers) override;
  bool DoMouseWheelUp(Qt::KeyboardModifiers modifiers) override;
  void SizeChanged() override;
  void showEvent(QShowEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void customEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TColumnEh;
  friend class TDBGridColumnsEh;

  void layoutRebuild();
  void buildFieldMap();
  void updateRowCount();
  void syncCurrentRow();
  void updateScrollBar();
  void applyColumnWidths();
  void postDeferredLayout();
  void columnsChanged(TColumnEh* column);
  void drawTitleCell(TCanvas& canvas, int col, const QRect& rect);
  void drawDataCell(TCanvas& canvas, int col, int row, const QRect& rect, unsigned state);
  void writeText(TCanvas& canvas, const QRect& rect, bool raised, const QString& text, TAlignment alignment,
                 TTextLayout layout, bool endEllipsis);
  bool highlighted(int col, int row, bool& currentCell) const;
  void vertScrollAction(int action);
  void thumbPosition(int pos);
  void moveBy(int distance);
  void selectColumn(int index);
  int columnAtGridCol(int gridCol) const;
  TColumnEh* columnAt(int x, int y) const;

  std::unique_ptr<TGridDataLinkEh> link_;
  std::unique_ptr<TGridFieldWatcher> fieldWatcher_;
  TDBGridColumnsEh columns_;
  TColumnsEhList visibleColumns_;
  TColumnDefValuesEh defValues_;
  unsigned options_ = dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs |
                      dgConfirmDelete | dgCancelOnExit;
  unsigned optionsEh_ = dghFixed3D | dghHighlightFocus | dghClearSelection | dghDialogFind;
  bool flat_ = false;
  bool readOnly_ = false;
  QFont titleFont_, footerFont_;
  TColor evenRowColor_ = clWindow, oddRowColor_ = clWindow;
  bool evenRowColorSet_ = false, oddRowColorSet_ = false;
  int frozenCols_ = 0;
  int rowHeight_ = 0;
  int rowLines_ = 0;
  int titleHeight_ = 0;
  int titleLines_ = 0;
  int footerRowCount_ = 0;
  bool autoFitColWidths_ = false;
  bool useMultiTitle_ = false;
  TScrollBarVisibleModeEh vertMode_ = sbAutoShowEh;
  TGridScrollInfo vertInfo_;
  int layoutLock_ = 0;
  bool loading_ = false;
  bool inLayout_ = false;
  bool deferredLayoutPosted_ = false;
  bool settingScrollBar_ = false;
};

class TDBGridEh : public TCustomDBGridEh {
 public:
  using TCustomDBGridEh::TCustomDBGridEh;
};

// Opens the search dialog for a grid; set by the dialog's unit when the program starts.
using TDBGridEhShowFindDialogProc = void (*)(TCustomDBGridEh& grid, const AnsiString& text, const AnsiString& fieldName,
                                             bool modal);
extern TDBGridEhShowFindDialogProc DBGridEhShowFindDialogProc;
