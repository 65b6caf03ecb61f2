// fakemixer.cpp - the scripted sound cards behind the mixer call table.
// Handles are small made-up numbers; line ids encode the destination and
// the source so that control requests find their line again.
#include "tests/mixer/fakemixer.h"
#include "mixer/mixerapi.h"

#include <algorithm>
#include <cstring>

namespace fakemixer {

namespace {

State theState;

const DWORD destinationOnly = 0xFFFF;

DWORD lineIdOf(DWORD destination, DWORD source)
{
    return (destination << 16) | source;
}

Device *deviceOf(HMIXEROBJ mixer)
{
    UINT_PTR id = (UINT_PTR)mixer;
    if (id < 0x100 || id - 0x100 >= theState.devices.size())
        return nullptr;
    return &theState.devices[id - 0x100];
}

Line *lineOf(Device *device, DWORD destination, DWORD source)
{
    if (!device || destination >= device->destinations.size())
        return nullptr;
    Line *line = &device->destinations[destination];
    if (source == destinationOnly)
        return line;
    return source < line->sources.size() ? &line->sources[source] : nullptr;
}

void copyText(char *field, size_t size, const std::string &text)
{
    memset(field, 0, size);
    memcpy(field, text.data(), std::min(size, text.size()));
}

UINT WINAPI fakeGetNumDevs()
{
    return (UINT)theState.devices.size();
}

MMRESULT WINAPI fakeOpen(LPHMIXER mixer, UINT deviceId, DWORD_PTR callback, DWORD_PTR, DWORD flags)
{
    theState.opens.push_back({deviceId, callback, flags});
    if (deviceId >= theState.devices.size())
        return MMSYSERR_BADDEVICEID;
    if (theState.devices[deviceId].openFails)
        return MMSYSERR_ALLOCATED;
    *mixer = handleOf(deviceId);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI fakeClose(HMIXER mixer)
{
    theState.closes.push_back(mixer);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI fakeGetDevCaps(UINT_PTR deviceId, LPMIXERCAPSA caps, UINT size)
{
    if (deviceId >= theState.devices.size() || size < sizeof(MIXERCAPSA))
        return MMSYSERR_BADDEVICEID;
    const Device &device = theState.devices[deviceId];
    if (device.capsFails)
        return MMSYSERR_ERROR;
    memset(caps, 0, sizeof *caps);
    copyText(caps->szPname, sizeof caps->szPname, device.name);
    caps->cDestinations = (DWORD)device.destinations.size();
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI fakeGetLineInfo(HMIXEROBJ mixer, LPMIXERLINEA info, DWORD flags)
{
    if (info->cbStruct != sizeof(MIXERLINEA))
        return MMSYSERR_INVALPARAM;
    DWORD query = flags & MIXER_GETLINEINFOF_QUERYMASK;
    DWORD source = query == MIXER_GETLINEINFOF_SOURCE ? info->dwSource : destinationOnly;
    if (query != MIXER_GETLINEINFOF_SOURCE && query != MIXER_GETLINEINFOF_DESTINATION)
        return MMSYSERR_INVALFLAG;
    Line *line = lineOf(deviceOf(mixer), info->dwDestination, source);
    if (!line || line->infoFails)
        return MIXERR_INVALLINE;
    info->dwLineID = lineIdOf(info->dwDestination, source);
    info->dwComponentType = line->componentType;
    info->cConnections = (DWORD)line->sources.size();
    info->cControls = (DWORD)line->controls.size();
    copyText(info->szShortName, sizeof info->szShortName, line->shortName);
    copyText(info->szName, sizeof info->szName, line->name);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI fakeGetLineControls(HMIXEROBJ mixer, LPMIXERLINECONTROLSA request, DWORD flags)
{
    if ((flags & MIXER_GETLINECONTROLSF_QUERYMASK) != MIXER_GETLINECONTROLSF_ALL ||
        request->cbmxctrl != sizeof(MIXERCONTROLA))
        return MMSYSERR_INVALPARAM;
    Line *line = lineOf(deviceOf(mixer), request->dwLineID >> 16, request->dwLineID & 0xFFFF);
    if (!line || line->controlsFail)
        return MIXERR_INVALLINE;
    if (request->cControls != line->controls.size())
        return MMSYSERR_INVALPARAM;
    for (size_t i = 0; i < line->controls.size(); ++i) {
        const Control &control = line->controls[i];
        MIXERCONTROLA &out = request->pamxctrl[i];
        memset(&out, 0, sizeof out);
        out.cbStruct = sizeof out;
        out.dwControlID = control.id;
        out.dwControlType = control.type;
        copyText(out.szShortName, sizeof out.szShortName, control.name);
        copyText(out.szName, sizeof out.szName, control.name);
        out.Bounds.dwMinimum = control.minimum;
        out.Bounds.dwMaximum = control.maximum;
        out.Metrics.cSteps = control.steps;
    }
    return MMSYSERR_NOERROR;
}

bool detailsShapeOk(LPMIXERCONTROLDETAILS details)
{
    return details->cbStruct == sizeof(MIXERCONTROLDETAILS) && details->cChannels == 1 &&
           details->cbDetails == sizeof(DWORD) && details->paDetails;
}

MMRESULT WINAPI fakeGetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags)
{
    ++theState.reads;
    if (!detailsShapeOk(details) || flags != (MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER))
        return MMSYSERR_INVALPARAM;
    auto key = std::make_pair((HMIXER)mixer, details->dwControlID);
    if (std::find(theState.unreadable.begin(), theState.unreadable.end(), key) != theState.unreadable.end())
        return MMSYSERR_ERROR;
    auto found = theState.values.find(key);
    if (found == theState.values.end())
        return MIXERR_INVALCONTROL;
    *(DWORD *)details->paDetails = found->second;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI fakeSetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags)
{
    DWORD value = details->paDetails ? *(DWORD *)details->paDetails : 0;
    theState.sets.push_back({(HMIXER)mixer, details->dwControlID, value, details->cChannels, details->cbDetails, flags});
    theState.values[std::make_pair((HMIXER)mixer, details->dwControlID)] = value;
    return MMSYSERR_NOERROR;
}

const MixerApi fakeApi = {
    fakeGetNumDevs, fakeOpen, fakeClose, fakeGetDevCaps, fakeGetLineInfo, fakeGetLineControls,
    fakeGetControlDetails, fakeSetControlDetails,
};

} // namespace

Control volume(DWORD id, DWORD minimum, DWORD maximum, DWORD steps, const char *name)
{
    return {id, MIXERCONTROL_CONTROLTYPE_VOLUME, name, minimum, maximum, steps};
}

Control mute(DWORD id, const char *name)
{
    return {id, MIXERCONTROL_CONTROLTYPE_MUTE, name, 0, 1, 0};
}

Control other(DWORD id, DWORD type, const char *name)
{
    return {id, type, name, 0, 100, 0};
}

State &state()
{
    return theState;
}

void install()
{
    theState = State();
    setMixerApi(&fakeApi);
}

void uninstall()
{
    setMixerApi(nullptr);
}

HMIXER handleOf(UINT deviceId)
{
    return (HMIXER)(UINT_PTR)(0x100 + deviceId);
}

} // namespace fakemixer
