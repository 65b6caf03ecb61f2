// The control panel's bitmap buttons: each button draws its own normal,
// pushed or disabled face by the item state, pixel for pixel as the
// resources hold it; centred in a larger rectangle, shrunk whole into a
// smaller one, never outside the rectangle; and the real panel's buttons
// paint through the main window's owner-draw handler.
#include "app/mainfixture.h"
#include "tests/ui/panelsurface.h"

#include "res/resource.h"
#include "ui/panel.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <ostream>
#include <string>
#include <vector>

using paneltest::ground;
using paneltest::pixelText;
using paneltest::Surface;

namespace {

const int faceSize = 14;
const DWORD lightGrey = 0xC0C0C0;   // the faces' plain button colour

// A face as the resources hold it, 0xRRGGBB row by row from the top; read
// with GetDIBits, not through the drawing under test.
struct Face {
    std::vector<DWORD> rgb;
    DWORD at(int x, int y) const { return rgb[y * faceSize + x]; }
};

Face faceOf(int bitmapId)
{
    Face face;
    HBITMAP bitmap = (HBITMAP)LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0,
                                         LR_CREATEDIBSECTION);
    if (!bitmap) {
        ADD_FAILURE() << "bitmap " << bitmapId << " does not load";
        return face;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = faceSize;
    info.bmiHeader.biHeight = -faceSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<DWORD> cells(faceSize * faceSize);
    HDC dc = CreateCompatibleDC(nullptr);
    int rows = GetDIBits(dc, bitmap, 0, faceSize, cells.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    DeleteObject(bitmap);
    if (rows != faceSize) {
        ADD_FAILURE() << "bitmap " << bitmapId << " cannot be read";
        return face;
    }
    for (DWORD cell : cells)
        face.rgb.push_back(cell & 0xFFFFFF);
    return face;
}

DRAWITEMSTRUCT itemFor(int control, UINT state, HDC dc, RECT rect)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = control;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hDC = dc;
    item.rcItem = rect;
    return item;
}

// Every pixel of the surface: the face at (x, y) and `ground` elsewhere.
void expectFaceAt(const Surface &surface, const Face &face, int left, int top)
{
    ASSERT_EQ(face.rgb.size(), (size_t)(faceSize * faceSize));
    int wrong = 0;
    std::string first;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) {
            bool inFace = x >= left && x < left + faceSize && y >= top && y < top + faceSize;
            DWORD expected = inFace ? face.at(x - left, y - top) : ground;
            DWORD seen = surface.at(x, y);
            if (seen != expected && wrong++ == 0)
                first = pixelText(x, y, seen, expected);
        }
    EXPECT_EQ(wrong, 0) << wrong << " pixels differ, the first at " << first;
}

struct ButtonCase {
    const char *name;
    int control;
    int normal, pushed, disabled;
};

// Test names in failure reports instead of the parameters' bytes.
void PrintTo(const ButtonCase &c, std::ostream *out)
{
    *out << c.name;
}

const ButtonCase buttons[] = {
    {"Play", IDC_PLAY, IDB_PLAY, IDB_PLAY_PUSHED, IDB_PLAY_DISABLED},
    {"Pause", IDC_PAUSE, IDB_PAUSE, IDB_PAUSE_PUSHED, IDB_PAUSE_DISABLED},
    {"Stop", IDC_STOP, IDB_STOP, IDB_STOP_PUSHED, IDB_STOP_DISABLED},
    {"Previous", IDC_PREVIOUS, IDB_PREVIOUS, IDB_PREVIOUS_PUSHED, IDB_PREVIOUS_DISABLED},
    {"Next", IDC_NEXT, IDB_NEXT, IDB_NEXT_PUSHED, IDB_NEXT_DISABLED},
    {"Eject", IDC_EJECT, IDB_EJECT, IDB_EJECT_PUSHED, IDB_EJECT_DISABLED},
    {"VolumeUp", IDC_VOLUME_UP, IDB_VOLUME_UP, IDB_VOLUME_UP_PUSHED, IDB_VOLUME_UP_DISABLED},
    {"VolumeDown", IDC_VOLUME_DOWN, IDB_VOLUME_DOWN, IDB_VOLUME_DOWN_PUSHED, IDB_VOLUME_DOWN_DISABLED},
};

enum Which { Normal, Pushed, Disabled };

struct StateCase {
    const char *name;
    UINT itemState;
    Which face;
};

// Pushed wins over disabled; focus and the other bits change nothing.
const StateCase states[] = {
    {"plain", 0, Normal},
    {"focused", ODS_FOCUS, Normal},
    {"selected", ODS_SELECTED, Pushed},
    {"selected and focused", ODS_SELECTED | ODS_FOCUS, Pushed},
    {"disabled", ODS_DISABLED, Disabled},
    {"disabled and focused", ODS_DISABLED | ODS_FOCUS, Disabled},
    {"selected and disabled", ODS_SELECTED | ODS_DISABLED, Pushed},
    {"grayed", ODS_GRAYED, Normal},
};

class ButtonFace : public ::testing::TestWithParam<ButtonCase> {
protected:
    void SetUp() override { loadButtonBitmaps(); }
};

TEST_P(ButtonFace, EachItemStateDrawsItsOwnFace)
{
    const ButtonCase &b = GetParam();
    const Face faces[] = {faceOf(b.normal), faceOf(b.pushed), faceOf(b.disabled)};
    for (const StateCase &s : states) {
        SCOPED_TRACE(std::string(b.name) + ", " + s.name);
        Surface surface(20, 18);
        ASSERT_TRUE(surface.ready());
        DRAWITEMSTRUCT item = itemFor(b.control, s.itemState, surface.dc(), RECT{3, 2, 17, 16});
        drawButton(&item);
        expectFaceAt(surface, faces[s.face], 3, 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Panel, ButtonFace, ::testing::ValuesIn(buttons),
                         [](const ::testing::TestParamInfo<ButtonCase> &info) { return std::string(info.param.name); });

TEST(ButtonFaces, DifferFromEachOther)
{
    // Otherwise the face tests above could not tell one face from another.
    std::set<std::vector<DWORD>> seen;
    for (const ButtonCase &b : buttons)
        for (int id : {b.normal, b.pushed, b.disabled})
            EXPECT_TRUE(seen.insert(faceOf(id).rgb).second) << "bitmap " << id << " repeats another";
}

// --- Where the face goes ------------------------------------------------

struct PlaceCase {
    const char *name;
    RECT rect;
    int x, y, width, height;   // where the face is drawn, and its size
};

// Test names in failure reports instead of the parameters' bytes.
void PrintTo(const PlaceCase &c, std::ostream *out)
{
    *out << c.name;
}

const PlaceCase places[] = {
    {"ExactSize", {0, 0, 14, 14}, 0, 0, 14, 14},
    {"CentredInALargerSquare", {0, 0, 18, 18}, 2, 2, 14, 14},
    {"OddMarginsRoundDown", {0, 0, 17, 19}, 1, 2, 14, 14},
    {"RectangleAwayFromTheOrigin", {5, 4, 21, 20}, 6, 5, 14, 14},
    {"OneMorePixelKeepsTheCorner", {2, 3, 17, 18}, 2, 3, 14, 14},
    {"ShrunkIntoASmallerSquare", {0, 0, 12, 12}, 0, 0, 12, 12},
    {"ShrunkAwayFromTheOrigin", {4, 6, 14, 16}, 4, 6, 10, 10},
    {"WideAndShortShrinksOnlyTheHeight", {1, 2, 23, 12}, 5, 2, 14, 10},
    {"NarrowAndTallShrinksOnlyTheWidth", {3, 0, 12, 21}, 3, 3, 9, 14},
    {"ThirteenPixelsIsNotMovedLeft", {0, 0, 13, 13}, 0, 0, 13, 13},
    {"Tiny", {2, 2, 5, 5}, 2, 2, 3, 3},
};

// The same face stretched by GDI itself into the expected box: what a
// shrunk drawing must look like, pixel for pixel.
void stretchFace(HDC dc, int bitmapId, int x, int y, int width, int height)
{
    HBITMAP bitmap = (HBITMAP)LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0,
                                         LR_CREATEDIBSECTION);
    ASSERT_TRUE(bitmap);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, bitmap);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, width, height, source, 0, 0, faceSize, faceSize, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(bitmap);
}

class ButtonPlace : public ::testing::TestWithParam<PlaceCase> {
protected:
    void SetUp() override { loadButtonBitmaps(); }
};

TEST_P(ButtonPlace, DrawsTheWholeFaceInsideTheRectangle)
{
    const PlaceCase &c = GetParam();
    Surface surface(24, 24);
    ASSERT_TRUE(surface.ready());
    DRAWITEMSTRUCT item = itemFor(IDC_STOP, 0, surface.dc(), c.rect);
    drawButton(&item);

    if (c.width == faceSize && c.height == faceSize) {
        expectFaceAt(surface, faceOf(IDB_STOP), c.x, c.y);
        return;
    }

    Surface expected(24, 24);
    ASSERT_TRUE(expected.ready());
    stretchFace(expected.dc(), IDB_STOP, c.x, c.y, c.width, c.height);
    Face face = faceOf(IDB_STOP);
    std::set<DWORD> faceColours(face.rgb.begin(), face.rgb.end());
    int wrong = 0, foreign = 0, outside = 0;
    std::string first;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            DWORD seen = surface.at(x, y);
            bool inBox = x >= c.x && x < c.x + c.width && y >= c.y && y < c.y + c.height;
            if (!inBox) {
                outside += seen != ground;
                continue;
            }
            foreign += faceColours.count(seen) == 0;
            if (seen != expected.at(x, y) && wrong++ == 0)
                first = pixelText(x, y, seen, expected.at(x, y));
        }
    EXPECT_EQ(outside, 0) << "pixels painted outside the face's box";
    EXPECT_EQ(foreign, 0) << "pixels of colours the face does not have";
    EXPECT_EQ(wrong, 0) << wrong << " pixels differ from the face shrunk by GDI, the first at " << first;

    // Shrunk, not cut: the far edges still show the face's frame (dark
    // bottom and right rows), where a cut-off corner would show the plain
    // light-grey face.
    if (c.height < faceSize) {
        for (int x = c.x; x < c.x + c.width; ++x)
            EXPECT_NE(surface.at(x, c.y + c.height - 1), lightGrey) << "bottom row at x " << x;
    }
    if (c.width < faceSize) {
        for (int y = c.y; y < c.y + c.height; ++y)
            EXPECT_NE(surface.at(c.x + c.width - 1, y), lightGrey) << "right column at y " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Panel, ButtonPlace, ::testing::ValuesIn(places),
                         [](const ::testing::TestParamInfo<PlaceCase> &info) { return std::string(info.param.name); });

// --- Requests that draw nothing --------------------------------------

struct IgnoredCase {
    const char *name;
    int control;
    RECT rect;
    bool withoutDc;
};

// Test names in failure reports instead of the parameters' bytes.
void PrintTo(const IgnoredCase &c, std::ostream *out)
{
    *out << c.name;
}

const IgnoredCase ignored[] = {
    {"TheVolumeBar", IDC_VOLUME_BAR, {0, 0, 16, 16}, false},
    {"TheDriveLabel", IDC_DRIVE_LABEL, {0, 0, 16, 16}, false},
    {"AnUnknownControl", 4242, {0, 0, 16, 16}, false},
    {"AnEmptyRectangle", IDC_PLAY, {4, 4, 4, 16}, false},
    {"AnUpsideDownRectangle", IDC_PLAY, {4, 12, 18, 4}, false},
    {"NoDeviceContext", IDC_PLAY, {0, 0, 16, 16}, true},
};

class ButtonIgnored : public ::testing::TestWithParam<IgnoredCase> {
protected:
    void SetUp() override { loadButtonBitmaps(); }
};

TEST_P(ButtonIgnored, LeavesTheSurfaceAlone)
{
    const IgnoredCase &c = GetParam();
    Surface surface(20, 20);
    ASSERT_TRUE(surface.ready());
    DRAWITEMSTRUCT item = itemFor(c.control, 0, c.withoutDc ? nullptr : surface.dc(), c.rect);
    drawButton(&item);
    drawButton(nullptr);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(surface.at(x, y), ground) << "at (" << x << ", " << y << ")";
}

INSTANTIATE_TEST_SUITE_P(Panel, ButtonIgnored, ::testing::ValuesIn(ignored),
                         [](const ::testing::TestParamInfo<IgnoredCase> &info) { return std::string(info.param.name); });

// --- The real panel ----------------------------------------------------

class PanelButtons : public maintest::MainWindowTest {
protected:
    // Has the button paint itself into a surface of its client size, as it
    // does on the screen: the button asks the main window to draw it.
    void expectButtonShows(int control, int bitmapId)
    {
        HWND button = GetDlgItem(mainWindow, control);
        ASSERT_TRUE(button);
        RECT client;
        ASSERT_TRUE(GetClientRect(button, &client));
        ASSERT_GT(client.right, 0);
        ASSERT_GT(client.bottom, 0);
        Surface surface(client.right, client.bottom);
        ASSERT_TRUE(surface.ready());
        SendMessageA(button, WM_PRINTCLIENT, (WPARAM)surface.dc(), PRF_CLIENT);

        int x = client.right > faceSize ? (client.right - faceSize) / 2 : 0;
        int y = client.bottom > faceSize ? (client.bottom - faceSize) / 2 : 0;
        int width = client.right < faceSize ? client.right : faceSize;
        int height = client.bottom < faceSize ? client.bottom : faceSize;
        Surface expected(client.right, client.bottom);
        ASSERT_TRUE(expected.ready());
        stretchFace(expected.dc(), bitmapId, x, y, width, height);
        int wrong = 0;
        std::string first;
        for (int py = y; py < y + height; ++py)
            for (int px = x; px < x + width; ++px)
                if (surface.at(px, py) != expected.at(px, py) && wrong++ == 0)
                    first = pixelText(px, py, surface.at(px, py), expected.at(px, py));
        EXPECT_EQ(wrong, 0) << "button " << control << " (" << client.right << " x " << client.bottom
                            << "): " << wrong << " pixels differ from bitmap " << bitmapId << ", the first at "
                            << first;
    }
};

TEST_F(PanelButtons, ShowTheirFacesForTheirStates)
{
    ASSERT_TRUE(start());
    // No disc: the transport is disabled.
    EnableWindow(GetDlgItem(mainWindow, IDC_PLAY), FALSE);
    expectButtonShows(IDC_PLAY, IDB_PLAY_DISABLED);
    EnableWindow(GetDlgItem(mainWindow, IDC_STOP), TRUE);
    expectButtonShows(IDC_STOP, IDB_STOP);
    hold(IDC_STOP, true);
    expectButtonShows(IDC_STOP, IDB_STOP_PUSHED);
    hold(IDC_STOP, false);
    expectButtonShows(IDC_STOP, IDB_STOP);
    EnableWindow(GetDlgItem(mainWindow, IDC_VOLUME_DOWN), TRUE);
    hold(IDC_VOLUME_DOWN, true);
    expectButtonShows(IDC_VOLUME_DOWN, IDB_VOLUME_DOWN_PUSHED);
    hold(IDC_VOLUME_DOWN, false);
}

TEST_F(PanelButtons, OwnerDrawRequestsReachTheButtonDrawing)
{
    ASSERT_TRUE(start());
    Surface surface(16, 16);
    ASSERT_TRUE(surface.ready());
    DRAWITEMSTRUCT item = itemFor(IDC_NEXT, ODS_SELECTED, surface.dc(), RECT{0, 0, 16, 16});
    item.hwndItem = GetDlgItem(mainWindow, IDC_NEXT);
    EXPECT_EQ(procResult(WM_DRAWITEM, IDC_NEXT, (LPARAM)&item), 1);
    expectFaceAt(surface, faceOf(IDB_NEXT_PUSHED), 1, 1);
}

} // namespace
