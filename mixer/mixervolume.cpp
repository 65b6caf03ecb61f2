// mixervolume.cpp - the volume commands: a press of the volume buttons, a
// click on the volume bar, and the level the bar draws. Every command reads
// the control's present value first, so that changes made by other programs
// are respected; a value that cannot be read makes the command do nothing.
#include "mixer/mixer.h"
#include "mixer/mixerapi.h"
#include "mixer/volumestep.h"

namespace {

// The entry, when its device is open.
const MixerEntry *openEntry(int index)
{
    const MixerEntry *entry = mixerEntry(index);
    return entry && entry->mixer ? entry : nullptr;
}

// One channel and one 32-bit value: the fader's MIXERCONTROLDETAILS_UNSIGNED
// and the switch's MIXERCONTROLDETAILS_BOOLEAN have the same shape.
MIXERCONTROLDETAILS detailsFor(DWORD controlId, DWORD *value)
{
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = controlId;
    details.cChannels = 1;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof(DWORD);
    details.paDetails = value;
    return details;
}

bool readControl(HMIXER mixer, DWORD controlId, DWORD *value)
{
    DWORD read = 0;
    MIXERCONTROLDETAILS details = detailsFor(controlId, &read);
    if (mixerApi().getControlDetails((HMIXEROBJ)mixer, &details,
                                     MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR)
        return false;
    *value = read;
    return true;
}

void writeControl(HMIXER mixer, DWORD controlId, DWORD value)
{
    MIXERCONTROLDETAILS details = detailsFor(controlId, &value);
    mixerApi().setControlDetails((HMIXEROBJ)mixer, &details, MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER);
}

} // namespace

void volumeUp(int index)
{
    const MixerEntry *entry = openEntry(index);
    DWORD value = 0;
    if (!entry || !entry->hasVolume || !readControl(entry->mixer, entry->volumeControlId, &value))
        return;
    writeControl(entry->mixer, entry->volumeControlId, volumeAfterStepUp(value, entry->volumeStep, entry->volumeMax));
}

void volumeDown(int index)
{
    const MixerEntry *entry = openEntry(index);
    DWORD value = 0;
    if (!entry || !entry->hasVolume || !readControl(entry->mixer, entry->volumeControlId, &value))
        return;
    writeControl(entry->mixer, entry->volumeControlId, volumeAfterStepDown(value, entry->volumeStep, entry->volumeMin));
}

void toggleMute(int index)
{
    const MixerEntry *entry = openEntry(index);
    DWORD muted = 0;
    if (!entry || !entry->hasMute || !readControl(entry->mixer, entry->muteControlId, &muted))
        return;
    writeControl(entry->mixer, entry->muteControlId, muted ? 0 : 1);
}

int readMixerLevel(int index, DWORD *minimum, DWORD *maximum, DWORD *value, int *muted)
{
    const MixerEntry *entry = openEntry(index);
    if (!entry)
        return 0;
    int filled = 0;
    DWORD read = 0;
    if (entry->hasVolume && readControl(entry->mixer, entry->volumeControlId, &read)) {
        if (minimum)
            *minimum = entry->volumeMin;
        if (maximum)
            *maximum = entry->volumeMax;
        if (value)
            *value = read;
        filled |= MIXER_LEVEL_VOLUME;
    }
    if (entry->hasMute && readControl(entry->mixer, entry->muteControlId, &read)) {
        if (muted)
            *muted = read ? 1 : 0;
        filled |= MIXER_LEVEL_MUTE;
    }
    return filled;
}
