#pragma once
// The data grid as assistive technology sees it: a table of the records fetched so far, one
// column per column a person can see, titled like the grid's titles, the current record's row
// selected. Screen readers reach it through Qt's accessibility (AT-SPI on Linux).

class TCustomDBGridEh;

// Makes every data grid answer as a table; the grid's constructor calls it, the first call
// registers.
void InstallDBGridEhAccessible();

// Placed at the top of a handler of the grid's data link: when the handler ends, tells a screen
// reader what changed (rows, columns, the current record). Costs nothing while no assistive
// technology listens, and stays silent when the handler ends by an exception.
class TDBGridEhAccessibleUpdate {
 public:
  explicit TDBGridEhAccessibleUpdate(TCustomDBGridEh& grid);
  ~TDBGridEhAccessibleUpdate();
  TDBGridEhAccessibleUpdate(const TDBGridEhAccessibleUpdate&) = delete;
  TDBGridEhAccessibleUpdate& operator=(const TDBGridEhAccessibleUpdate&) = delete;

 private:
  TCustomDBGridEh& grid_;
  int exceptions_;
};
