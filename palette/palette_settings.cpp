#include "palette/palette_settings.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <cwchar>

#include "base/app_state.h"
#include "palette/typed_value.h"
#include "resources/resource_ids.h"

namespace {

struct SettingPair {
    PaletteControlIndex trackbar;
    PaletteControlIndex box;
    int* setting;
    int low;
    int high;
};

// In the order the palette sets them up: 太さ, 塗りつぶし近似値範囲, スプレーの強さ.
const SettingPair settingPairs[] = {
    {PenWidthTrackbar, PenWidthBox, &appState.penWidth, 1, 500},
    {ToleranceTrackbar, ToleranceBox, &appState.fillTolerance, 1, 500},
    {SprayTrackbar, SprayStrengthBox, &appState.sprayStrength, 1, 1000},
};
const SettingPair& penWidthPair = settingPairs[0];
const SettingPair& tolerancePair = settingPairs[1];

// Every text the boxes are given or read through holds 256 characters.
const int BoxTextLength = 256;

HWND Control(PaletteControlIndex index) {
    return appState.paletteControls[index];
}

// Setting the text raises EN_CHANGE at once.
void WriteNumberToBox(HWND box, int value) {
    wchar_t text[BoxTextLength] = {};
    swprintf(text, BoxTextLength, L"%d", value);
    SetWindowTextW(box, text);
}

void ApplyTypedValue(const SettingPair& pair) {
    HWND box = Control(pair.box);
    if (!box)
        return; // the palette has not taken its controls yet
    wchar_t text[BoxTextLength] = {};
    GetWindowTextW(box, text, BoxTextLength);
    int typed = UnwrapTypedNumber(text, StrToIntW(text));
    TypedValue value = ApplyTypedValueRule(typed, pair.low, pair.high);
    *pair.setting = value.setting;
    // The corrected text raises EN_CHANGE again; that nested run finds the value in range.
    if (value.rewriteBox)
        WriteNumberToBox(box, value.setting);
    SendMessageW(Control(pair.trackbar), TBM_SETPOS, TRUE, value.setting);
}

} // namespace

void CheckPreviewOutlinesBox() {
    SendMessageW(Control(PreviewCheckBox), BM_SETCHECK, BST_CHECKED, 0);
}

void FillSettingBoxes() {
    for (const SettingPair& pair : settingPairs)
        WriteNumberToBox(Control(pair.box), *pair.setting);
}

void SetUpSettingTrackbars() {
    for (const SettingPair& pair : settingPairs) {
        HWND trackbar = Control(pair.trackbar);
        SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELONG(pair.low, pair.high));
        SendMessageW(trackbar, TBM_SETPOS, TRUE, *pair.setting);
    }
}

void OnSettingBoxCommand(int id, int notification) {
    if (notification != EN_CHANGE)
        return;
    if (id == IDC_PEN_WIDTH_BOX)
        ApplyTypedValue(penWidthPair);
    else if (id == IDC_TOLERANCE_BOX)
        ApplyTypedValue(tolerancePair);
}

void OnPreviewOutlinesCommand() {
    LRESULT state = SendMessageW(Control(PreviewCheckBox), BM_GETCHECK, 0, 0);
    appState.previewOutlines = state == BST_CHECKED ? 1 : 0;
}

void OnSettingTrackbarScroll(HWND trackbar) {
    for (const SettingPair& pair : settingPairs) {
        if (trackbar && trackbar == Control(pair.trackbar)) {
            *pair.setting = int(SendMessageW(trackbar, TBM_GETPOS, 0, 0));
            WriteNumberToBox(Control(pair.box), *pair.setting);
            return;
        }
    }
}
