#pragma once
#include <windows.h>

// The palette's three setting pairs (a trackbar and a number box each) and the 詳細線 box.
// They work on the controls in appState.paletteControls.

// Opening: check 詳細線.
void CheckPreviewOutlinesBox();
// Opening: write each setting into its box, then give each trackbar its range and position.
void FillSettingBoxes();
void SetUpSettingTrackbars();

// WM_COMMAND from a setting box: the typed-value rule for 太さ and 塗りつぶし近似値範囲 on
// EN_CHANGE; the スプレーの強さ box has no handling of its own.
void OnSettingBoxCommand(int id, int notification);

// WM_COMMAND from 詳細線: previewOutlines follows the box's check state.
void OnPreviewOutlinesCommand();

// WM_HSCROLL: the setting of the trackbar that moved follows its position, and its box shows it.
void OnSettingTrackbarScroll(HWND trackbar);
