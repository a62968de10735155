#include "document/canvas_layout.h"

int CanvasSizeIsAddressable(IntSize size) {
    if (size.w < 1 || size.h < 1)
        return 0;
    if (size.w > MaxCanvasSide || size.h > MaxCanvasSide)
        return 0;
    return 1;
}
