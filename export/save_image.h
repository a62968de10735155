#pragma once
#include <windows.h>

// Writes the whole canvas, at its full size whatever the zoom, to the file in the format (1 BMP,
// 2 JPEG, 3 PNG, 4 GIF, 5 TIFF), with the wait cursor while it works. A file that could not be
// written is reported to the user, and the file that was there before is left as it was.
// 1 when the file has been written.
int WriteCanvasToFile(const wchar_t* path, int saveFormat);

// File > 保存 > one of the five formats: asks for a file name, then writes the canvas to it.
// The full path written (kept for the run: the next save dialog starts with it), or null when
// the dialog was cancelled or the file could not be written.
const wchar_t* RunSaveCommand(int saveFormat);
