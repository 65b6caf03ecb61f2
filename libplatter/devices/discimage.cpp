// discimage.cpp - mapping a disc position to the bytes that hold its sound.
#include "libplatter/devices/discimage.h"

#include <cctype>

namespace devices {

bool DiscImage::hasAudioData() const
{
    for (size_t i = 0; i < layout.size() && i < toc.tracks.size(); ++i)
        if (toc.tracks[i].audio && layout[i].file >= 0 && layout[i].framesInFile > 0)
            return true;
    return false;
}

AudioSource audioSourceAt(const DiscImage &image, int frame)
{
    AudioSource source;
    const DiscToc &toc = image.toc;
    if (toc.tracks.empty() || frame < toc.tracks[0].start || frame >= toc.leadOut)
        return source;
    int track = trackAt(toc, frame);
    if ((size_t)track > image.layout.size() || !toc.tracks[track - 1].audio)
        return source;
    const ImageTrack &where = image.layout[track - 1];
    int relative = frame - toc.startOf(track);
    if (where.file < 0 || (size_t)where.file >= image.files.size() || relative >= where.framesInFile)
        return source;
    const ImageFile &file = image.files[where.file];
    source.file = where.file;
    source.offset = file.dataOffset + where.startByte + (uint64_t)relative * (uint64_t)where.stride;
    source.byteSwapped = file.kind == ImageFileKind::Motorola;
    return source;
}

bool parseMsfText(const std::string &text, int *frames)
{
    int parts[3] = {0, 0, 0};
    int part = 0;
    int digits = 0;
    for (char c : text) {
        if (c == ':') {
            if (digits == 0 || ++part > 2)
                return false;
            digits = 0;
        } else if (isdigit((unsigned char)c)) {
            if (++digits > 3)
                return false;
            parts[part] = parts[part] * 10 + (c - '0');
        } else {
            return false;
        }
    }
    if (part != 2 || digits == 0 || parts[1] >= 60 || parts[2] >= kFramesPerSecond)
        return false;
    *frames = msfToFrames(parts[0], parts[1], parts[2]);
    return true;
}

} // namespace devices
