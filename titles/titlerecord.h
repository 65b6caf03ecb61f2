// titlerecord.h - the title record of a disc (artist, titles, notes, the
// programmed order) and the few operations every part of the program shares
// on it. The record itself is declared in platter/platter.h because the
// title database reads and writes the same layout.
//
// Ownership: a drive's record owns every text and array hanging from it.
// They all come from titleAlloc/titleCopyText and go back through titleFree,
// so that whoever replaces a text can release the old one, and so that a
// disc leaving its drive leaves nothing behind.
#ifndef TITLES_TITLERECORD_H
#define TITLES_TITLERECORD_H

#include "platter/platter.h"

#include <cstddef>

// A zero-filled block of count elements of size bytes; null when out of
// memory or when count is not positive.
void *titleAlloc(size_t count, size_t size);
// A fresh copy of text (an empty text gives an empty copy); null for null.
char *titleCopyText(const char *text);
// Releases a block from titleAlloc or titleCopyText; null is ignored.
void titleFree(void *block);
// Blocks handed out and not yet released (for diagnostics and tests).
long titleBlocksInUse();

// Replaces an owned text: the old one is released; a present, non-empty
// source is copied, an empty or absent one leaves the field null.
void setText(char *&field, const char *source);

// True when the record holds any text: artist, disc title, disc text, or a
// title or text of one of its tracks. An empty but present text counts.
bool hasTitleContent(const TitleRecord &record);

// Deep copy of the texts, CDDB fields and program of source into a drive's
// record. The destination keeps its own trackCount and trackStartFrames;
// track texts are copied for the destination's tracks, and a track that the
// source does not describe ends up without title or text.
void copyTitleRecord(TitleRecord &destination, const TitleRecord &source);

// Releases every text and array of an owned record (the start frames too)
// and clears the whole record to zeros.
void releaseTitleRecord(TitleRecord &record);

#endif
