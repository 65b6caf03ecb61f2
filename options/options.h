// options.h - the user's settings: one record, defaults at start, loaded
// from the registry once and saved whole at shutdown and after the options
// sheet. Each field carries the name of its registry value.
#ifndef OPTIONS_OPTIONS_H
#define OPTIONS_OPTIONS_H

#include <cstdint>

#define OPTION_TEXT_LIMIT 80    /* characters of a text option */
#define OPTION_PATH_LIMIT 260   /* characters of cddbLocalRoot */

struct OptionsRecord {
    int32_t ControlsVisibleAtStart;
    int32_t ControlsOnTop;
    int32_t ControlsHideNoCD;
    int32_t ControlsX;
    int32_t ControlsY;
    int32_t ControlsDisplayType;   // 0 status/time, 1 track/disc title
    int32_t StatusX;
    int32_t StatusY;
    int32_t TimeDisplayMode;       // 0..3
    int32_t ShuffleAllDrives;
    int32_t RepeatAll;
    int32_t IntroPlayStart;        // seconds; negative: the middle of the track
    int32_t IntroPlayLength;       // seconds
    int32_t EjectAtEnd;
    int32_t ExitAtEject;
    int32_t StopAtExit;
    int32_t VolumeMixer;           // 1-based volume control, 0 none
    int32_t cddbQueryLocal;
    char cddbLocalRoot[OPTION_PATH_LIMIT + 1];
    int32_t cddbQueryServer;
    int32_t cddbUseProxy;
    char cddbServer[OPTION_TEXT_LIMIT + 1];
    int32_t cddbServerPort;
    char cddbProxy[OPTION_TEXT_LIMIT + 1];
    int32_t cddbProxyPort;
    char ReturnAddress[OPTION_TEXT_LIMIT + 1];
    char SMTPServer[OPTION_TEXT_LIMIT + 1];
    int32_t SMTPServerPort;
    int32_t cddbQueryShowStatus;
    int32_t cddbSubmitShowStatus;
};

// The live settings.
extern OptionsRecord options;
// The built-in defaults.
extern const OptionsRecord defaultOptions;

// Reads every value present in the options key over the current record.
void loadOptions();
// Writes all 30 values to the options key.
void saveOptions();

#endif
