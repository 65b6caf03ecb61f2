// cddbtest.cpp - helpers of the CDDB family's tests.
#include "tests/libplatter/cddb/cddbtest.h"

#include <windows.h>

#include <cstdio>

namespace cddbtest {

const std::vector<int> kExactDisc = {150, 18000, 36000, 54000};

void setDisc(cddb_handle_t handle, const std::vector<int> &starts)
{
    cddb_set_num_tracks(handle, (int)starts.size() - 1);
    for (size_t n = 0; n < starts.size(); ++n)
        cddb_set_track_time(handle, (int)n + 1, starts[n] / 4500, starts[n] % 4500 / 75, starts[n] % 75);
}

void writeTreeFile(const std::string &root, const std::string &relative, const std::string &bytes)
{
    std::string path = root;
    CreateDirectoryA(path.c_str(), nullptr);
    size_t start = 0;
    for (;;) {
        size_t slash = relative.find('\\', start);
        if (slash == std::string::npos)
            break;
        CreateDirectoryA((root + "\\" + relative.substr(0, slash)).c_str(), nullptr);
        start = slash + 1;
    }
    FILE *f = fopen((root + "\\" + relative).c_str(), "wb");
    if (f) {
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
}

std::string text(const char *value)
{
    return value ? value : "<null>";
}

} // namespace cddbtest
