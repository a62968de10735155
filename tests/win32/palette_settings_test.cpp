// The palette's setting pairs: typing into the number boxes, moving the trackbars.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "base/app_state.h"
#include "palette_test_support.h"
#include "resources/resource_ids.h"
#include "win32_test_support.h"

namespace {

class PaletteSettingsTest : public PaletteTest {
  protected:
    // Replaces a box's whole text at once, as pasting over all of it would: one EN_CHANGE.
    void PasteOver(int id, const wchar_t* text) {
        SelectAllOfBox(Control(id));
        SendMessageW(Control(id), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }
    // Replaces a box's whole text by typing it, one EN_CHANGE per keystroke.
    void TypeOver(int id, const wchar_t* text) {
        SelectAllOfBox(Control(id));
        TypeIntoBox(Control(id), text);
    }
    // Moves a trackbar with a key, as the keyboard would; the trackbar reports it itself.
    void PressKeyOn(int id, int key) {
        SendMessageW(Control(id), WM_KEYDOWN, key, 0);
        SendMessageW(Control(id), WM_KEYUP, key, 0);
    }
};

TEST_F(PaletteSettingsTest, ANumberAboveTheLimitBecomesTheLimitInTheBox) {
    TypeOver(IDC_PEN_WIDTH_BOX, L"600");
    EXPECT_EQ(appState.penWidth, 500);
    EXPECT_EQ(BoxText(IDC_PEN_WIDTH_BOX), L"500");
    EXPECT_EQ(TrackbarPos(IDC_PEN_WIDTH_TRACKBAR), 500) << "its right end";
}

TEST_F(PaletteSettingsTest, AnEmptyBoxGivesOneAtOnce) {
    TypeOver(IDC_TOLERANCE_BOX, L"\b");
    EXPECT_EQ(appState.fillTolerance, 1);
    EXPECT_EQ(BoxText(IDC_TOLERANCE_BOX), L"1");
    EXPECT_EQ(TrackbarPos(IDC_TOLERANCE_TRACKBAR), 1);
}

TEST_F(PaletteSettingsTest, NegativeNumbersAndLettersGiveOne) {
    for (const wchar_t* typed : {L"-5", L"abc", L"x12", L"+7", L" 7"}) {
        PasteOver(IDC_PEN_WIDTH_BOX, L"250");
        ASSERT_EQ(appState.penWidth, 250);
        PasteOver(IDC_PEN_WIDTH_BOX, typed);
        EXPECT_EQ(appState.penWidth, 1) << testing::PrintToString(std::wstring(typed));
        EXPECT_EQ(BoxText(IDC_PEN_WIDTH_BOX), L"1");
        EXPECT_EQ(TrackbarPos(IDC_PEN_WIDTH_TRACKBAR), 1);
    }
}

TEST_F(PaletteSettingsTest, ANumberFollowedByLettersIsTakenAndTheTextKept) {
    TypeOver(IDC_PEN_WIDTH_BOX, L"12abc"); // each keystroke in range: nothing is corrected
    EXPECT_EQ(appState.penWidth, 12);
    EXPECT_EQ(BoxText(IDC_PEN_WIDTH_BOX), L"12abc");
    EXPECT_EQ(TrackbarPos(IDC_PEN_WIDTH_TRACKBAR), 12);

    PasteOver(IDC_TOLERANCE_BOX, L"0077 px");
    EXPECT_EQ(appState.fillTolerance, 77);
    EXPECT_EQ(BoxText(IDC_TOLERANCE_BOX), L"0077 px");
    EXPECT_EQ(TrackbarPos(IDC_TOLERANCE_TRACKBAR), 77);
}

TEST_F(PaletteSettingsTest, NumbersTooLongForAnIntStillMeetTheLimits) {
    // StrToIntW alone wraps these to 10 and to INT_MAX.
    PasteOver(IDC_PEN_WIDTH_BOX, L"4294967306");
    EXPECT_EQ(appState.penWidth, 500);
    EXPECT_EQ(BoxText(IDC_PEN_WIDTH_BOX), L"500");
    PasteOver(IDC_TOLERANCE_BOX, L"-2147483649");
    EXPECT_EQ(appState.fillTolerance, 1);
    EXPECT_EQ(BoxText(IDC_TOLERANCE_BOX), L"1");
    PasteOver(IDC_TOLERANCE_BOX, L"2147483648");
    EXPECT_EQ(appState.fillTolerance, 500);
}

// Counts the EN_CHANGE notifications the palette receives from one box.
int changesSeen = 0;
HWND watchedBox = nullptr;

LRESULT CALLBACK CountChanges(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_COMMAND && HIWORD(sent->wParam) == EN_CHANGE &&
        reinterpret_cast<HWND>(sent->lParam) == watchedBox)
        ++changesSeen;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Each keystroke is read at once: a text that does not read as a number in range is
// corrected before the next key, with the caret at the start of the corrected text.
TEST_F(PaletteSettingsTest, KeystrokesAreReadOneAtATime) {
    TypeOver(IDC_PEN_WIDTH_BOX, L"-5");
    EXPECT_EQ(BoxText(IDC_PEN_WIDTH_BOX), L"51") << "'-' alone reads as 0 and becomes \"1\"";
    EXPECT_EQ(appState.penWidth, 51);
    TypeOver(IDC_PEN_WIDTH_BOX, L"abc");
    EXPECT_EQ(BoxText(IDC_PEN_WIDTH_BOX), L"1");
    EXPECT_EQ(appState.penWidth, 1);
}

TEST_F(PaletteSettingsTest, ACorrectionRaisesOneNestedChangeThatSettlesInRange) {
    watchedBox = Control(IDC_PEN_WIDTH_BOX);
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CountChanges, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    SelectAllOfBox(watchedBox);
    TypeIntoBox(watchedBox, L"6");
    TypeIntoBox(watchedBox, L"0");
    changesSeen = 0;
    TypeIntoBox(watchedBox, L"0");
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(changesSeen, 2) << "the keystroke's change and the correction's";
    EXPECT_EQ(appState.penWidth, 500);
    EXPECT_EQ(BoxText(IDC_PEN_WIDTH_BOX), L"500");
    EXPECT_EQ(TrackbarPos(IDC_PEN_WIDTH_TRACKBAR), 500);

    // Typing on after the corrected text: "5000" is corrected again.
    SendMessageW(watchedBox, EM_SETSEL, 3, 3);
    TypeIntoBox(watchedBox, L"0");
    EXPECT_EQ(BoxText(IDC_PEN_WIDTH_BOX), L"500");
    EXPECT_EQ(appState.penWidth, 500);
}

TEST_F(PaletteSettingsTest, OnlyTheChangeNotificationReadsTheBox) {
    appState.penWidth = 77; // differs from the box's "10"
    for (int code : {EN_UPDATE, EN_SETFOCUS, EN_KILLFOCUS, EN_MAXTEXT})
        SendMessageW(palette, WM_COMMAND, MAKEWPARAM(IDC_PEN_WIDTH_BOX, code),
                     reinterpret_cast<LPARAM>(Control(IDC_PEN_WIDTH_BOX)));
    EXPECT_EQ(appState.penWidth, 77);
    SendMessageW(palette, WM_COMMAND, MAKEWPARAM(IDC_PEN_WIDTH_BOX, EN_CHANGE),
                 reinterpret_cast<LPARAM>(Control(IDC_PEN_WIDTH_BOX)));
    EXPECT_EQ(appState.penWidth, 10);
}

TEST_F(PaletteSettingsTest, TheSprayBoxChangesNothingUntilItsTrackbarMoves) {
    TypeOver(IDC_SPRAY_BOX, L"800");
    EXPECT_EQ(appState.sprayStrength, 50);
    EXPECT_EQ(BoxText(IDC_SPRAY_BOX), L"800");
    EXPECT_EQ(TrackbarPos(IDC_SPRAY_TRACKBAR), 50);
    TypeOver(IDC_SPRAY_BOX, L"\b\b\b");
    EXPECT_EQ(BoxText(IDC_SPRAY_BOX), L"") << "no correction either";

    PressKeyOn(IDC_SPRAY_TRACKBAR, VK_RIGHT);
    EXPECT_EQ(appState.sprayStrength, 51);
    EXPECT_EQ(BoxText(IDC_SPRAY_BOX), L"51");
}

TEST_F(PaletteSettingsTest, TrackbarsWriteTheirSettingAndTheirBox) {
    PressKeyOn(IDC_SPRAY_TRACKBAR, VK_END);
    EXPECT_EQ(appState.sprayStrength, 1000);
    EXPECT_EQ(BoxText(IDC_SPRAY_BOX), L"1000");

    PressKeyOn(IDC_PEN_WIDTH_TRACKBAR, VK_HOME);
    EXPECT_EQ(appState.penWidth, 1);
    EXPECT_EQ(BoxText(IDC_PEN_WIDTH_BOX), L"1");

    PressKeyOn(IDC_TOLERANCE_TRACKBAR, VK_END);
    EXPECT_EQ(appState.fillTolerance, 500);
    EXPECT_EQ(BoxText(IDC_TOLERANCE_BOX), L"500");
    PressKeyOn(IDC_TOLERANCE_TRACKBAR, VK_LEFT);
    EXPECT_EQ(appState.fillTolerance, 499);
    EXPECT_EQ(BoxText(IDC_TOLERANCE_BOX), L"499");

    // Each trackbar moves its own setting only.
    EXPECT_EQ(appState.penWidth, 1);
    EXPECT_EQ(appState.sprayStrength, 1000);
}

TEST_F(PaletteSettingsTest, AScrollFromNoPaletteTrackbarChangesNothing) {
    SendMessageW(palette, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
    SendMessageW(palette, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0),
                 reinterpret_cast<LPARAM>(Control(IDC_PEN_WIDTH_BOX)));
    EXPECT_EQ(appState.penWidth, 10);
    EXPECT_EQ(appState.fillTolerance, 20);
    EXPECT_EQ(appState.sprayStrength, 50);
    EXPECT_EQ(BoxText(IDC_PEN_WIDTH_BOX), L"10");
}

} // namespace
