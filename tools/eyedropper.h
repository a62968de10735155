#pragma once
// The Eyedropper tool.

// At an Eyedropper press, once the cursor point is mapped: the canvas pixel there becomes the
// primary colour (red, green and blue; alpha plays no part) and the palette repaints its
// colour discs. A point with no pixel (outside the surface) leaves the colour as it is.
void PickColour();
