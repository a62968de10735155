#include "palette/palette_paint.h"

#include "base/app_state.h"
#include "palette/palette_layout.h"
#include "palette/swatches.h"

namespace {

// Fills the surface dark red inside a black frame drawn with the context's default pen. The
// two right-most columns and bottom rows lie outside the rectangle.
void DrawBackground(HDC surface, int width, int height) {
    HBRUSH brush = CreateSolidBrush(PaletteBackgroundColour);
    HGDIOBJ previous = SelectObject(surface, brush);
    Rectangle(surface, 0, 0, width - 2, height - 2);
    SelectObject(surface, previous);
    DeleteObject(brush);
}

void DrawLabel(HDC surface) {
    static const wchar_t label[] = L"描画モード";
    SetBkMode(surface, TRANSPARENT);
    SetTextColor(surface, PaletteLabelColour);
    TextOutW(surface, PaletteLabelX, PaletteLabelY, label,
             int(sizeof(label) / sizeof(label[0])) - 1);
}

void DrawSwatch(HDC surface, int row, int column) {
    IntRect cell = SwatchCellRect(row, column);
    HBRUSH brush = CreateSolidBrush(SwatchTable[row][column]);
    HGDIOBJ previous = SelectObject(surface, brush);
    Rectangle(surface, cell.left, cell.top, cell.right, cell.bottom);
    SelectObject(surface, previous);
    DeleteObject(brush);
}

void DrawSwatches(HDC surface) {
    for (int row = 0; row < SwatchRows; ++row)
        for (int column = 0; column < SwatchColumns; ++column)
            DrawSwatch(surface, row, column);
}

void DrawDisc(HDC surface, IntRect bounds, RgbTriple colour) {
    HBRUSH brush = CreateSolidBrush(ToColorRef(colour));
    HGDIOBJ previous = SelectObject(surface, brush);
    Ellipse(surface, bounds.left, bounds.top, bounds.right, bounds.bottom);
    SelectObject(surface, previous);
    DeleteObject(brush);
}

void DrawColourDiscs(HDC surface) {
    HPEN outline = CreatePen(PS_SOLID, DiscOutlineWidth, DiscOutlineColour);
    HGDIOBJ previous = SelectObject(surface, outline);
    DrawDisc(surface, PrimaryDiscRect, appState.primaryColour);
    DrawDisc(surface, SecondaryDiscRect, appState.secondaryColour);
    SelectObject(surface, previous);
    DeleteObject(outline);
}

} // namespace

int PaintPaletteSurface(HDC target, int width, int height) {
    HDC surface = CreateCompatibleDC(target);
    HBITMAP bitmap = surface ? CreateCompatibleBitmap(target, width, height) : nullptr;
    if (!bitmap) {
        if (surface)
            DeleteDC(surface);
        return 0;
    }
    HGDIOBJ previousBitmap = SelectObject(surface, bitmap);

    // The strip outside the framed background would otherwise show whatever the fresh bitmap
    // holds; make it black, like the frame.
    PatBlt(surface, 0, 0, width, height, BLACKNESS);
    DrawBackground(surface, width, height);
    DrawLabel(surface);
    DrawSwatches(surface);
    DrawColourDiscs(surface);
    BitBlt(target, 0, 0, width, height, surface, 0, 0, SRCCOPY);

    SelectObject(surface, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(surface);
    return 1;
}
