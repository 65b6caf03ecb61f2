// options.cpp - loading and saving the options record, value by value, in
// the record's own order.
#include "options/options.h"
#include "options/registry.h"
#include "core/diaglog.h"

#include <cstddef>

const OptionsRecord defaultOptions = {
    1,    // ControlsVisibleAtStart
    1,    // ControlsOnTop
    0,    // ControlsHideNoCD
    100,  // ControlsX
    50,   // ControlsY
    0,    // ControlsDisplayType
    100,  // StatusX
    120,  // StatusY
    0,    // TimeDisplayMode
    1,    // ShuffleAllDrives
    0,    // RepeatAll
    0,    // IntroPlayStart
    10,   // IntroPlayLength
    0,    // EjectAtEnd
    0,    // ExitAtEject
    1,    // StopAtExit
    0,    // VolumeMixer
    0,    // cddbQueryLocal
    "",   // cddbLocalRoot
    1,    // cddbQueryServer
    0,    // cddbUseProxy
    "gnudb.gnudb.org", // cddbServer
    888,  // cddbServerPort
    "",   // cddbProxy
    888,  // cddbProxyPort
    "",   // ReturnAddress
    "",   // SMTPServer
    25,   // SMTPServerPort
    1,    // cddbQueryShowStatus
    1,    // cddbSubmitShowStatus
};

OptionsRecord options = defaultOptions;

namespace {

struct OptionField {
    const char *name;
    size_t offset;
    DWORD textLimit;   // 0 for an integer field
};

#define INT_FIELD(f) { #f, offsetof(OptionsRecord, f), 0 }
#define TEXT_FIELD(f, limit) { #f, offsetof(OptionsRecord, f), limit }

const OptionField optionFields[] = {
    INT_FIELD(ControlsVisibleAtStart),
    INT_FIELD(ControlsOnTop),
    INT_FIELD(ControlsHideNoCD),
    INT_FIELD(ControlsX),
    INT_FIELD(ControlsY),
    INT_FIELD(ControlsDisplayType),
    INT_FIELD(StatusX),
    INT_FIELD(StatusY),
    INT_FIELD(TimeDisplayMode),
    INT_FIELD(ShuffleAllDrives),
    INT_FIELD(RepeatAll),
    INT_FIELD(IntroPlayStart),
    INT_FIELD(IntroPlayLength),
    INT_FIELD(EjectAtEnd),
    INT_FIELD(ExitAtEject),
    INT_FIELD(StopAtExit),
    INT_FIELD(VolumeMixer),
    INT_FIELD(cddbQueryLocal),
    TEXT_FIELD(cddbLocalRoot, OPTION_PATH_LIMIT),
    INT_FIELD(cddbQueryServer),
    INT_FIELD(cddbUseProxy),
    TEXT_FIELD(cddbServer, OPTION_TEXT_LIMIT),
    INT_FIELD(cddbServerPort),
    TEXT_FIELD(cddbProxy, OPTION_TEXT_LIMIT),
    INT_FIELD(cddbProxyPort),
    TEXT_FIELD(ReturnAddress, OPTION_TEXT_LIMIT),
    TEXT_FIELD(SMTPServer, OPTION_TEXT_LIMIT),
    INT_FIELD(SMTPServerPort),
    INT_FIELD(cddbQueryShowStatus),
    INT_FIELD(cddbSubmitShowStatus),
};

static_assert(sizeof optionFields / sizeof optionFields[0] == 30, "the options record has 30 fields");

char *fieldAddress(const OptionField &field)
{
    return reinterpret_cast<char *>(&options) + field.offset;
}

}

void loadOptions()
{
    logLinef("Loading Spindle2 options.");
    HKEY key;
    if (!regOpenRead(OPTIONS_KEY, &key)) {
        logLinef("Unable to load Spindle2 options.");
        return;
    }
    for (const OptionField &field : optionFields) {
        if (field.textLimit)
            regReadString(key, field.name, fieldAddress(field), field.textLimit);
        else
            regReadDword(key, field.name, reinterpret_cast<int32_t *>(fieldAddress(field)));
    }
    regClose(key);
}

void saveOptions()
{
    logLinef("Saving Spindle2 options.");
    HKEY key;
    if (!regCreateWrite(OPTIONS_KEY, &key)) {
        logLinef("Unable to save Spindle2 options.");
        return;
    }
    for (const OptionField &field : optionFields) {
        if (field.textLimit)
            regWriteString(key, field.name, fieldAddress(field));
        else
            regWriteDword(key, field.name, reinterpret_cast<const int32_t *>(fieldAddress(field)));
    }
    regClose(key);
}
