// controltext.h - the text of a dialog's control as a string.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// The text of control id in dialog, cut to at most limit characters; empty
// when the control is missing or holds nothing.
std::string controlText(HWND dialog, int id, size_t limit = (size_t)-1);
