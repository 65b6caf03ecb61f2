// panelsurface.h - a memory drawing surface for the control panel's drawing
// tests: a 24-bit top-down section selected into a memory DC, painted with
// a ground colour before the drawing, read back pixel by pixel after it.
#ifndef TESTS_UI_PANELSURFACE_H
#define TESTS_UI_PANELSURFACE_H

#include <windows.h>

#include <cstdio>
#include <string>

namespace paneltest {

// Left alone by the panel's drawing wherever it does not paint.
const DWORD ground = 0x123456;

class Surface {
public:
    Surface(int width, int height) : width_(width), height_(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        dc_ = CreateCompatibleDC(nullptr);
        if (dc_)
            section_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (section_ && bits_) {
            previous_ = SelectObject(dc_, section_);
            fill(RECT{0, 0, width, height}, ground);
        }
    }
    ~Surface()
    {
        if (previous_)
            SelectObject(dc_, previous_);
        if (section_)
            DeleteObject(section_);
        if (dc_)
            DeleteDC(dc_);
    }
    Surface(const Surface &) = delete;
    Surface &operator=(const Surface &) = delete;

    bool ready() const { return dc_ && section_ && bits_ && previous_; }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // The pixel as 0xRRGGBB.
    DWORD at(int x, int y) const
    {
        GdiFlush();
        const BYTE *p = row(y) + x * 3;
        return (DWORD)p[2] << 16 | (DWORD)p[1] << 8 | p[0];
    }

    // Paints the rectangle's pixels directly, without GDI.
    void fill(RECT r, DWORD rgb)
    {
        GdiFlush();
        for (int y = r.top < 0 ? 0 : r.top; y < r.bottom && y < height_; ++y)
            for (int x = r.left < 0 ? 0 : r.left; x < r.right && x < width_; ++x)
                set(x, y, rgb);
    }

private:
    int stride() const { return (width_ * 3 + 3) & ~3; }
    BYTE *row(int y) const { return (BYTE *)bits_ + (size_t)y * stride(); }
    void set(int x, int y, DWORD rgb)
    {
        BYTE *p = row(y) + x * 3;
        p[0] = (BYTE)rgb;
        p[1] = (BYTE)(rgb >> 8);
        p[2] = (BYTE)(rgb >> 16);
    }

    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP section_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void *bits_ = nullptr;
};

// How many pixels of two surfaces of one size differ within `area`, and
// the first one: empty when they are the same.
inline std::string differences(const Surface &seen, const Surface &expected, RECT area)
{
    int count = 0;
    char first[80] = "";
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (seen.at(x, y) != expected.at(x, y) && count++ == 0)
                snprintf(first, sizeof first, "(%d, %d) is %06lX, not %06lX", x, y, (unsigned long)seen.at(x, y),
                         (unsigned long)expected.at(x, y));
    if (count == 0)
        return "";
    return std::to_string(count) + " pixels differ, the first " + first;
}

// The same over the whole surface.
inline std::string differences(const Surface &seen, const Surface &expected)
{
    return differences(seen, expected, RECT{0, 0, seen.width(), seen.height()});
}

} // namespace paneltest

#endif
