// The data grid's accessible table and its cells. A row is a record the data set has fetched
// (row r is record number r + 1), so a screen reader hears how long the list is so far, not
// only the rows in view; a column is a column of the grid a person can see.

#include "grid/DBGridEhAccessible.h"

#include <QAccessibleWidget>
#include <QHash>

#include <algorithm>
#include <climits>
#include <exception>
#include <vector>

#include "grid/DBGridEh.h"
#include "grid/GridDataLinkEh.h"
#include "platform/db/DataSet.h"
#include "platform/text/QtText.h"

namespace {

class TDBGridEhAccessibleCell;

class TDBGridEhAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit TDBGridEhAccessible(TCustomDBGridEh* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* focusChild() const override;
  QString text(QAccessible::Text t) const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  int selectedCellCount() const override { return currentRow() >= 0 ? columnCount() : 0; }
  QList<QAccessibleInterface*> selectedCells() const override;
  QString columnDescription(int column) const override { return title(column); }
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return currentRow() >= 0 ? 1 : 0; }
  int columnCount() const override { return static_cast<int>(columns().size()); }
  int rowCount() const override;
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override;
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int row) const override { return row >= 0 && row == currentRow(); }
  bool selectRow(int row) override;
  bool selectColumn(int) override { return false; }
  // The grid always has a current record while it has any.
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent* event) override;

  // What the cells read. A row of -1 is the title row.
  TCustomDBGridEh* grid() const { return static_cast<TCustomDBGridEh*>(widget()); }
  int currentRow() const;
  int focusColumn() const;
  QString title(int column) const;
  QString cellText(int row, int column) const;
  QRect cellRect(int row, int column) const;
  QAccessibleInterface* cell(int row, int column) const;

  // Compares the grid with what assistive technology last heard and tells it the difference.
  void update();

 protected:
  ~TDBGridEhAccessible() override;

 private:
  // What the events are about: the columns, the rows and the current record.
  struct Shape {
    bool active = false;
    int rows = 0;
    std::vector<const TField*> fields;
    QStringList titles;
    int current = -1;
  };
  Shape shape() const;
  // Indexes in Columns of the columns a person can see.
  std::vector<int> columns() const;
  // The row of the first record in the link's window.
  int windowFirst() const;
  QString readElsewhere(int row, TColumnEh& column) const;
  void dropCells();

  mutable QHash<qint64, QAccessible::Id> cells_;
  Shape heard_;
  mutable bool reading_ = false;
  bool sending_ = false;
};

// A title cell (row -1) or a data cell. It keeps only its place; what it says and where it lies
// are read from the grid when asked, so it never shows an old text.
class TDBGridEhAccessibleCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  TDBGridEhAccessibleCell(const TDBGridEhAccessible& table, int row, int column)
      : table_(table), row_(row), column_(column) {}

  bool belongsTo(const TDBGridEhAccessible& table) const { return &table == &table_; }

  bool isValid() const override {
    return table_.isValid() && column_ >= 0 && column_ < table_.columnCount() && row_ < table_.rowCount();
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return table_.window(); }
  QAccessibleInterface* parent() const override { return table(); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !isValid()) return {};
    return row_ < 0 ? table_.title(column_) : table_.cellText(row_, column_);
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return isValid() ? table_.cellRect(row_, column_) : QRect(); }
  QAccessible::Role role() const override { return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell; }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface && row_ >= 0) return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }

  bool isSelected() const override { return row_ >= 0 && row_ == table_.currentRow(); }
  QList<QAccessibleInterface*> columnHeaderCells() const override {
    if (row_ < 0 || !isValid()) return {};
    return {table_.cell(-1, column_)};
  }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  // The table deletes its cells before it goes, so the reference never dangles.
  QAccessibleInterface* table() const override { return const_cast<TDBGridEhAccessible*>(&table_); }

  int childIndex() const { return (row_ + 1) * table_.columnCount() + column_; }

 private:
  const TDBGridEhAccessible& table_;
  int row_;
  int column_;
};

QAccessible::State TDBGridEhAccessibleCell::state() const {
  QAccessible::State state;
  if (!isValid()) {
    state.invalid = true;
    return state;
  }
  state.offscreen = rect().isEmpty();
  if (row_ < 0) return state;
  state.selectable = true;
  state.focusable = true;
  if (isSelected()) {
    state.selected = true;
    state.focused = table_.grid()->hasFocus() && column_ == table_.focusColumn();
  }
  return state;
}

TDBGridEhAccessible::~TDBGridEhAccessible() { dropCells(); }

std::vector<int> TDBGridEhAccessible::columns() const {
  std::vector<int> out;
  TCustomDBGridEh* g = grid();
  if (!g) return out;
  const int indicator = g->IndicatorOffset();
  TDBGridColumnsEh& all = g->Columns();
  for (int i = 0; i < all.Count(); ++i) {
    const int gridCol = i + indicator;
    // A hidden column keeps its grid column at width -1 or 0.
    if (all[i]->Visible() && gridCol < g->ColCount() && g->ColWidths(gridCol) > 0) out.push_back(i);
  }
  return out;
}

int TDBGridEhAccessible::rowCount() const {
  TCustomDBGridEh* g = grid();
  TDataSet* dataSet = g && g->DataLink().Active() ? g->DataSet() : nullptr;
  if (!dataSet) return 0;
  // Without record numbers only the records in the window can be told apart.
  if (!dataSet->IsSequenced()) return g->DataLink().RecordCount();
  return std::max(0, dataSet->RecordCount());
}

int TDBGridEhAccessible::currentRow() const {
  const int rows = rowCount();
  if (rows == 0) return -1;
  TDataSet* dataSet = grid()->DataSet();
  const int row = dataSet->IsSequenced() ? dataSet->RecNo() - 1 : grid()->DataLink().ActiveRecord();
  return row >= 0 && row < rows ? row : -1;
}

int TDBGridEhAccessible::windowFirst() const {
  const int current = currentRow();
  return current < 0 ? 0 : current - grid()->DataLink().ActiveRecord();
}

int TDBGridEhAccessible::focusColumn() const {
  const std::vector<int> visible = columns();
  const int selected = grid() ? grid()->SelectedIndex() : -1;
  for (std::size_t c = 0; c < visible.size(); ++c)
    if (visible[c] == selected) return static_cast<int>(c);
  return 0;
}

QString TDBGridEhAccessible::title(int column) const {
  const std::vector<int> visible = columns();
  if (column < 0 || column >= static_cast<int>(visible.size())) return {};
  return text::toQString(grid()->Columns()[visible[static_cast<std::size_t>(column)]]->Title().Caption());
}

QString TDBGridEhAccessible::cellText(int row, int column) const {
  const std::vector<int> visible = columns();
  if (column < 0 || column >= static_cast<int>(visible.size()) || row < 0 || row >= rowCount()) return {};
  TColumnEh& col = *grid()->Columns()[visible[static_cast<std::size_t>(column)]];
  TGridDataLinkEh& link = grid()->DataLink();
  const int index = row - windowFirst();
  if (index < 0 || index >= link.RecordCount()) return readElsewhere(row, col);
  // As the painting reads a row: its record made the active one for a moment, then put back.
  const int saved = link.ActiveRecord();
  QString text;
  try {
    link.SetActiveRecord(index);
    text = text::toQString(col.DisplayText());
  } catch (const std::exception&) {
    // A record that cannot be read says nothing.
  }
  link.SetActiveRecord(saved);
  return text;
}

// A record outside the link's window: the data set goes there and back while its links hear
// nothing (DisableControls), as the search dialog walks the records. It steps there rather than
// jumping by record number: a jump fills the buffers around the record and would fetch the next
// block behind the person's back. The way back goes through a bookmark of the window's middle
// record, which a bookmark puts back in the middle of the buffers (the grid's window being the
// widest on its data set, as each of the reader's grids has a data set of its own): the window,
// the current record and Bof/Eof return as they were, so the one DataSetChanged of the last
// EnableControls finds every row and the scroll bar where they were. Only a data set at rest is moved: not
// while it edits, while someone else has its controls disabled, or from inside an event this
// table sends.
QString TDBGridEhAccessible::readElsewhere(int row, TColumnEh& column) const {
  TCustomDBGridEh* g = grid();
  TDataSet* dataSet = g->DataSet();
  if (reading_ || sending_ || !dataSet->IsSequenced() || dataSet->State() != dsBrowse || dataSet->ControlsDisabled())
    return {};
  TGridDataLinkEh& link = g->DataLink();
  const int active = link.ActiveRecord();
  const int middle = (std::max(link.RecordCount(), 1) - 1) / 2;
  const bool bof = dataSet->Bof(), eof = dataSet->Eof();
  QString text;
  reading_ = true;
  dataSet->DisableControls();
  try {
    dataSet->MoveBy(middle - active);
    const TBookmark back = dataSet->GetBookmark();
    try {
      dataSet->MoveBy(row + 1 - dataSet->RecNo());
      if (dataSet->RecNo() == row + 1) text = text::toQString(column.DisplayText());
    } catch (const std::exception&) {
      // Unreadable, it says nothing; the way back still runs.
    }
    dataSet->GotoBookmark(back);
    dataSet->MoveBy(active - middle);
    if (bof) dataSet->MoveBy(-1);
    if (eof) dataSet->MoveBy(1);
  } catch (const std::exception&) {
    // Stranded elsewhere, the data set is at least heard of again: EnableControls tells the links.
  }
  try {
    dataSet->EnableControls();
  } catch (const std::exception&) {
    // A handler of the links failed; a screen reader's question is no place to report it.
  }
  reading_ = false;
  return text;
}

QRect TDBGridEhAccessible::cellRect(int row, int column) const {
  TCustomDBGridEh* g = grid();
  const std::vector<int> visible = columns();
  if (!g || !g->isVisible() || column < 0 || column >= static_cast<int>(visible.size())) return {};
  const int gridCol = visible[static_cast<std::size_t>(column)] + g->IndicatorOffset();
  int gridRow = 0;
  if (row < 0) {
    if (g->DataRowOffset() == 0) return {};
  } else {
    const int index = row - windowFirst();
    if (row >= rowCount() || index < 0 || index >= g->DataLink().RecordCount()) return {};
    gridRow = index + g->DataRowOffset();
  }
  const QRect rect = g->CellRect(gridCol, gridRow);
  if (rect.isEmpty()) return {};
  return QRect(g->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

QAccessibleInterface* TDBGridEhAccessible::cell(int row, int column) const {
  const qint64 key = (static_cast<qint64>(row + 1) << 32) | static_cast<quint32>(column);
  if (const auto found = cells_.constFind(key); found != cells_.cend())
    if (QAccessibleInterface* existing = QAccessible::accessibleInterface(*found)) return existing;
  auto* made = new TDBGridEhAccessibleCell(*this, row, column);
  cells_.insert(key, QAccessible::registerAccessibleInterface(made));
  return made;
}

void TDBGridEhAccessible::dropCells() {
  for (const QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
  cells_.clear();
}

QAccessibleInterface* TDBGridEhAccessible::cellAt(int row, int column) const {
  if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
  return cell(row, column);
}

QList<QAccessibleInterface*> TDBGridEhAccessible::selectedCells() const {
  QList<QAccessibleInterface*> out;
  const int current = currentRow();
  if (current < 0) return out;
  for (int c = 0, n = columnCount(); c < n; ++c) out << cell(current, c);
  return out;
}

QList<int> TDBGridEhAccessible::selectedRows() const {
  const int current = currentRow();
  return current < 0 ? QList<int>() : QList<int>{current};
}

bool TDBGridEhAccessible::selectRow(int row) {
  const int current = currentRow();
  if (current < 0 || row < 0 || row >= rowCount() || reading_ || sending_) return false;
  TDataSet* dataSet = grid()->DataSet();
  if (dataSet->State() != dsBrowse) return false;
  // As a click on the row does: the data set moves, and the grid follows it.
  try {
    grid()->DataLink().MoveBy(row - current);
  } catch (const std::exception&) {
    return false;
  }
  return currentRow() == row;
}

void TDBGridEhAccessible::modelChange(QAccessibleTableModelChangeEvent* event) {
  // Rows added at the end leave every cell where it was.
  if (event->modelChangeType() != QAccessibleTableModelChangeEvent::RowsInserted) dropCells();
}

int TDBGridEhAccessible::childCount() const {
  const qint64 columns = columnCount();
  return static_cast<int>(std::min<qint64>(INT_MAX, (rowCount() + 1) * columns));
}

// Children: the title cells first, then the data cells row by row.
QAccessibleInterface* TDBGridEhAccessible::child(int index) const {
  const int columns = columnCount();
  if (index < 0 || columns == 0) return nullptr;
  if (index < columns) return cell(-1, index);
  return cellAt(index / columns - 1, index % columns);
}

int TDBGridEhAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const auto* cell = dynamic_cast<const TDBGridEhAccessibleCell*>(child);
  return cell && cell->belongsTo(*this) && cell->isValid() ? cell->childIndex() : -1;
}

QAccessibleInterface* TDBGridEhAccessible::childAt(int x, int y) const {
  TCustomDBGridEh* g = grid();
  if (!g) return nullptr;
  const QPoint at = g->viewport()->mapFromGlobal(QPoint(x, y));
  const TGridCoord coord = g->MouseCoord(at.x(), at.y());
  const std::vector<int> visible = columns();
  const auto column = std::find(visible.begin(), visible.end(), coord.X - g->IndicatorOffset());
  if (coord.Y < 0 || column == visible.end()) return nullptr;
  const int c = static_cast<int>(column - visible.begin());
  if (coord.Y < g->DataRowOffset()) return cell(-1, c);
  const int index = coord.Y - g->DataRowOffset();
  if (index >= g->DataLink().RecordCount()) return nullptr;
  return cellAt(windowFirst() + index, c);
}

QAccessibleInterface* TDBGridEhAccessible::focusChild() const {
  const int current = currentRow();
  if (!grid() || !grid()->hasFocus() || current < 0 || columnCount() == 0) return nullptr;
  return cell(current, focusColumn());
}

QString TDBGridEhAccessible::text(QAccessible::Text t) const {
  if (t != QAccessible::Name || !grid()) return QAccessibleWidget::text(t);
  const QString name = grid()->accessibleName();
  return name.isEmpty() ? grid()->objectName() : name;
}

void* TDBGridEhAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

TDBGridEhAccessible::Shape TDBGridEhAccessible::shape() const {
  Shape shape;
  TCustomDBGridEh* g = grid();
  if (!g) return shape;
  shape.active = g->DataLink().Active();
  shape.rows = rowCount();
  for (const int index : columns()) {
    const TColumnEh& column = *g->Columns()[index];
    shape.fields.push_back(column.Field());
    shape.titles << text::toQString(column.Title().Caption());
  }
  shape.current = currentRow();
  return shape;
}

void TDBGridEhAccessible::update() {
  if (reading_ || sending_ || !grid()) return;
  const Shape now = shape();
  const Shape before = heard_;
  heard_ = now;
  sending_ = true;
  try {
    const bool reset = now.active != before.active || now.fields != before.fields || now.titles != before.titles ||
                       now.rows < before.rows;
    if (reset) {
      QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::ModelReset);
      QAccessible::updateAccessibility(&event);
    } else if (now.rows > before.rows) {
      QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::RowsInserted);
      event.setFirstRow(before.rows);
      event.setLastRow(now.rows - 1);
      QAccessible::updateAccessibility(&event);
    }
    if (now.current >= 0 && !now.fields.empty() && (reset || now.current != before.current)) {
      QAccessibleEvent selection(cell(now.current, 0), QAccessible::Selection);
      QAccessible::updateAccessibility(&selection);
      if (grid()->hasFocus()) {
        QAccessibleEvent focus(cell(now.current, focusColumn()), QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
      }
    }
  } catch (const std::exception&) {
    // Whoever listens has lost an event; the grid carries on.
  }
  sending_ = false;
}

QAccessibleInterface* gridFactory(const QString&, QObject* object) {
  if (auto* grid = dynamic_cast<TCustomDBGridEh*>(object)) return new TDBGridEhAccessible(grid);
  return nullptr;
}

}  // namespace

void InstallDBGridEhAccessible() {
  // Factories installed later are asked first, so this one, installed with the first grid and
  // so after the application's own, answers for the grid before Qt's scroll-area interface.
  static const bool installed = [] {
    QAccessible::installFactory(gridFactory);
    return true;
  }();
  (void)installed;
}

TDBGridEhAccessibleUpdate::TDBGridEhAccessibleUpdate(TCustomDBGridEh& grid)
    : grid_(grid), exceptions_(std::uncaught_exceptions()) {}

TDBGridEhAccessibleUpdate::~TDBGridEhAccessibleUpdate() {
  if (!QAccessible::isActive() || std::uncaught_exceptions() > exceptions_) return;
  try {
    if (auto* table = dynamic_cast<TDBGridEhAccessible*>(QAccessible::queryAccessibleInterface(&grid_)))
      table->update();
  } catch (const std::exception&) {
    // Assistive technology misses one change; the grid's handler has done its work.
  }
}
