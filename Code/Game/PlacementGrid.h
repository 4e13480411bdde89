#pragma once
// The placement grid: the field's cells, which of them carry a tower, and where a
// cell lies on the field. Every cell index, column and row in the game goes through
// here, always in the order (column, row).
#include <vector>

#include "Foundation/Math/QlnMath.h"

class PlacementGrid {
 public:
  // The field is 32 x 24 cells of 32 pixels: the level images, the tower sprites and
  // the checkpoint records are all drawn and written for it.
  static constexpr int kCellSize = 32;
  static constexpr int kColumns = 32;
  static constexpr int kRows = 24;
  static constexpr int kFieldWidth = kColumns * kCellSize;
  static constexpr int kFieldHeight = kRows * kCellSize;

  // What a cell holds: the level image forbids it, it is free, or a tower stands on it.
  enum CellState { kForbidden = -1, kFree = 0, kTaken = 1 };

  // The cell's index, or -1 outside the grid.
  static int index(int column, int row);
  static int columnOf(int cell) { return cell % kColumns; }
  static int rowOf(int cell) { return cell / kColumns; }
  // The column or row a field coordinate falls in.
  static int columnAt(float x) { return static_cast<int>(x / static_cast<float>(kCellSize)); }
  static int rowAt(float y) { return static_cast<int>(y / static_cast<float>(kCellSize)); }
  // The cell a field point falls in (no bounds check: callers hold points on the field).
  static int cellAt(float x, float y) { return columnAt(x) + kColumns * rowAt(y); }
  static QuillonPHX2D::Vec2 centre(int column, int row);
  static QuillonPHX2D::Vec2 centreOf(int cell) { return centre(columnOf(cell), rowOf(cell)); }

  // The level file's cells, row by row (kFree or kForbidden each).
  void assign(std::vector<int> cells) { cells_ = std::move(cells); }
  const std::vector<int>& cells() const { return cells_; }
  int cellCount() const { return static_cast<int>(cells_.size()); }
  bool contains(int cell) const { return cell >= 0 && cell < cellCount(); }
  // The cell's state; kForbidden outside the grid.
  int stateOf(int cell) const { return contains(cell) ? cells_[static_cast<size_t>(cell)] : kForbidden; }
  bool isFree(int column, int row) const { return stateOf(index(column, row)) == kFree; }
  // Takes a free cell for a tower; false (and nothing changes) on any other cell.
  bool occupy(int column, int row);
  // A tower left the cell; a cell the level image forbids stays forbidden.
  void release(int cell);
  // Every tower left at once, as a restore clears the field.
  void releaseAll();

 private:
  std::vector<int> cells_;
};
