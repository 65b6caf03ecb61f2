// msgbox.cpp - message boxes, through one function so that tests can answer them.
#include "ui/msgbox.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex hookLock;
MessageHook messageHook;
}

int showMessage(HWND owner, const char *text, const char *caption, UINT flags)
{
    MessageHook hook;
    {
        std::lock_guard<std::mutex> guard(hookLock);
        hook = messageHook;
    }
    if (hook)
        return hook(owner, text, caption, flags);
    return MessageBoxA(owner, text, caption, flags);
}

void setMessageHook(MessageHook hook)
{
    std::lock_guard<std::mutex> guard(hookLock);
    messageHook = std::move(hook);
}

void lastErrorText(char *buffer, size_t size)
{
    if (!buffer || size == 0)
        return;
    DWORD error = GetLastError();
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                             buffer, (DWORD)size, nullptr);
    if (n == 0)
        snprintf(buffer, size, "error %lu", (unsigned long)error);
    else
        while (n > 0 && (buffer[n - 1] == '\r' || buffer[n - 1] == '\n' || buffer[n - 1] == ' '))
            buffer[--n] = 0;
}
