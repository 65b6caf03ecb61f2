// controltext.cpp - reading a control's text whatever its length.
#include "ui/controltext.h"

std::string controlText(HWND dialog, int id, size_t limit)
{
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthA(control);
    if (length <= 0)
        return std::string();
    std::string text((size_t)length + 1, '\0');
    int got = GetWindowTextA(control, &text[0], length + 1);
    text.resize(got > 0 ? (size_t)got : 0);
    if (text.size() > limit)
        text.resize(limit);
    return text;
}
