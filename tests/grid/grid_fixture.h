#pragma once
// A grid on a real query over a small SQLite file, shown in a window of a fixed size.

#include <gtest/gtest.h>

#include <QImage>

#include <memory>

#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "grid/GridDataLinkEh.h"
#include "platform/db/DataSource.h"
#include "tests/data/data_fixture.h"

class GridTest : public ::testing::Test {
 protected:
  // `rows` records in t(id, tm): tm is "诗<id>" in code page 936.
  explicit GridTest(int rows = 60);
  ~GridTest() override;

  void open(const AnsiString& sql);
  // The pixel colour at a viewport point, as painted now.
  QColor pixel(int x, int y);
  // The part of a cell in view, and its centre, in viewport coordinates.
  QRect visible(int col, int row) const;
  QPoint centre(int col, int row) const { return visible(col, row).center(); }
  void click(QPoint at, Qt::MouseButton button = Qt::LeftButton);
  void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  void wheel(int delta);

  TempFolder folder;
  TUniConnection connection{nullptr};
  TUniQuery query{nullptr};
  TDataSource source{nullptr};
  std::unique_ptr<QWidget> window;
  TDBGridEh* grid = nullptr;
  QWidget* other = nullptr;  // takes the focus away from the grid
};
