// helpfixture.h - what the help tests share: Spindle2.hlp of the bin
// folder, read once, and the table of the two sheets' help ids with the
// topic each must open.
#ifndef TESTS_HELP_HELPFIXTURE_H
#define TESTS_HELP_HELPFIXTURE_H

#include "harness/harness.h"
#include "help/hlpreader.h"

#include <memory>

namespace helptest {

inline std::string helpFilePath()
{
    return harness::binFolder() + "\\Spindle2.hlp";
}

// The built help file; a test fails at once when it cannot be read.
inline const hlp::HelpFile &helpFile()
{
    static std::unique_ptr<hlp::HelpFile> file;
    static std::string error;
    if (!file && error.empty()) {
        try {
            file.reset(new hlp::HelpFile(hlp::readFileBytes(helpFilePath())));
        } catch (const hlp::FormatError &e) {
            error = e.what();
        }
    }
    if (!file) {
        ADD_FAILURE() << "Spindle2.hlp: " << error;
        throw hlp::FormatError(error);
    }
    return *file;
}

// One help id: the title of its pop-up topic, the control's label the
// topic starts with, and a phrase of what it says.
struct HelpIdCase {
    uint32_t id;
    const char *title;
    const char *label;
    const char *phrase;
};

inline const std::vector<HelpIdCase> &helpIdCases()
{
    static const std::vector<HelpIdCase> cases = {
        // Options sheet, CD Control Panel
        {99, "CD Control Panel: Show at Startup", "Show at Startup", "when Spindle2 starts"},
        {100, "CD Control Panel: Always On Top", "Always On Top", "above all other windows"},
        {103, "CD Control Panel: Hide When No Audio CD's", "Hide When No Audio CD's", "no drive holds an audio CD"},
        {65, "CD Control Panel: Status/Time", "Status/Time", "Playing (3) 1:05"},
        {66, "CD Control Panel: Track/Disc Title", "Track/Disc Title", "artist and title"},
        // Play Modes
        {67, "Play Modes: Random Across All CD Drives", "Random Across All CD Drives", "every drive"},
        {68, "Play Modes: Repeat All Tracks", "Repeat All Tracks", "Starts play over"},
        {69, "Play Modes: Start after", "Start after ... seconds", "from 0 to 1000"},
        {70, "Play Modes: and play for", "and play for ... seconds", "from 2 to 1000"},
        {71, "Play Modes: at middle of track", "at middle of track", "middle of its track"},
        // Time Display
        {72, "Time Display: Track Time Elapsed", "Track Time Elapsed", "has played"},
        {73, "Time Display: Track Time Remaining", "Track Time Remaining", "still to play"},
        {74, "Time Display: Disc Time Elapsed", "Disc Time Elapsed", "the disc has played"},
        {75, "Time Display: Disc Time Remaining", "Disc Time Remaining", "of the disc is still to play"},
        // Eject and Exit
        {76, "Eject and Exit: Eject CD(s) at End of Play", "Eject CD(s) at End of Play", "Ejects the disc"},
        {77, "Eject and Exit: Exit Spindle2 When Eject", "Exit Spindle2 When Eject", "Ends Spindle2"},
        {78, "Eject and Exit: Stop Play When Exiting Spindle2", "Stop Play When Exiting Spindle2", "plays on"},
        // CDDB Query
        {79, "CDDB Query: Display Status During Query Operations", "Display Status During Query Operations",
         "every CDDB lookup"},
        {80, "CDDB Query: Query Local Database", "Query Local Database", "CDDB tree"},
        {81, "CDDB Query: Database Root Directory", "Database Root Directory:", "one folder per category"},
        {82, "CDDB Query: Query Remote Server", "Query Remote Server", "on the Internet"},
        {83, "CDDB Query: Use Proxy Host", "Use Proxy Host (Requires firewall configuration)", "through the proxy"},
        {84, "CDDB Query: CDDBD Servers", "CDDBD Servers - Select closest for fastest response:", "closest to you"},
        {85, "CDDB Query: Proxy Host", "Proxy Host:", "address of the proxy"},
        {86, "CDDB Query: Proxy Port Number", "Port Number:", "the proxy takes connections"},
        // CDDB Submit
        {87, "CDDB Submit: Return E-Mail Address", "Return E-Mail Address:", "Your e-mail address"},
        {88, "CDDB Submit: SMTP E-Mail Server", "SMTP E-Mail Server:", "mail server"},
        {101, "CDDB Submit: Port Number", "Port Number:", "SMTP e-mail server"},
        {102, "CDDB Submit: Display Status During Submit Operations", "Display Status During Submit Operations",
         "every submission"},
        // CD information sheet
        {89, "Spindle2 Properties: Select Drive", "Select Drive", "whose disc this page shows"},
        {90, "CD Information: Artist", "Artist", "artist of the disc"},
        {91, "CD Information: Title", "Title", "title of the disc"},
        {92, "CD Information: Tracks", "Tracks", "tracks of the disc"},
        {93, "CD Information: Name", "Name", "press Enter"},
        {94, "Spindle2 Properties: Clear All", "Clear All", "every track name"},
        {95, "Extended CD Information: Disc Notes", "Disc notes", "the whole disc"},
        {96, "Extended CD Information: Track Notes", "Track notes", "Previous Track and Next Track"},
        {97, "Track Programming: Disc Order", "Disc Order", "Add All"},
        {98, "Track Programming: Programmed Order", "Programmed Order", "plays in disc order"},
    };
    return cases;
}

} // namespace helptest

#endif
