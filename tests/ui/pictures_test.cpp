// The pictures linked into the program: every icon and button bitmap is
// present with the size and colour depth the tray and the panel draw with,
// and each shows what its id promises (the state marks on the disc, the
// pushed and disabled button faces). The About box shows the disc icon.
#include "res/resource.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// The icon file's directory as stored in RT_GROUP_ICON.
#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD iconId;
};
struct GroupIconDirectory {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

HMODULE module()
{
    return GetModuleHandleA(nullptr);
}

const void *resourceData(int id, LPCSTR type, DWORD *size)
{
    HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(id), type);
    if (!found)
        return nullptr;
    *size = SizeofResource(module(), found);
    HGLOBAL loaded = LoadResource(module(), found);
    return loaded ? LockResource(loaded) : nullptr;
}

// A picture's pixels as 0xRRGGBB, row by row from the top.
struct Pixels {
    int width = 0, height = 0;
    std::vector<DWORD> rgb;
    DWORD at(int x, int y) const { return rgb[y * width + x]; }
    int count(DWORD colour, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) const
    {
        int n = 0;
        for (int y = y0; y <= (y1 < 0 ? height - 1 : y1); ++y)
            for (int x = x0; x <= (x1 < 0 ? width - 1 : x1); ++x)
                n += at(x, y) == colour;
        return n;
    }
};

const DWORD black = 0x000000, red = 0xFF0000, white = 0xFFFFFF, darkGrey = 0x808080;
// Drawn under icons: where it shows through, the icon is transparent.
const DWORD ground = 0x123456;

// Draws into a 32-bit top-down section and reads the pixels back.
Pixels render(int width, int height, const std::function<void(HDC)> &draw)
{
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc || !section || !bits) {
        ADD_FAILURE() << "cannot make a drawing surface";
        if (section)
            DeleteObject(section);
        if (dc)
            DeleteDC(dc);
        return pixels;
    }
    HGDIOBJ previous = SelectObject(dc, section);
    DWORD *cells = (DWORD *)bits;
    for (int i = 0; i < width * height; ++i)
        cells[i] = ground;
    draw(dc);
    GdiFlush();
    for (int i = 0; i < width * height; ++i)
        pixels.rgb.push_back(cells[i] & 0xFFFFFF);
    SelectObject(dc, previous);
    DeleteObject(section);
    DeleteDC(dc);
    return pixels;
}

// --- Icons -------------------------------------------------------------

struct IconCase {
    int id;
    const char *name;
    int blackMarks;   // as drawn in res/pictures/trayicons.pix and arrows.pix
    int redMarks;
    bool disc;
    bool holeShows;   // the mark leaves the disc's hole open
};

class Icon : public ::testing::TestWithParam<IconCase> {};

TEST_P(Icon, IsOne16By16PictureIn16Colours)
{
    const IconCase &c = GetParam();
    DWORD size = 0;
    const GroupIconDirectory *group = (const GroupIconDirectory *)resourceData(c.id, RT_GROUP_ICON, &size);
    ASSERT_TRUE(group) << c.name << " (" << c.id << ") is not in the resources";
    ASSERT_GE(size, sizeof(GroupIconDirectory));
    ASSERT_EQ(group->count, 1) << c.name;
    const GroupIconEntry &entry = group->entries[0];
    EXPECT_EQ(entry.width, 16);
    EXPECT_EQ(entry.height, 16);
    EXPECT_EQ(entry.colours, 16);
    EXPECT_EQ(entry.bitCount, 4);

    const BITMAPINFOHEADER *image = (const BITMAPINFOHEADER *)resourceData(entry.iconId, RT_ICON, &size);
    ASSERT_TRUE(image);
    ASSERT_GE(size, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(image->biWidth, 16);
    EXPECT_EQ(image->biHeight, 32) << "colour rows and mask rows";
    EXPECT_EQ(image->biBitCount, 4);

    HICON icon = (HICON)LoadImageA(module(), MAKEINTRESOURCEA(c.id), IMAGE_ICON, 0, 0, 0);
    ASSERT_TRUE(icon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof colour, &colour));
    EXPECT_EQ(colour.bmWidth, 16);
    EXPECT_EQ(colour.bmHeight, 16);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

TEST_P(Icon, ShowsItsMarkOnATransparentGround)
{
    const IconCase &c = GetParam();
    HICON icon = (HICON)LoadImageA(module(), MAKEINTRESOURCEA(c.id), IMAGE_ICON, 16, 16, 0);
    ASSERT_TRUE(icon);
    Pixels pixels = render(16, 16, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL); });
    DestroyIcon(icon);
    ASSERT_EQ(pixels.rgb.size(), 256u);
    for (auto corner : {std::make_pair(0, 0), std::make_pair(15, 0), std::make_pair(0, 15), std::make_pair(15, 15)})
        EXPECT_EQ(pixels.at(corner.first, corner.second), ground) << c.name << ": corner not transparent";
    EXPECT_EQ(pixels.count(black), c.blackMarks) << c.name;
    EXPECT_EQ(pixels.count(red), c.redMarks) << c.name;
    if (c.disc) {
        // The disc's rim.
        EXPECT_EQ(pixels.at(0, 7), darkGrey) << c.name;
        EXPECT_EQ(pixels.at(15, 8), darkGrey) << c.name;
    }
    if (c.holeShows) {
        EXPECT_EQ(pixels.at(8, 8), ground) << c.name << ": the hole should show the ground";
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, Icon,
                         ::testing::Values(IconCase{IDI_CD_PLAIN, "plain disc", 0, 0, true, true},
                                           IconCase{IDI_CD_PLAYING, "disc with a note", 22, 0, true, true},
                                           IconCase{IDI_CD_PAUSED, "disc with pause bars", 32, 0, true, true},
                                           IconCase{IDI_CD_STOPPED, "disc with a square", 36, 0, true, false},
                                           IconCase{IDI_CD_NONE, "disc with a red cross", 0, 52, true, false},
                                           IconCase{IDI_ARROW_UP, "up arrow", 16, 0, false, false},
                                           IconCase{IDI_ARROW_DOWN, "down arrow", 16, 0, false, false}),
                         [](const ::testing::TestParamInfo<IconCase> &info) { return std::to_string(info.param.id); });

TEST(IconShape, ArrowsPointUpAndDown)
{
    auto widestRow = [](int id) {
        HICON icon = (HICON)LoadImageA(module(), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0);
        Pixels pixels = render(16, 16, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL); });
        DestroyIcon(icon);
        int best = -1, bestCount = 0, first = -1;
        for (int y = 0; y < 16; ++y) {
            int n = pixels.count(black, 0, y, 15, y);
            if (n > 0 && first < 0)
                first = y;
            if (n > bestCount)
                best = y, bestCount = n;
        }
        return std::make_pair(first, best);
    };
    auto up = widestRow(IDI_ARROW_UP);
    auto down = widestRow(IDI_ARROW_DOWN);
    EXPECT_GT(up.second, up.first) << "the up arrow's base is below its tip";
    EXPECT_EQ(down.second, down.first) << "the down arrow's base is on top";
}

// --- Button bitmaps ----------------------------------------------------

struct ButtonCase {
    const char *name;
    int normal, pushed, disabled;
};

Pixels bitmapPixels(int id)
{
    HBITMAP bitmap = (HBITMAP)LoadImageA(module(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0);
    if (!bitmap) {
        ADD_FAILURE() << "bitmap " << id << " does not load";
        return Pixels();
    }
    Pixels pixels = render(14, 14, [&](HDC dc) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(source, bitmap);
        BitBlt(dc, 0, 0, 14, 14, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
    });
    DeleteObject(bitmap);
    return pixels;
}

class ButtonBitmaps : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(ButtonBitmaps, Are14By14In16Colours)
{
    const ButtonCase &c = GetParam();
    for (int id : {c.normal, c.pushed, c.disabled}) {
        SCOPED_TRACE(std::string(c.name) + " bitmap " + std::to_string(id));
        DWORD size = 0;
        const BITMAPINFOHEADER *header = (const BITMAPINFOHEADER *)resourceData(id, RT_BITMAP, &size);
        ASSERT_TRUE(header) << "not in the resources";
        ASSERT_GE(size, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(header->biWidth, 14);
        EXPECT_EQ(header->biHeight, 14);
        EXPECT_EQ(header->biBitCount, 4);
        EXPECT_TRUE(header->biClrUsed == 16 || header->biClrUsed == 0);

        HBITMAP bitmap = (HBITMAP)LoadImageA(module(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        ASSERT_TRUE(bitmap);
        DIBSECTION section = {};
        ASSERT_EQ(GetObjectA(bitmap, sizeof section, &section), (int)sizeof section);
        EXPECT_EQ(section.dsBm.bmWidth, 14);
        EXPECT_EQ(section.dsBm.bmHeight, 14);
        EXPECT_EQ(section.dsBmih.biBitCount, 4);
        DeleteObject(bitmap);
    }
}

TEST_P(ButtonBitmaps, ShowTheRaisedPressedAndGreyedFaces)
{
    const ButtonCase &c = GetParam();
    Pixels normal = bitmapPixels(c.normal), pushed = bitmapPixels(c.pushed), disabled = bitmapPixels(c.disabled);
    ASSERT_FALSE(normal.rgb.empty() || pushed.rgb.empty() || disabled.rgb.empty());
    // Raised: light top-left edge, black bottom-right edge, a black symbol.
    EXPECT_EQ(normal.at(0, 0), white) << c.name;
    EXPECT_EQ(normal.at(13, 13), black) << c.name;
    int symbol = normal.count(black, 1, 1, 11, 11);
    EXPECT_GT(symbol, 4) << c.name << ": no symbol on the normal face";
    // Pressed: dark top-left edge, light bottom-right, the same symbol.
    EXPECT_EQ(pushed.at(0, 0), black) << c.name;
    EXPECT_EQ(pushed.at(13, 13), white) << c.name;
    EXPECT_EQ(pushed.count(black, 2, 2, 12, 12), symbol) << c.name << ": the symbol moves, it does not change";
    // Greyed: a raised face whose symbol has no black left.
    EXPECT_EQ(disabled.at(0, 0), white) << c.name;
    EXPECT_EQ(disabled.at(13, 13), black) << c.name;
    EXPECT_EQ(disabled.count(black, 1, 1, 11, 11), 0) << c.name;
    EXPECT_GE(disabled.count(darkGrey, 1, 1, 11, 11), symbol) << c.name;
}

const ButtonCase buttons[] = {
    {"play", IDB_PLAY, IDB_PLAY_PUSHED, IDB_PLAY_DISABLED},
    {"pause", IDB_PAUSE, IDB_PAUSE_PUSHED, IDB_PAUSE_DISABLED},
    {"stop", IDB_STOP, IDB_STOP_PUSHED, IDB_STOP_DISABLED},
    {"previous", IDB_PREVIOUS, IDB_PREVIOUS_PUSHED, IDB_PREVIOUS_DISABLED},
    {"next", IDB_NEXT, IDB_NEXT_PUSHED, IDB_NEXT_DISABLED},
    {"eject", IDB_EJECT, IDB_EJECT_PUSHED, IDB_EJECT_DISABLED},
    {"volume_up", IDB_VOLUME_UP, IDB_VOLUME_UP_PUSHED, IDB_VOLUME_UP_DISABLED},
    {"volume_down", IDB_VOLUME_DOWN, IDB_VOLUME_DOWN_PUSHED, IDB_VOLUME_DOWN_DISABLED},
};

INSTANTIATE_TEST_SUITE_P(Pictures, ButtonBitmaps, ::testing::ValuesIn(buttons),
                         [](const ::testing::TestParamInfo<ButtonCase> &info) { return std::string(info.param.name); });

TEST(ButtonSymbols, EveryButtonHasItsOwnSymbol)
{
    for (size_t i = 0; i < sizeof buttons / sizeof buttons[0]; ++i)
        for (size_t j = i + 1; j < sizeof buttons / sizeof buttons[0]; ++j)
            EXPECT_NE(bitmapPixels(buttons[i].normal).rgb, bitmapPixels(buttons[j].normal).rgb)
                << buttons[i].name << " and " << buttons[j].name << " look the same";
}

// --- About box ---------------------------------------------------------

INT_PTR CALLBACK plainDialog(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

TEST(AboutBox, ShowsThePlayingDisc)
{
    HWND about = CreateDialogParamA(module(), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, plainDialog, 0);
    ASSERT_TRUE(about);
    HWND picture = GetDlgItem(about, IDC_ABOUT_ICON);
    ASSERT_TRUE(picture);
    EXPECT_EQ(GetWindowLongA(picture, GWL_STYLE) & SS_TYPEMASK, SS_ICON);
    EXPECT_TRUE(SendMessageA(picture, STM_GETICON, 0, 0)) << "the icon control shows no icon";
    RECT iconPlace, namePlace;
    GetWindowRect(picture, &iconPlace);
    GetWindowRect(GetDlgItem(about, IDC_ABOUT_NAME), &namePlace);
    EXPECT_LT(iconPlace.right, namePlace.left) << "the icon stands left of the program's name";
    DestroyWindow(about);
}

} // namespace
