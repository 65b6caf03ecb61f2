// sender.h - letting go of the thread that sent the message being handled.
#ifndef CORE_SENDER_H
#define CORE_SENDER_H

// When the message came from SendMessage on another thread, replies 1 now,
// so that the sender goes on while the handler is still at work.
void releaseSender();

#endif
