// mixerapi.h - the Windows multimedia mixer calls the volume mixer makes,
// gathered in one table. The program always uses winmm's own functions; the
// mixer's tests put a scripted mixer in their place to describe sound cards
// that the test machine does not have.
#ifndef MIXER_MIXERAPI_H
#define MIXER_MIXERAPI_H

#include <windows.h>
#include <mmsystem.h>

struct MixerApi {
    UINT(WINAPI *getNumDevs)(void);
    MMRESULT(WINAPI *open)(LPHMIXER mixer, UINT deviceId, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
    MMRESULT(WINAPI *close)(HMIXER mixer);
    MMRESULT(WINAPI *getDevCaps)(UINT_PTR deviceId, LPMIXERCAPSA caps, UINT size);
    MMRESULT(WINAPI *getLineInfo)(HMIXEROBJ mixer, LPMIXERLINEA line, DWORD flags);
    MMRESULT(WINAPI *getLineControls)(HMIXEROBJ mixer, LPMIXERLINECONTROLSA controls, DWORD flags);
    MMRESULT(WINAPI *getControlDetails)(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
    MMRESULT(WINAPI *setControlDetails)(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
};

// The table in use.
const MixerApi &mixerApi();
// Replaces the table (tests only); null puts winmm's functions back.
void setMixerApi(const MixerApi *api);

#endif
