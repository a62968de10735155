// The palette dialog opened in-process: its opening state, its buttons and the presses on its
// painted surface.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "base/app_state.h"
#include "palette/swatches.h"
#include "palette_test_support.h"
#include "resources/resource_ids.h"
#include "win32_test_support.h"

namespace {

bool Same(RgbTriple a, RgbTriple b) {
    return a == b;
}

TEST_F(PaletteTest, OpeningTakesTheSettingControlsInTheirFixedOrder) {
    const int ids[PaletteControlCount] = {1014, 1010, 1013, 1015, 1023, 1018, 1017};
    for (int i = 0; i < PaletteControlCount; ++i) {
        EXPECT_NE(appState.paletteControls[i], nullptr) << i;
        EXPECT_EQ(appState.paletteControls[i], Control(ids[i])) << i;
    }
    EXPECT_EQ(appState.paletteWindow, palette);
    RECT client;
    GetClientRect(palette, &client);
    EXPECT_EQ(appState.paletteClientRect.left, 0);
    EXPECT_EQ(appState.paletteClientRect.top, 0);
    EXPECT_EQ(appState.paletteClientRect.right, client.right);
    EXPECT_EQ(appState.paletteClientRect.bottom, client.bottom);
    EXPECT_GT(client.right, 600) << "426 dialog units";
}

TEST_F(PaletteTest, OpensWithEverySettingShownAndTheTrackbarsRanged) {
    EXPECT_EQ(SendMessageW(Control(IDC_PREVIEW_CHECK), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(BoxText(IDC_PEN_WIDTH_BOX), L"10");
    EXPECT_EQ(BoxText(IDC_TOLERANCE_BOX), L"20");
    EXPECT_EQ(BoxText(IDC_SPRAY_BOX), L"50");
    struct Bar {
        int id, low, high, pos;
    } bars[] = {{IDC_PEN_WIDTH_TRACKBAR, 1, 500, 10},
                {IDC_TOLERANCE_TRACKBAR, 1, 500, 20},
                {IDC_SPRAY_TRACKBAR, 1, 1000, 50}};
    for (const Bar& bar : bars) {
        EXPECT_EQ(SendMessageW(Control(bar.id), TBM_GETRANGEMIN, 0, 0), bar.low) << bar.id;
        EXPECT_EQ(SendMessageW(Control(bar.id), TBM_GETRANGEMAX, 0, 0), bar.high) << bar.id;
        EXPECT_EQ(TrackbarPos(bar.id), bar.pos) << bar.id;
    }
    // Reading the boxes back on opening leaves the settings as they started.
    EXPECT_EQ(appState.penWidth, 10);
    EXPECT_EQ(appState.fillTolerance, 20);
    EXPECT_EQ(appState.sprayStrength, 50);
    EXPECT_EQ(appState.previewOutlines, 1);
    EXPECT_EQ(appState.activeTool, ToolCode::Spray);
}

TEST_F(PaletteTest, ToolButtonsChooseTheActiveToolAndNothingElse) {
    struct Tool {
        int id;
        ToolCode tool;
    } tools[] = {{IDC_TOOL_PEN, ToolCode::Pen},
                 {IDC_TOOL_ELLIPSE, ToolCode::Ellipse},
                 {IDC_TOOL_RECTANGLE, ToolCode::Rectangle},
                 {IDC_TOOL_LINE, ToolCode::Line},
                 {IDC_TOOL_FILL, ToolCode::Fill},
                 {IDC_TOOL_EYEDROPPER, ToolCode::Eyedropper},
                 {IDC_TOOL_SPRAY, ToolCode::Spray}};
    for (const Tool& t : tools) {
        SendMessageW(Control(t.id), BM_CLICK, 0, 0);
        EXPECT_EQ(appState.activeTool, t.tool) << t.id;
    }
    // Pen after spray, so the last click changed it.
    SendMessageW(Control(IDC_TOOL_PEN), BM_CLICK, 0, 0);
    EXPECT_EQ(appState.activeTool, ToolCode::Pen);
    EXPECT_TRUE(Same(appState.primaryColour, RgbTriple{0, 0, 0}));
    EXPECT_EQ(appState.penWidth, 10);
    EXPECT_EQ(appState.previewOutlines, 1);
}

TEST_F(PaletteTest, PreviewOutlinesFollowsTheCheckBox) {
    SendMessageW(Control(IDC_PREVIEW_CHECK), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(Control(IDC_PREVIEW_CHECK), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(appState.previewOutlines, 0);
    SendMessageW(Control(IDC_PREVIEW_CHECK), BM_CLICK, 0, 0);
    EXPECT_EQ(appState.previewOutlines, 1);
}

TEST_F(PaletteTest, HistoryButtonsBeforeAnyDocumentDoNothing) {
    for (int round = 0; round < 3; ++round)
        for (int id : {IDC_UNDO, IDC_REDO, IDC_RESET, IDC_UNDO, IDC_RESET, IDC_REDO})
            SendMessageW(Control(id), BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_TRUE(IsWindow(palette));
    EXPECT_FALSE(DocumentIsOpen());
    EXPECT_EQ(appState.historyPos, 0);
    EXPECT_EQ(appState.historyCount, 0);
    EXPECT_EQ(appState.canvasDc, nullptr);
    EXPECT_EQ(appState.canvasWindow, nullptr);
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(PaletteTest, QuitPostsExitCodeZeroEvenWithADocumentOpen) {
    appState.blankDocumentOpen = 1;
    SendMessageW(Control(IDC_QUIT), BM_CLICK, 0, 0);
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
    EXPECT_TRUE(IsWindow(palette)) << "the palette never ends itself";
}

TEST_F(PaletteTest, OtherCommandsAndEnterAndEscapeChangeNothing) {
    for (int id : {IDOK, IDCANCEL, 0, 1004, 1020, 1023 + 1, 40015})
        SendMessageW(palette, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    SendMessageW(palette, DM_GETDEFID, 0, 0);
    PumpMessages();
    EXPECT_TRUE(IsWindow(palette) && IsWindowVisible(palette));
    EXPECT_EQ(appState.activeTool, ToolCode::Spray);
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

// Presses on the painted surface.

TEST_F(PaletteTest, APressOnASwatchPicksItAsThePrimaryColour) {
    IntRect red = SwatchCellRect(0, 8);
    EXPECT_EQ(PressSurface(red.left + 5, red.top + 5), 1) << "it picks and drags";
    EXPECT_TRUE(Same(appState.primaryColour, RgbTriple{255, 0, 0}));
    EXPECT_TRUE(Same(appState.secondaryColour, RgbTriple{255, 255, 255}));

    PressSurface(160, 122); // shared boundary: the right-hand cell, white
    EXPECT_TRUE(Same(appState.primaryColour, RgbTriple{255, 255, 255}));
    PressSurface(160, 130); // shared corner: the lower right cell
    EXPECT_TRUE(Same(appState.primaryColour, RgbTriple{0, 0, 210}));
    PressSurface(400, 170);
    PressSurface(625, 190); // row 4, column 31: white
    EXPECT_TRUE(Same(appState.primaryColour, RgbTriple{255, 255, 255}));
}

TEST_F(PaletteTest, PressesBesideTheGridPickNothing) {
    IntRect cell = SwatchCellRect(3, 12); // (30, 255, 0)
    PressSurface(cell.left + 3, cell.top + 3);
    ASSERT_TRUE(Same(appState.primaryColour, RgbTriple{30, 255, 0}));
    // Every press on the surface starts a drag, whether it picks or not.
    for (auto p : {POINT{626, 150}, POINT{300, 191}, POINT{144, 120}, POINT{50, 150}, POINT{5, 5}})
        EXPECT_EQ(PressSurface(p.x, p.y), 1) << p.x << "," << p.y;
    EXPECT_TRUE(Same(appState.primaryColour, RgbTriple{30, 255, 0}));
    EXPECT_TRUE(Same(appState.secondaryColour, RgbTriple{255, 255, 255}));
}

TEST_F(PaletteTest, TheSecondaryDiscExchangesTheColours) {
    PressSurface(135, 175);
    EXPECT_TRUE(Same(appState.primaryColour, RgbTriple{255, 255, 255}));
    EXPECT_TRUE(Same(appState.secondaryColour, RgbTriple{0, 0, 0}));
    PressSurface(110, 150);
    EXPECT_TRUE(Same(appState.primaryColour, RgbTriple{0, 0, 0}));
    EXPECT_TRUE(Same(appState.secondaryColour, RgbTriple{255, 255, 255}));

    PressSurface(136, 150);
    PressSurface(50, 150); // the primary disc
    EXPECT_TRUE(Same(appState.primaryColour, RgbTriple{0, 0, 0}));
    EXPECT_TRUE(Same(appState.secondaryColour, RgbTriple{255, 255, 255}));
}

TEST_F(PaletteTest, ColourChangesInvalidateOnlyTheDiscsWithoutErasing) {
    RepaintNow();
    RECT update;
    ASSERT_FALSE(GetUpdateRect(palette, &update, FALSE));
    PressSurface(152, 122);
    ASSERT_TRUE(GetUpdateRect(palette, &update, FALSE));
    EXPECT_EQ(update.left, 20);
    EXPECT_EQ(update.top, 120);
    EXPECT_EQ(update.right, 135);
    EXPECT_EQ(update.bottom, 180);
    UpdateWindow(palette);
    PressSurface(135, 175);
    ASSERT_TRUE(GetUpdateRect(palette, &update, FALSE));
    EXPECT_EQ(update.right, 135);
    UpdateWindow(palette);
    PressSurface(300, 300); // no colour change, no repaint
    EXPECT_FALSE(GetUpdateRect(palette, &update, FALSE));
}

TEST_F(PaletteTest, OnlyTheLeftButtonsFirstPressActs) {
    IntRect red = SwatchCellRect(0, 8);
    EXPECT_EQ(PressSurface(red.left + 5, red.top + 5, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(PressSurface(red.left + 5, red.top + 5, WM_RBUTTONDOWN), 0);
    EXPECT_EQ(PressSurface(135, 175, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(PressSurface(135, 175, WM_RBUTTONDOWN), 0);
    EXPECT_TRUE(Same(appState.primaryColour, RgbTriple{0, 0, 0}));
    EXPECT_TRUE(Same(appState.secondaryColour, RgbTriple{255, 255, 255}));
}

} // namespace
