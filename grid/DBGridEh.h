#pragma once
// The data-aware grid that lists a query's rows. Its columns, drawing and navigation come
// with its data link; until a data source is attached it is an empty, flat grid area.

#include <QAbstractScrollArea>
#include <QFont>

enum TDBGridEhOption : unsigned {
  dgTitles = 1u << 0,
  dgIndicator = 1u << 1,
  dgColumnResize = 1u << 2,
  dgColLines = 1u << 3,
  dgRowLines = 1u << 4,
  dgTabs = 1u << 5,
  dgRowSelect = 1u << 6,
  dgAlwaysShowSelection = 1u << 7,
  dgConfirmDelete = 1u << 8,
  dgCancelOnExit = 1u << 9,
  dgEditing = 1u << 10,
};

class TDBGridEh : public QAbstractScrollArea {
 public:
  explicit TDBGridEh(QWidget* parent = nullptr);

  unsigned Options() const { return options_; }
  void SetOptions(unsigned options) { options_ = options; }
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  const QFont& TitleFont() const { return titleFont_; }
  void SetTitleFont(const QFont& font) { titleFont_ = font; }

 private:
  unsigned options_ = dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgConfirmDelete |
                      dgCancelOnExit | dgEditing;
  bool flat_ = false;
  QFont titleFont_;
};
