#pragma once

// File > 保存 > one of the five formats (1 BMP, 2 JPEG, 3 PNG, 4 GIF, 5 TIFF).
void RunSaveCommand(int saveFormat);
