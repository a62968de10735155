#pragma once
// The palette's colour swatches: the constant table and the hit tests of a press on the
// painted surface. Plain numbers only, so the same rules build and run without Windows.

#include <cstdint>

#include "base/app_state.h"

constexpr int SwatchRows = 5;
constexpr int SwatchColumns = 32;
constexpr int SwatchCount = SwatchRows * SwatchColumns;
// Cells are this far apart; each painted cell is 15 × 15 pixels including its frame.
constexpr int SwatchPitch = 15;

// 5 rows of 32 GDI colour values (COLORREF: red in the lowest byte), handed to GDI as they are.
extern const uint32_t SwatchTable[SwatchRows][SwatchColumns];

// The rectangle painted for the cell of row r, column c: AppState::swatchCellRect moved 15·c
// right and 15·r down. Right and bottom are exclusive when painted.
IntRect SwatchCellRect(int row, int column);

struct SwatchHit {
    int found; // 1 when the press picks a swatch
    int row;
    int column;
};

// Which swatch a press at client pixel (x, y) picks. A cell takes both of its bounds, 16
// positions on each axis, so neighbours share their boundary; going through the cells in
// table order, the last one hit wins: the right-hand column and the lower row.
SwatchHit FindSwatchAt(int x, int y);

// 1 when a press at (x, y) exchanges the primary and secondary colours: the bounding square
// of the secondary disc, bounds included.
int HitsColourExchange(int x, int y);
