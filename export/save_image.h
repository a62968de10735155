#pragma once

// File > 保存 > one of the five formats (1 BMP, 2 JPEG, 3 PNG, 4 GIF, 5 TIFF): asks for a
// file name and writes the whole canvas, at its full size whatever the zoom, to that file.
// A save that could not be written is reported to the user.
void RunSaveCommand(int saveFormat);
