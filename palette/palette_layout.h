#pragma once
// Where things are painted on the palette, in client pixels. They are placed in pixels and do
// not scale with the dialog font, unlike the controls.

#include <cstdint>

#include "base/app_state.h"

// COLORREF values: red in the lowest byte.
constexpr uint32_t PaletteBackgroundColour = 0x000033; // RGB(51, 0, 0), a dark red
constexpr uint32_t PaletteLabelColour = 0xFFFFFF;
constexpr uint32_t DiscOutlineColour = 0xFF0000; // RGB(0, 0, 255)
constexpr int DiscOutlineWidth = 3;

constexpr int PaletteLabelX = 20;
constexpr int PaletteLabelY = 20;

// The discs lie inside AppState::colourIndicatorRect, the area invalidated on colour changes.
constexpr IntRect PrimaryDiscRect = {20, 120, 80, 180};
constexpr IntRect SecondaryDiscRect = {85, 125, 135, 175};
