// cddblookup_tool.cpp - looks a disc up through platter.dll and prints the
// entry's texts: a small console program for trying the CDDB client against
// a server (the project's test server, or a real one).
//
//   cddblookup_tool HOST PORT START... LEADOUT      (starts in frames)
//   cddblookup_tool --local ROOT START... LEADOUT
//
// With several close matches it takes the first. Exit status 0 when an
// entry was found, 1 when none, 2 on any failure.
#include "platter/platter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void printStatus(const char *text)
{
    fprintf(stderr, "status: %s\n", text);
}

void printDiag(char *line)
{
    if (getenv("CDDBLOOKUP_VERBOSE"))
        fprintf(stderr, "%s\n", line);
}

const char *shown(const char *text)
{
    return text ? text : "";
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: %s HOST PORT START... LEADOUT\n       %s --local ROOT START... LEADOUT\n", argv[0],
                argv[0]);
        return 2;
    }
    bool local = strcmp(argv[1], "--local") == 0;
    std::vector<int> starts;
    for (int i = 3; i < argc; ++i)
        starts.push_back(atoi(argv[i]));
    platter_stat_init(printStatus);
    platter_diag_init(printDiag);
    platter_net_init();
    cddb_handle_t h = cddb_init("Spindle2", "v3.00", "cddblookup");
    if (local)
        cddb_set_local_root(h, argv[2]);
    else
        cddb_set_server_info(h, argv[1], atoi(argv[2]));
    int tracks = (int)starts.size() - 1;
    cddb_set_num_tracks(h, tracks);
    for (int n = 0; n <= tracks; ++n)
        cddb_set_track_time(h, n + 1, starts[n] / 4500, starts[n] % 4500 / 75, starts[n] % 75);
    int result = local ? cddb_query_local(h) : cddb_query_remote(h);
    if (result == PLATTER_CDDB_FUZZY) {
        printf("%d close matches:\n", cddb_get_num_fuzzy(h));
        for (int i = 1; i <= cddb_get_num_fuzzy(h); ++i)
            printf("  %s %08x %s / %s\n", shown(cddb_get_fuzzy_category(h, i)), (unsigned)cddb_get_fuzzy_id(h, i),
                   shown(cddb_get_fuzzy_artist(h, i)), shown(cddb_get_fuzzy_title(h, i)));
        cddb_set_id(h, cddb_get_fuzzy_id(h, 1));
        cddb_set_category_name(h, cddb_get_fuzzy_category(h, 1));
        result = cddb_fetch_remote(h);
    }
    int status = 2;
    if (result > 0) {
        printf("Disc %08x in %s, revision %d\n", (unsigned)cddb_get_id(h), shown(cddb_get_category_name(h)),
               cddb_get_rev_number(h));
        printf("Artist: %s\nTitle: %s\n", shown(cddb_get_artist(h)), shown(cddb_get_title(h)));
        if (cddb_get_ext_title(h))
            printf("Notes: %s\n", cddb_get_ext_title(h));
        for (int n = 1; n <= tracks; ++n) {
            printf("%2d. %s\n", n, shown(cddb_get_track_title(h, n)));
            if (cddb_get_ext_track_title(h, n))
                printf("    %s\n", cddb_get_ext_track_title(h, n));
        }
        status = 0;
    } else {
        printf("No entry: result %d\n", result);
        status = result == PLATTER_CDDB_NOT_FOUND ? 1 : 2;
    }
    cddb_cleanup(h);
    platter_net_cleanup();
    return status;
}
