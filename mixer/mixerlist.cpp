// mixerlist.cpp - the list of mixer entries: lookups by number and by
// notification, and closing the devices at shutdown.
#include "mixer/mixer.h"
#include "mixer/mixerapi.h"

std::vector<MixerEntry> mixerList;
int mixerCount = 0;

const MixerEntry *mixerEntry(int index)
{
    if (index < 1 || index > mixerCount || (size_t)index > mixerList.size())
        return nullptr;
    return &mixerList[index - 1];
}

const char *mixerLineName(int index)
{
    const MixerEntry *entry = mixerEntry(index);
    return entry ? entry->lineName.c_str() : nullptr;
}

int mixerHasVolume(int index)
{
    const MixerEntry *entry = mixerEntry(index);
    return entry && entry->hasVolume ? 1 : 0;
}

int mixerHasMute(int index)
{
    const MixerEntry *entry = mixerEntry(index);
    return entry && entry->hasMute ? 1 : 0;
}

int findMixerEntry(HMIXER mixer, DWORD controlId)
{
    for (int index = 1; index <= mixerCount && (size_t)index <= mixerList.size(); ++index) {
        const MixerEntry &entry = mixerList[index - 1];
        if (!entry.mixer || entry.mixer != mixer)
            continue;
        if ((entry.hasVolume && entry.volumeControlId == controlId) ||
            (entry.hasMute && entry.muteControlId == controlId))
            return index;
    }
    return 0;
}

void closeMixers()
{
    // Entries of one device share its handle: close it with the first of
    // them and forget it in all the others, so that each device is closed
    // exactly once.
    for (MixerEntry &entry : mixerList) {
        HMIXER mixer = entry.mixer;
        if (!mixer)
            continue;
        mixerApi().close(mixer);
        for (MixerEntry &other : mixerList)
            if (other.mixer == mixer)
                other.mixer = nullptr;
    }
    mixerList.clear();
    mixerCount = 0;
}
