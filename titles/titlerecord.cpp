// titlerecord.cpp - the disc title record: its heap blocks, setText,
// hasTitleContent, copyTitleRecord and releasing a record.
#include "titles/titlerecord.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The CDDB lookup thread fills records too, so the count is atomic.
std::atomic<long> blocksInUse{0};

// Replaces an owned text with a copy of source taken as it is: a present
// but empty source stays present (texts from the database or CDDB).
void replaceWithCopy(char *&field, const char *source)
{
    titleFree(field);
    field = titleCopyText(source);
}

} // namespace

void *titleAlloc(size_t count, size_t size)
{
    if (count == 0 || size == 0 || count > SIZE_MAX / size)
        return nullptr;
    void *block = calloc(count, size);
    if (block)
        ++blocksInUse;
    return block;
}

char *titleCopyText(const char *text)
{
    if (!text)
        return nullptr;
    size_t length = strlen(text);
    char *copy = static_cast<char *>(titleAlloc(length + 1, 1));
    if (copy)
        memcpy(copy, text, length + 1);
    return copy;
}

void titleFree(void *block)
{
    if (!block)
        return;
    free(block);
    --blocksInUse;
}

long titleBlocksInUse()
{
    return blocksInUse.load();
}

void setText(char *&field, const char *source)
{
    titleFree(field);
    field = (source && source[0]) ? titleCopyText(source) : nullptr;
}

bool hasTitleContent(const TitleRecord &record)
{
    if (record.artist || record.discTitle || record.discText)
        return true;
    for (int i = 0; i < record.trackCount; ++i) {
        if (record.trackTitles && record.trackTitles[i])
            return true;
        if (record.trackTexts && record.trackTexts[i])
            return true;
    }
    return false;
}

void copyTitleRecord(TitleRecord &destination, const TitleRecord &source)
{
    if (&destination == &source)
        return;

    destination.cddbEntry = source.cddbEntry;
    destination.revision = source.revision;
    destination.submitted = source.submitted;

    replaceWithCopy(destination.artist, source.artist);
    replaceWithCopy(destination.discTitle, source.discTitle);
    replaceWithCopy(destination.discText, source.discText);

    // The source is read only as far as its own track count reaches: an
    // entry that describes fewer tracks than the disc has leaves the rest of
    // the disc's tracks without texts instead of reading past its lists.
    for (int i = 0; i < destination.trackCount; ++i) {
        bool described = i < source.trackCount;
        if (destination.trackTitles)
            replaceWithCopy(destination.trackTitles[i],
                            described && source.trackTitles ? source.trackTitles[i] : nullptr);
        if (destination.trackTexts)
            replaceWithCopy(destination.trackTexts[i],
                            described && source.trackTexts ? source.trackTexts[i] : nullptr);
    }

    titleFree(destination.programList);
    destination.programList = nullptr;
    destination.programLength = 0;
    if (source.programLength > 0 && source.programList) {
        destination.programList =
            static_cast<int32_t *>(titleAlloc((size_t)source.programLength, sizeof(int32_t)));
        if (destination.programList) {
            memcpy(destination.programList, source.programList, (size_t)source.programLength * sizeof(int32_t));
            destination.programLength = source.programLength;
        }
    }
}

void releaseTitleRecord(TitleRecord &record)
{
    titleFree(record.artist);
    titleFree(record.discTitle);
    titleFree(record.discText);
    for (int i = 0; i < record.trackCount; ++i) {
        if (record.trackTitles)
            titleFree(record.trackTitles[i]);
        if (record.trackTexts)
            titleFree(record.trackTexts[i]);
    }
    titleFree(record.trackTitles);
    titleFree(record.trackTexts);
    titleFree(record.trackStartFrames);
    titleFree(record.programList);
    memset(&record, 0, sizeof record);
}
