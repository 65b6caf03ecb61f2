// mixerscan.cpp - set-up of the volume mixer: every device's first speaker
// output and the sources mixed into it, examined for a volume fader and a
// mute switch. Devices, lines and controls that cannot be read are skipped
// without a word to the user; the diagnostics log tells what was found.
#include "core/diaglog.h"
#include "mixer/mixer.h"
#include "mixer/mixerapi.h"
#include "mixer/volumestep.h"

#include <cstring>

namespace {

// A fixed-size name field of the mixer structures as a string, even when
// the driver filled the field to the last byte without a terminator.
template <size_t N>
std::string fieldText(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

// Looks for the fader and the switch among the line's controls and, when it
// has either, appends an entry for it.
void examineLine(HMIXER mixer, const MIXERLINEA &line)
{
    if (line.cControls == 0)
        return;
    std::vector<MIXERCONTROLA> controls(line.cControls);
    MIXERLINECONTROLSA request = {};
    request.cbStruct = sizeof request;
    request.dwLineID = line.dwLineID;
    request.cControls = line.cControls;
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = controls.data();
    if (mixerApi().getLineControls((HMIXEROBJ)mixer, &request, MIXER_GETLINECONTROLSF_ALL | MIXER_OBJECTF_HMIXER) !=
        MMSYSERR_NOERROR)
        return;

    MixerEntry entry = {};
    for (const MIXERCONTROLA &control : controls) {
        std::string name = fieldText(control.szName);
        if (control.dwControlType == MIXERCONTROL_CONTROLTYPE_VOLUME) {
            logLinef("Found volume mixer control: %s", name.c_str());
            // With several faders on one line, the last one listed is used.
            entry.hasVolume = 1;
            entry.volumeControlId = control.dwControlID;
            entry.volumeMin = control.Bounds.dwMinimum;
            entry.volumeMax = control.Bounds.dwMaximum;
            entry.volumeStep = computeVolumeStep(control.Bounds.dwMinimum, control.Bounds.dwMaximum,
                                                 control.Metrics.cSteps);
        } else if (control.dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE) {
            logLinef("Found mute mixer control: %s", name.c_str());
            entry.hasMute = 1;
            entry.muteControlId = control.dwControlID;
        }
    }
    if (!entry.hasVolume && !entry.hasMute)
        return;
    entry.mixer = mixer;
    entry.lineName = fieldText(line.szShortName);
    mixerList.push_back(entry);
    mixerCount = (int)mixerList.size();
}

// The device's first speaker output and its sources.
void scanDevice(UINT deviceId, HMIXER mixer)
{
    MIXERCAPSA caps = {};
    if (mixerApi().getDevCaps(deviceId, &caps, sizeof caps) != MMSYSERR_NOERROR)
        return;
    logLinef("Found mixer: %s", fieldText(caps.szPname).c_str());

    for (DWORD destination = 0; destination < caps.cDestinations; ++destination) {
        MIXERLINEA line = {};
        line.cbStruct = sizeof line;
        line.dwDestination = destination;
        if (mixerApi().getLineInfo((HMIXEROBJ)mixer, &line, MIXER_GETLINEINFOF_DESTINATION | MIXER_OBJECTF_HMIXER) !=
            MMSYSERR_NOERROR)
            continue;
        if (line.dwComponentType != MIXERLINE_COMPONENTTYPE_DST_SPEAKERS)
            continue;

        logLinef("Found main volume mixer line: %s", fieldText(line.szName).c_str());
        examineLine(mixer, line);
        for (DWORD source = 0; source < line.cConnections; ++source) {
            MIXERLINEA sourceLine = {};
            sourceLine.cbStruct = sizeof sourceLine;
            sourceLine.dwDestination = destination;
            sourceLine.dwSource = source;
            if (mixerApi().getLineInfo((HMIXEROBJ)mixer, &sourceLine, MIXER_GETLINEINFOF_SOURCE | MIXER_OBJECTF_HMIXER) !=
                MMSYSERR_NOERROR)
                continue;
            logLinef("Found mixer line source: %s", fieldText(sourceLine.szName).c_str());
            examineLine(mixer, sourceLine);
        }
        return; // only the first speaker output counts
    }
}

bool deviceInUse(HMIXER mixer)
{
    for (const MixerEntry &entry : mixerList)
        if (entry.mixer == mixer)
            return true;
    return false;
}

} // namespace

int openMixers(HWND window)
{
    // The list is built once; a second call starts afresh rather than
    // leaking the devices already open.
    if (!mixerList.empty())
        closeMixers();

    UINT devices = mixerApi().getNumDevs();
    logLinef("Number of mixer devices = %d", (int)devices);
    for (UINT deviceId = 0; deviceId < devices; ++deviceId) {
        HMIXER mixer = nullptr;
        DWORD flags = window ? CALLBACK_WINDOW : CALLBACK_NULL;
        if (mixerApi().open(&mixer, deviceId, (DWORD_PTR)window, 0, flags) != MMSYSERR_NOERROR || !mixer)
            continue;
        scanDevice(deviceId, mixer);
        if (!deviceInUse(mixer))
            mixerApi().close(mixer);
    }
    mixerCount = (int)mixerList.size();
    return mixerCount;
}
