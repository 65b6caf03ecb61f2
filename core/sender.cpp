// sender.cpp - the early reply of sender.h.
#include "core/sender.h"

#include <windows.h>

void releaseSender()
{
    if (InSendMessage())
        ReplyMessage(1);
}
