// panelbuttons.cpp - the control panel's bitmap buttons: the three faces of
// each button (normal, pushed, disabled), loaded once, and the owner-draw
// request that copies the right face into the button.
#include "core/appstate.h"
#include "res/resource.h"
#include "ui/panel.h"

namespace {

// The faces are square pictures of this many pixels.
const int faceSize = 14;

enum Face { FaceNormal, FacePushed, FaceDisabled, FaceCount };

struct ButtonFaces {
    int control;
    int bitmapIds[FaceCount];
};

const ButtonFaces buttonFaces[] = {
    {IDC_PLAY, {IDB_PLAY, IDB_PLAY_PUSHED, IDB_PLAY_DISABLED}},
    {IDC_PAUSE, {IDB_PAUSE, IDB_PAUSE_PUSHED, IDB_PAUSE_DISABLED}},
    {IDC_STOP, {IDB_STOP, IDB_STOP_PUSHED, IDB_STOP_DISABLED}},
    {IDC_PREVIOUS, {IDB_PREVIOUS, IDB_PREVIOUS_PUSHED, IDB_PREVIOUS_DISABLED}},
    {IDC_NEXT, {IDB_NEXT, IDB_NEXT_PUSHED, IDB_NEXT_DISABLED}},
    {IDC_EJECT, {IDB_EJECT, IDB_EJECT_PUSHED, IDB_EJECT_DISABLED}},
    {IDC_VOLUME_UP, {IDB_VOLUME_UP, IDB_VOLUME_UP_PUSHED, IDB_VOLUME_UP_DISABLED}},
    {IDC_VOLUME_DOWN, {IDB_VOLUME_DOWN, IDB_VOLUME_DOWN_PUSHED, IDB_VOLUME_DOWN_DISABLED}},
};
const int buttonCount = sizeof buttonFaces / sizeof buttonFaces[0];

// The loaded faces, in the order of buttonFaces. They live as long as the
// process; this holder is their one owner and gives them back at exit.
struct FaceBitmaps {
    HBITMAP bitmaps[buttonCount][FaceCount] = {};
    bool loaded = false;
    ~FaceBitmaps()
    {
        for (auto &button : bitmaps)
            for (HBITMAP &bitmap : button)
                if (bitmap) {
                    DeleteObject(bitmap);
                    bitmap = nullptr;
                }
    }
};
FaceBitmaps faces;

int buttonIndex(UINT control)
{
    for (int i = 0; i < buttonCount; ++i)
        if ((UINT)buttonFaces[i].control == control)
            return i;
    return -1;
}

Face faceFor(UINT itemState)
{
    if (itemState & ODS_SELECTED)
        return FacePushed;
    if (itemState & ODS_DISABLED)
        return FaceDisabled;
    return FaceNormal;
}

} // namespace

void loadButtonBitmaps()
{
    if (faces.loaded)
        return;
    // Kept as 16-colour sections rather than screen bitmaps: the faces then
    // show their own colours on any display depth.
    for (int i = 0; i < buttonCount; ++i)
        for (int f = 0; f < FaceCount; ++f)
            faces.bitmaps[i][f] = (HBITMAP)LoadImageA(instanceHandle, MAKEINTRESOURCEA(buttonFaces[i].bitmapIds[f]),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    faces.loaded = true;
}

void drawButton(const DRAWITEMSTRUCT *item)
{
    if (!item || !item->hDC)
        return;
    int index = buttonIndex(item->CtlID);
    if (index < 0)
        return;
    HBITMAP bitmap = faces.bitmaps[index][faceFor(item->itemState)];
    if (!bitmap)
        return;

    // Centred in a larger rectangle; a smaller one gets the whole face
    // shrunk to fit rather than a cut-off corner of it.
    int width = item->rcItem.right - item->rcItem.left;
    int height = item->rcItem.bottom - item->rcItem.top;
    if (width <= 0 || height <= 0)
        return;
    int x = item->rcItem.left + (width > faceSize ? (width - faceSize) / 2 : 0);
    int y = item->rcItem.top + (height > faceSize ? (height - faceSize) / 2 : 0);
    int drawnWidth = width < faceSize ? width : faceSize;
    int drawnHeight = height < faceSize ? height : faceSize;

    HDC source = CreateCompatibleDC(item->hDC);
    if (!source)
        return;
    HGDIOBJ previous = SelectObject(source, bitmap);
    if (drawnWidth == faceSize && drawnHeight == faceSize) {
        BitBlt(item->hDC, x, y, faceSize, faceSize, source, 0, 0, SRCCOPY);
    } else {
        // Whole pixels of the face, dropped rather than blended: the faces
        // are pixel art, and ANDing rows together would blacken the edges.
        int oldMode = SetStretchBltMode(item->hDC, COLORONCOLOR);
        StretchBlt(item->hDC, x, y, drawnWidth, drawnHeight, source, 0, 0, faceSize, faceSize, SRCCOPY);
        if (oldMode)
            SetStretchBltMode(item->hDC, oldMode);
    }
    SelectObject(source, previous);
    DeleteDC(source);
}
