// panelbar.cpp - the control panel's volume bar: a column that rises with
// the selected volume control's level, white while sound is on and grey
// while the line is muted.
#include "mixer/mixer.h"
#include "options/options.h"
#include "ui/panel.h"

namespace {

// The row where the bar starts, between the rectangle's top (full) and its
// bottom (empty). The level counts from the fader's minimum; a fader whose
// range is empty or upside down shows an empty bar rather than dividing by
// nothing, and a value outside the range is held at the rectangle's edges.
LONG levelTop(const RECT &rect, DWORD minimum, DWORD maximum, DWORD value)
{
    if (maximum <= minimum)
        return rect.bottom;
    double level = ((double)value - (double)minimum) / ((double)maximum - (double)minimum);
    double top = (double)rect.bottom - level * (double)(rect.bottom - rect.top);
    if (top <= (double)rect.top)
        return rect.top;
    if (top >= (double)rect.bottom)
        return rect.bottom;
    return (LONG)top;
}

} // namespace

void drawVolumeBar(const DRAWITEMSTRUCT *item)
{
    if (!item || !item->hDC || mixerCount <= 0 || IsRectEmpty(&item->rcItem))
        return;
    int index = options.VolumeMixer;
    if (index < 1 || index > mixerCount)
        return;

    DWORD minimum = 0, maximum = 0, value = 0;
    int muted = 0;
    int read = readMixerLevel(index, &minimum, &maximum, &value, &muted);

    RECT bar = item->rcItem;
    if (mixerHasVolume(index)) {
        // A fader whose value could not be read has no level to show.
        bar.top = (read & MIXER_LEVEL_VOLUME) ? levelTop(item->rcItem, minimum, maximum, value) : bar.bottom;
    }
    // Without a fader (a mute switch alone) the bar stands full height and
    // only its colour says anything.
    if (bar.top >= bar.bottom)
        return;
    bool silent = (read & MIXER_LEVEL_MUTE) && muted;
    FillRect(item->hDC, &bar, (HBRUSH)GetStockObject(silent ? GRAY_BRUSH : WHITE_BRUSH));
}
