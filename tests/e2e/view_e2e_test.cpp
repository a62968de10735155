// Moving around a photo-sized picture in the real program: the wheel zooms toward the pointer,
// a rectangle lands on the pixels the pointer showed, the scroll bars go to both ends and no
// further, the ranges follow a maximised window, and every document starts from a clean view in
// a window inside the frame.
#include "program_test.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "picture_files.h"
#include "scenario_pictures.h"
#include "test_files.h"
#include "x_input.h"

namespace {

const SIZE Picture = {4000, 3000};
const uint32_t Blue = 0x0000FF; // the swatch of row 1, column 0; no pixel of the picture

// Every pixel tells where it is: x and y in red and green, their high bits in blue (< 0xC0).
uint32_t WhereColour(int x, int y) {
    return uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | uint32_t(y >> 8 << 4 | x >> 8);
}
POINT WhereFrom(uint32_t rgb) {
    const LONG high = rgb & 0xFF;
    const POINT p = {LONG(rgb >> 16) | (high & 0xF) << 8, LONG((rgb >> 8) & 0xFF) | high >> 4 << 8};
    return p.x < Picture.cx && p.y < Picture.cy ? p : POINT{-1, -1};
}

class ViewTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(WriteBmp(path, Picture.cx, Picture.cy, WhereColour));
    }
    SIZE Inside() const {
        RECT r;
        GetClientRect(document, &r);
        return SIZE{r.right, r.bottom};
    }
    RECT SeenPart() const {
        RECT seen, shown = ScreenRectOf(canvas), inside = ClientScreenRectOf(document);
        IntersectRect(&seen, &shown, &inside);
        return seen;
    }
    POINT ShownAt(POINT screen) const { return WhereFrom(ScreenColourAt(screen)); }
    // What the program shows once it has stopped changing it.
    template <typename Read> auto Settled(Read read) const {
        auto now = read();
        for (auto last = now; Settle(150), now = read(), memcmp(&now, &last, sizeof now);)
            last = now;
        return now;
    }
    POINT Place() const {
        return Settled([&] { return PlaceInParent(canvas); });
    }
    // The screen point that shows the picture pixel nearest to the one given.
    POINT NearestShown(POINT pixel) const {
        const RECT seen = SeenPart();
        const std::vector<uint32_t> shown = CaptureScreen(seen);
        const LONG w = seen.right - seen.left;
        size_t best = 0;
        auto distance = [&](size_t i) {
            const POINT p = WhereFrom(shown[i]);
            return p.x < 0 ? 1L << 30 : std::labs(p.x - pixel.x) + std::labs(p.y - pixel.y);
        };
        for (size_t i = 1; i < shown.size(); ++i)
            best = distance(i) < distance(best) ? i : best;
        return POINT{seen.left + LONG(best % w), seen.top + LONG(best / w)};
    }
    void NotchAt(POINT screen, int level) {
        XWheelAt(screen.x, screen.y, 1);
        Eventually([&] { return CanvasViewSize().cx; }, ViewSizeAt(Picture, level).cx);
    }
    // A rectangle dragged between two screen points: what the person sees changes on exactly
    // the picture pixels from the one shown at the first point up to the one at the second.
    void ExpectRectangleBetween(POINT from, POINT to) {
        const RECT seen = SeenPart();
        const std::vector<uint32_t> before = CaptureScreen(seen);
        const POINT a = ShownAt(from), b = ShownAt(to);
        ASSERT_TRUE(a.x >= 0 && a.x < b.x && a.y < b.y);
        ScreenToClient(canvas, &from);
        ScreenToClient(canvas, &to);
        Stroke({from, POINT{(from.x + to.x) / 2, (from.y + to.y) / 2}, to});
        auto wrong = [&] {
            const std::vector<uint32_t> now = CaptureScreen(seen);
            int count = 0;
            for (size_t i = 0; i < before.size(); ++i) {
                const POINT p = WhereFrom(before[i]);
                const bool inside = p.x >= a.x && p.x < b.x && p.y >= a.y && p.y < b.y;
                count += now[i] != (inside ? Blue : before[i]);
            }
            return count;
        };
        EXPECT_EQ(Eventually(wrong, 0), 0) << "pixels not as the rectangle leaves them";
    }
    ScratchFolder folder;
    std::wstring path = folder.File(L"photo.bmp");
};

TEST_F(ViewTest, ZoomTowardAPixelDrawWhereItIsShownAndGoToBothEnds) {
    ASSERT_TRUE(OpenPicture(path));
    int level = -30;
    while (ViewSizeAt(Picture, level).cx != CanvasViewSize().cx)
        ++level;
    PostClick(palette, ids::ToolRectangle);
    PickSwatch(1, 0);
    const RECT seen = SeenPart();
    ExpectRectangleBetween({seen.left + 40, seen.top + 30}, {seen.left + 230, seen.top + 170});

    // Toward the lower right until the view is no longer centred in the window; from then on
    // the pixel under the pointer stays, within what one view pixel held, up to +5.
    POINT pointer = NearestShown({3100, 2300});
    for (SIZE in = Inside(); CanvasViewSize().cx < in.cx && CanvasViewSize().cy < in.cy;)
        NotchAt(pointer, ++level);
    pointer = NearestShown({3100, 2300});
    const POINT mark = ShownAt(pointer);
    const long slack = 2 * ((Picture.cx + CanvasViewSize().cx - 1) / CanvasViewSize().cx);
    while (level < 5) {
        NotchAt(pointer, ++level);
        auto stays = [&] {
            const POINT p = ShownAt(pointer);
            return p.x >= 0 && std::labs(p.x - mark.x) <= slack && std::labs(p.y - mark.y) <= slack;
        };
        ASSERT_TRUE(Eventually(stays, true)) << "at " << level;
    }
    ExpectRectangleBetween({pointer.x - 170, pointer.y - 120}, {pointer.x - 40, pointer.y - 30});

    // Trough presses of a page less a tenth, until the far edge meets the window's.
    const SIZE in = Inside(), view = CanvasViewSize();
    const RECT client = ClientScreenRectOf(document);
    for (POINT place = Place(), next; place.y + view.cy > in.cy; place = next) {
        PostMessageW(document, WM_VSCROLL, SB_PAGEDOWN, 0);
        next = Place();
        EXPECT_EQ(place.y - next.y, std::min(in.cy - in.cy / 10, place.y + view.cy - in.cy));
    }
    EXPECT_EQ(ShownAt({client.left, client.bottom - 1}).y, Picture.cy - 1) << "the last row";

    // The far right edge, then the top-left corner.
    PostMessageW(document, WM_HSCROLL, SB_RIGHT, 0);
    EXPECT_EQ(Place().x + view.cx, in.cx);
    EXPECT_EQ(ShownAt({client.right - 1, client.top}).x, Picture.cx - 1) << "the last column";
    PostMessageW(document, WM_HSCROLL, SB_LEFT, 0);
    PostMessageW(document, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(Place().y, 0);
    EXPECT_EQ(ShownAt({client.left, client.top}).x + ShownAt({client.left, client.top}).y, 0);

    // Maximised and restored: the ranges follow, the bottom is where the far edge meets.
    for (WPARAM command : {SC_MAXIMIZE, SC_RESTORE}) {
        PostMessageW(document, WM_SYSCOMMAND, command, 0);
        ASSERT_EQ(Eventually([&] { return IsZoomed(document) != 0; }, command == SC_MAXIMIZE),
                  command == SC_MAXIMIZE);
        const SIZE now = Settled([&] { return Inside(); });
        EXPECT_EQ(now.cy > in.cy, command == SC_MAXIMIZE);
        PostMessageW(document, WM_VSCROLL, SB_BOTTOM, 0);
        EXPECT_EQ(Place().y + view.cy, now.cy);
    }
}

TEST_F(ViewTest, EveryDocumentStartsCleanInAWindowInsideTheFrame) {
    // Closed zoomed in and scrolled; the new sheet is centred, without scroll bars, the whole
    // surround painted.
    ASSERT_TRUE(OpenPicture(path));
    const POINT middle = CentreOf(document);
    XWheelAt(middle.x, middle.y, 8);
    PostMessageW(document, WM_VSCROLL, SB_PAGEDOWN, 0);
    ASSERT_LT(Place().y, 0);
    ASSERT_TRUE(CloseDocument());
    ASSERT_TRUE(OpenSheet(680, 480));
    const SIZE in = Inside();
    EXPECT_EQ(Place().x, (in.cx - 680) / 2);
    EXPECT_EQ(Place().y, (in.cy - 480) / 2);
    EXPECT_FALSE(GetWindowLongW(document, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    const RECT around = ClientScreenRectOf(document), sheet = ScreenRectOf(canvas);
    auto unpainted = [&] {
        const std::vector<uint32_t> seen = CaptureScreen(around);
        int count = 0;
        for (size_t i = 0; i < seen.size(); ++i)
            count +=
                !PtInRect(&sheet, {around.left + LONG(i % in.cx), around.top + LONG(i / in.cx)}) &&
                seen[i] != SurroundYellow;
        return count;
    };
    EXPECT_EQ(Eventually(unpainted, 0), 0) << "pixels of the surround that are not yellow";

    // Five large pictures in a row, each in a window inside the frame's client area.
    for (int opened = 0; opened < 5; ++opened) {
        ASSERT_TRUE(CloseDocument());
        ASSERT_TRUE(OpenPicture(path));
        RECT window = ScreenRectOf(document), area = ClientScreenRectOf(client), both;
        IntersectRect(&both, &window, &area);
        EXPECT_TRUE(EqualRect(&both, &window)) << opened;
    }
}

} // namespace
