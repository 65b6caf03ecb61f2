// cdctl_tool.cpp - drives a CD-ROM drive from the command line through
// platter.dll: the "other application" of the player's tests, and a handy
// way to look at a virtual drive by hand.
//
//   cdctl_tool D: status play 3 sleep 2000 pos pause
//   cdctl_tool D:            (then one command a line on standard input)
//
// Commands: media, read, toc, ids, status, pos, play TRACK [MM:SS.FF] [single],
// pause, resume TRACK [single], stop, eject, sleep MS, wait STATE MS.
// Each prints one line or more; the library's diagnostics lines go to the
// standard error. The exit code is 0 when every call succeeded, 1 when one
// failed, 2 for a command line it cannot read.
#include "platter/platter.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Session {
    cd_handle_t drive = 0;
    bool failed = false;
};

using Words = std::vector<std::string>;

bool isNumber(const std::string &word)
{
    if (word.empty())
        return false;
    for (char c : word)
        if (c < '0' || c > '9')
            return false;
    return true;
}

void say(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
void say(const char *fmt, ...)
{
    char line[256];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(line, sizeof line, fmt, ap);
    va_end(ap);
    printf("%s\n", line);
    fflush(stdout);
}

void sayState(Session &session, const char *what, int state)
{
    say("%s %d", what, state);
    if (state != PlayStatePlaying && state != PlayStatePaused && state != PlayStateStopped)
        session.failed = true;
}

bool doMedia(Session &s, const Words &, size_t &)
{
    say("media %d", cd_check_if_media(s.drive));
    return true;
}

bool doRead(Session &s, const Words &, size_t &)
{
    int count = 0;
    if (cd_read_data(s.drive) != PLATTER_OK || cd_get_num_tracks(s.drive, &count) != PLATTER_OK) {
        say("read failed");
        s.failed = true;
    } else {
        say("tracks %d", count);
    }
    return true;
}

bool doToc(Session &s, const Words &words, size_t &at)
{
    doRead(s, words, at);
    int count = 0;
    if (cd_get_num_tracks(s.drive, &count) != PLATTER_OK)
        return true;
    for (int t = 1; t <= count + 1; ++t) {
        int type = 0, m = 0, sec = 0, f = 0, lm = 0, ls = 0, lf = 0;
        cd_get_track_time(s.drive, t, &m, &sec, &f, &lm, &ls, &lf);
        if (t > count) {
            say("leadout %d:%02d.%02d", m, sec, f);
        } else {
            cd_get_track_type(s.drive, t, &type);
            say("track %d %s start %d:%02d.%02d length %d:%02d.%02d", t, type == PLATTER_TRACK_AUDIO ? "audio" : "data",
                m, sec, f, lm, ls, lf);
        }
    }
    return true;
}

bool doIds(Session &s, const Words &, size_t &)
{
    uint32_t win = 0, cddb = 0;
    if (cd_get_win_id(s.drive, &win) != PLATTER_OK || cd_get_cddb_id(s.drive, &cddb) != PLATTER_OK) {
        say("ids failed");
        s.failed = true;
    } else {
        say("winid %X cddbid %08x", (unsigned)win, (unsigned)cddb);
    }
    return true;
}

bool doStatus(Session &s, const Words &, size_t &)
{
    sayState(s, "state", cd_check_status(s.drive));
    return true;
}

bool doPosition(Session &s, const Words &, size_t &)
{
    int track = 0, m = 0, sec = 0, f = 0, am = 0, as = 0, af = 0;
    if (cd_get_cur_time_info(s.drive, &track, &m, &sec, &f, &am, &as, &af) != PLATTER_OK) {
        say("position unknown");
        s.failed = true;
    } else {
        say("position track %d at %d:%02d.%02d abs %d:%02d.%02d", track, m, sec, f, am, as, af);
    }
    return true;
}

bool doPlay(Session &s, const Words &words, size_t &at)
{
    if (at >= words.size() || !isNumber(words[at]))
        return false;
    int track = atoi(words[at++].c_str());
    int m = 0, sec = 0, f = 0;
    if (at < words.size() && strchr(words[at].c_str(), ':')) {
        if (sscanf(words[at].c_str(), "%d:%d.%d", &m, &sec, &f) < 2)
            return false;
        ++at;
    }
    int single = 0;
    if (at < words.size() && words[at] == "single") {
        single = 1;
        ++at;
    }
    sayState(s, "state", cd_play(s.drive, track, m, sec, f, single));
    return true;
}

bool doPause(Session &s, const Words &, size_t &)
{
    sayState(s, "state", cd_pause(s.drive));
    return true;
}

bool doResume(Session &s, const Words &words, size_t &at)
{
    if (at >= words.size() || !isNumber(words[at]))
        return false;
    int track = atoi(words[at++].c_str());
    int single = 0;
    if (at < words.size() && words[at] == "single") {
        single = 1;
        ++at;
    }
    sayState(s, "state", cd_resume(s.drive, track, single));
    return true;
}

bool doStop(Session &s, const Words &, size_t &)
{
    sayState(s, "state", cd_stop(s.drive));
    return true;
}

bool doEject(Session &s, const Words &, size_t &)
{
    int result = cd_eject(s.drive);
    say("eject %d", result);
    if (result != PLATTER_OK)
        s.failed = true;
    return true;
}

bool doSleep(Session &, const Words &words, size_t &at)
{
    if (at >= words.size() || !isNumber(words[at]))
        return false;
    Sleep((DWORD)atoi(words[at++].c_str()));
    return true;
}

// Waits (bounded) until the drive reports a state: how a test's helper
// process notices what its parent did.
bool doWait(Session &s, const Words &words, size_t &at)
{
    if (at + 1 >= words.size() || !isNumber(words[at]) || !isNumber(words[at + 1]))
        return false;
    int wanted = atoi(words[at].c_str());
    DWORD limit = (DWORD)atoi(words[at + 1].c_str());
    at += 2;
    DWORD start = GetTickCount();
    int state = cd_check_status(s.drive);
    while (state != wanted && GetTickCount() - start < limit) {
        Sleep(20);
        state = cd_check_status(s.drive);
    }
    sayState(s, "state", state);
    if (state != wanted)
        s.failed = true;
    return true;
}

void printDiag(char *line)
{
    fprintf(stderr, "%s\n", line);
    fflush(stderr);
}

struct Command {
    const char *name;
    bool (*run)(Session &, const Words &, size_t &);
};

const Command kCommands[] = {
    {"media", doMedia}, {"read", doRead},   {"toc", doToc},     {"ids", doIds},
    {"status", doStatus}, {"pos", doPosition}, {"play", doPlay}, {"pause", doPause},
    {"resume", doResume}, {"stop", doStop}, {"eject", doEject}, {"sleep", doSleep},
    {"wait", doWait},
};

// Runs the commands in `words`; false on one it cannot read.
bool runWords(Session &session, const Words &words)
{
    size_t at = 0;
    while (at < words.size()) {
        const Command *command = nullptr;
        for (const Command &candidate : kCommands)
            if (words[at] == candidate.name)
                command = &candidate;
        if (!command) {
            fprintf(stderr, "cdctl: unknown command '%s'\n", words[at].c_str());
            return false;
        }
        ++at;
        if (!command->run(session, words, at)) {
            fprintf(stderr, "cdctl: '%s' needs other arguments\n", command->name);
            return false;
        }
    }
    return true;
}

Words splitLine(const char *line)
{
    Words words;
    std::string word;
    for (const char *p = line;; ++p) {
        if (*p == '\0' || *p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
            if (*p == '\0')
                break;
        } else {
            word += *p;
        }
    }
    return words;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: cdctl_tool DRIVE [command ...]\n");
        return 2;
    }
    platter_diag_init(printDiag);
    Session session;
    session.drive = cd_init();
    if (!session.drive || cd_open(session.drive, argv[1], 0) != PLATTER_OK) {
        say("open failed");
        cd_cleanup(session.drive);
        return 1;
    }
    say("open %s", argv[1]);
    bool readable = true;
    if (argc > 2) {
        readable = runWords(session, Words(argv + 2, argv + argc));
    } else {
        char line[512];
        while (readable && fgets(line, sizeof line, stdin)) {
            Words words = splitLine(line);
            if (!words.empty() && words[0] == "quit")
                break;
            readable = runWords(session, words);
        }
    }
    cd_close(session.drive);
    cd_cleanup(session.drive);
    if (!readable)
        return 2;
    return session.failed ? 1 : 0;
}
