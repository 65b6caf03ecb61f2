// The control panel's bitmap buttons: each button draws its own normal,
// pushed or disabled face by the item state, pixel for pixel as the
// resources hold it; centred in a larger rectangle, shrunk whole into a
// smaller one, never outside the rectangle; and the real panel's buttons
// paint through the main window's owner-draw handler.
#include "app/mainfixture.h"
#include "tests/ui/panelsurface.h"

#include "res/resource.h"
#include "ui/panel.h"

#include <set>
#include <string>
#include <vector>

using paneltest::differences;
using paneltest::Surface;

namespace {

const int faceSize = 14;
const DWORD lightGrey = 0xC0C0C0;   // the faces' plain button colour

// What the panel must show: the resource bitmap put by GDI itself at
// (x, y) in the size given, on the ground colour.
void paintFace(Surface &surface, int bitmapId, int x, int y, int width = faceSize, int height = faceSize)
{
    HBITMAP bitmap = (HBITMAP)LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0,
                                         LR_CREATEDIBSECTION);
    ASSERT_TRUE(bitmap) << "bitmap " << bitmapId;
    HDC source = CreateCompatibleDC(surface.dc());
    HGDIOBJ previous = SelectObject(source, bitmap);
    SetStretchBltMode(surface.dc(), COLORONCOLOR);
    StretchBlt(surface.dc(), x, y, width, height, source, 0, 0, faceSize, faceSize, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(bitmap);
}

// Draws control `control` in `state` into `surface` through drawButton.
void drawInto(Surface &surface, int control, UINT state, RECT rect)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = control;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hDC = surface.dc();
    item.rcItem = rect;
    drawButton(&item);
}

struct ButtonCase {
    const char *name;
    int control;
    int faces[3];   // normal, pushed, disabled
};

const ButtonCase buttons[] = {
    {"Play", IDC_PLAY, {IDB_PLAY, IDB_PLAY_PUSHED, IDB_PLAY_DISABLED}},
    {"Pause", IDC_PAUSE, {IDB_PAUSE, IDB_PAUSE_PUSHED, IDB_PAUSE_DISABLED}},
    {"Stop", IDC_STOP, {IDB_STOP, IDB_STOP_PUSHED, IDB_STOP_DISABLED}},
    {"Previous", IDC_PREVIOUS, {IDB_PREVIOUS, IDB_PREVIOUS_PUSHED, IDB_PREVIOUS_DISABLED}},
    {"Next", IDC_NEXT, {IDB_NEXT, IDB_NEXT_PUSHED, IDB_NEXT_DISABLED}},
    {"Eject", IDC_EJECT, {IDB_EJECT, IDB_EJECT_PUSHED, IDB_EJECT_DISABLED}},
    {"VolumeUp", IDC_VOLUME_UP, {IDB_VOLUME_UP, IDB_VOLUME_UP_PUSHED, IDB_VOLUME_UP_DISABLED}},
    {"VolumeDown", IDC_VOLUME_DOWN, {IDB_VOLUME_DOWN, IDB_VOLUME_DOWN_PUSHED, IDB_VOLUME_DOWN_DISABLED}},
};

enum { Normal, Pushed, Disabled };

// Pushed wins over disabled; focus and the other bits change nothing.
const struct {
    const char *name;
    UINT itemState;
    int face;
} states[] = {
    {"plain", 0, Normal},
    {"focused", ODS_FOCUS, Normal},
    {"grayed", ODS_GRAYED, Normal},
    {"selected", ODS_SELECTED, Pushed},
    {"selected and focused", ODS_SELECTED | ODS_FOCUS, Pushed},
    {"selected and disabled", ODS_SELECTED | ODS_DISABLED, Pushed},
    {"disabled", ODS_DISABLED, Disabled},
    {"disabled and focused", ODS_DISABLED | ODS_FOCUS, Disabled},
};

class ButtonFace : public ::testing::TestWithParam<ButtonCase> {
protected:
    void SetUp() override { loadButtonBitmaps(); }
};

TEST_P(ButtonFace, EachItemStateDrawsItsOwnFace)
{
    const ButtonCase &b = GetParam();
    for (const auto &s : states) {
        SCOPED_TRACE(std::string(b.name) + ", " + s.name);
        Surface seen(20, 18), expected(20, 18);
        ASSERT_TRUE(seen.ready() && expected.ready());
        drawInto(seen, b.control, s.itemState, RECT{3, 2, 17, 16});
        paintFace(expected, b.faces[s.face], 3, 2);
        EXPECT_EQ(differences(seen, expected), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Panel, ButtonFace, ::testing::ValuesIn(buttons),
                         [](const ::testing::TestParamInfo<ButtonCase> &info) { return std::string(info.param.name); });

TEST(ButtonFaces, DifferFromEachOther)
{
    // Otherwise the face tests above could not tell one face from another.
    std::set<std::vector<DWORD>> seen;
    for (const ButtonCase &b : buttons)
        for (int id : b.faces) {
            Surface face(faceSize, faceSize);
            ASSERT_TRUE(face.ready());
            paintFace(face, id, 0, 0);
            std::vector<DWORD> pixels;
            for (int y = 0; y < faceSize; ++y)
                for (int x = 0; x < faceSize; ++x)
                    pixels.push_back(face.at(x, y));
            EXPECT_TRUE(seen.insert(pixels).second) << "bitmap " << id << " repeats another";
        }
}

// --- Where the face goes ------------------------------------------------

struct PlaceCase {
    const char *name;
    RECT rect;
    int x, y, width, height;   // where the face is drawn, and its size
};

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

class ButtonPlace : public ::testing::TestWithParam<PlaceCase> {
protected:
    void SetUp() override { loadButtonBitmaps(); }
};

TEST_P(ButtonPlace, DrawsTheWholeFaceInsideTheRectangle)
{
    const PlaceCase &c = GetParam();
    Surface seen(24, 24), expected(24, 24);
    ASSERT_TRUE(seen.ready() && expected.ready());
    drawInto(seen, IDC_STOP, 0, c.rect);
    paintFace(expected, IDB_STOP, c.x, c.y, c.width, c.height);
    EXPECT_EQ(differences(seen, expected), "");

    // Shrunk, not cut: the far edges still show the face's dark frame,
    // where a cut-off corner would show the plain light-grey face.
    for (int x = c.x; c.height < faceSize && x < c.x + c.width; ++x)
        EXPECT_NE(seen.at(x, c.y + c.height - 1), lightGrey) << "bottom row at x " << x;
    for (int y = c.y; c.width < faceSize && y < c.y + c.height; ++y)
        EXPECT_NE(seen.at(c.x + c.width - 1, y), lightGrey) << "right column at y " << y;
}

INSTANTIATE_TEST_SUITE_P(Panel, ButtonPlace, ::testing::ValuesIn(places),
                         [](const ::testing::TestParamInfo<PlaceCase> &info) { return std::string(info.param.name); });

// --- Requests that draw nothing ------------------------------------------

struct IgnoredCase {
    const char *name;
    int control;
    RECT rect;
};

const IgnoredCase ignored[] = {
    {"TheVolumeBar", IDC_VOLUME_BAR, {0, 0, 16, 16}},
    {"TheDriveLabel", IDC_DRIVE_LABEL, {0, 0, 16, 16}},
    {"AnUnknownControl", 4242, {0, 0, 16, 16}},
    {"AnEmptyRectangle", IDC_PLAY, {4, 4, 4, 16}},
    {"AnUpsideDownRectangle", IDC_PLAY, {4, 12, 18, 4}},
};

class ButtonIgnored : public ::testing::TestWithParam<IgnoredCase> {
protected:
    void SetUp() override { loadButtonBitmaps(); }
};

TEST_P(ButtonIgnored, LeavesTheSurfaceAlone)
{
    const IgnoredCase &c = GetParam();
    Surface seen(20, 20), untouched(20, 20);
    ASSERT_TRUE(seen.ready() && untouched.ready());
    drawInto(seen, c.control, 0, c.rect);
    drawButton(nullptr);
    EXPECT_EQ(differences(seen, untouched), "");
}

INSTANTIATE_TEST_SUITE_P(Panel, ButtonIgnored, ::testing::ValuesIn(ignored),
                         [](const ::testing::TestParamInfo<IgnoredCase> &info) { return std::string(info.param.name); });

// --- The real panel ------------------------------------------------------

class PanelButtons : public maintest::MainWindowTest {
protected:
    // Has the button paint itself into a surface of its client size, as on
    // the screen: the button asks the main window to draw it.
    void expectButtonShows(int control, int bitmapId)
    {
        HWND button = GetDlgItem(mainWindow, control);
        RECT client = {};
        ASSERT_TRUE(button && GetClientRect(button, &client));
        int w = client.right, h = client.bottom;
        Surface seen(w, h), expected(w, h);
        ASSERT_TRUE(seen.ready() && expected.ready());
        SendMessageA(button, WM_PRINTCLIENT, (WPARAM)seen.dc(), PRF_CLIENT);
        int x = w > faceSize ? (w - faceSize) / 2 : 0, y = h > faceSize ? (h - faceSize) / 2 : 0;
        RECT face = {x, y, x + (w < faceSize ? w : faceSize), y + (h < faceSize ? h : faceSize)};
        paintFace(expected, bitmapId, face.left, face.top, face.right - face.left, face.bottom - face.top);
        // Only the face: the button's margin around it is the erase's.
        EXPECT_EQ(differences(seen, expected, face), "") << "button " << control << ", " << w << " x " << h;
    }
};

TEST_F(PanelButtons, ShowTheirFacesForTheirStates)
{
    ASSERT_TRUE(start());
    EnableWindow(GetDlgItem(mainWindow, IDC_PLAY), FALSE);
    expectButtonShows(IDC_PLAY, IDB_PLAY_DISABLED);
    EnableWindow(GetDlgItem(mainWindow, IDC_STOP), TRUE);
    expectButtonShows(IDC_STOP, IDB_STOP);
    hold(IDC_STOP, true);
    expectButtonShows(IDC_STOP, IDB_STOP_PUSHED);
    hold(IDC_STOP, false);
    expectButtonShows(IDC_STOP, IDB_STOP);
    EnableWindow(GetDlgItem(mainWindow, IDC_VOLUME_DOWN), FALSE);
    hold(IDC_VOLUME_DOWN, true);
    expectButtonShows(IDC_VOLUME_DOWN, IDB_VOLUME_DOWN_PUSHED);
}

TEST_F(PanelButtons, OwnerDrawRequestsReachTheButtonDrawing)
{
    ASSERT_TRUE(start());
    Surface seen(16, 16), expected(16, 16);
    ASSERT_TRUE(seen.ready() && expected.ready());
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDC_NEXT;
    item.itemState = ODS_SELECTED;
    item.hwndItem = GetDlgItem(mainWindow, IDC_NEXT);
    item.hDC = seen.dc();
    item.rcItem = RECT{0, 0, 16, 16};
    EXPECT_EQ(procResult(WM_DRAWITEM, IDC_NEXT, (LPARAM)&item), 1);
    paintFace(expected, IDB_NEXT_PUSHED, 1, 1);
    EXPECT_EQ(differences(seen, expected), "");
}

} // namespace
