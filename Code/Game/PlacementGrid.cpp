// The placement grid's cells and their occupancy.
#include "Game/PlacementGrid.h"

using namespace QuillonPHX2D;

int PlacementGrid::index(int column, int row) {
  if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return -1;
  return column + kColumns * row;
}

Vec2 PlacementGrid::centre(int column, int row) {
  return Vec2(static_cast<float>(kCellSize * column + kCellSize / 2), static_cast<float>(kCellSize * row + kCellSize / 2));
}

bool PlacementGrid::occupy(int column, int row) {
  const int cell = index(column, row);
  if (stateOf(cell) != kFree) return false;
  cells_[static_cast<size_t>(cell)] = kTaken;
  return true;
}

void PlacementGrid::release(int cell) {
  if (stateOf(cell) == kTaken) cells_[static_cast<size_t>(cell)] = kFree;
}

void PlacementGrid::releaseAll() {
  for (int& cell : cells_)
    if (cell == kTaken) cell = kFree;
}
