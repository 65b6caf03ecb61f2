// pathnames_test.cpp - the names of the objects the library shares between
// processes (the title database's lock, a virtual drive's record, its
// speaker and its tray file) are the same for every spelling of one path:
// long or short names, any case, either slash, relative or full, with or
// without a trailing separator. Another path gets other names.
#include "libplatter/devices/shareddrive.h"
#include "libplatter/titledb/dblock.h"
#include "harness/harness.h"

#include <windows.h>

namespace {

struct Spelling {
    const char *how;
    std::string path;
};

std::string upper(std::string text)
{
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    return text;
}

std::string forwardSlashes(std::string text)
{
    for (char &c : text)
        if (c == '\\')
            c = '/';
    return text;
}

std::string shortName(const std::string &path)
{
    char buffer[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

TEST(SharedNames, EverySpellingOfAPathGivesTheSameNames)
{
    std::string base = harness::scratchFolder();
    std::string folder = base + "\\A Folder With A Long Name";
    std::string other = base + "\\Another Folder With A Long Name";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
    std::string database = folder + "\\Spindle2.tdb";
    HANDLE file = CreateFileA(database.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    std::string shortFolder = shortName(folder);
    ASSERT_FALSE(shortFolder.empty());
    ASSERT_NE(upper(shortFolder), upper(folder)) << "the file system gives no short names";
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(base.c_str()));

    const Spelling folders[] = {
        {"short", shortFolder},
        {"lower case", std::string(folder).replace(base.size(), std::string::npos, "\\a folder with a long name")},
        {"upper case", upper(folder)},
        {"forward slashes", forwardSlashes(folder)},
        {"trailing separator", folder + "\\"},
        {"relative", "A Folder With A Long Name"},
        {"with dot parts", base + "\\.\\A Folder With A Long Name\\..\\A Folder With A Long Name"},
    };
    const std::string lockName = titledb::databaseLockName(database);
    const std::string recordName = devices::sharedObjectName(folder, "Record");
    const std::string trayName = devices::trayFileName(folder);
    for (const Spelling &s : folders) {
        EXPECT_EQ(devices::sharedObjectName(s.path, "Record"), recordName) << s.how << ": " << s.path;
        EXPECT_EQ(devices::trayFileName(s.path), trayName) << s.how << ": " << s.path;
        std::string file = s.path + (s.path.back() == '\\' ? "" : "\\") + "Spindle2.tdb";
        EXPECT_EQ(titledb::databaseLockName(file), lockName) << s.how << ": " << file;
    }
    // The database file need not exist yet for its folder to be spelled short.
    EXPECT_EQ(titledb::databaseLockName(shortName(other) + "\\Spindle2.tdb"),
              titledb::databaseLockName(other + "\\Spindle2.tdb"));

    EXPECT_NE(devices::sharedObjectName(other, "Record"), recordName);
    EXPECT_NE(titledb::databaseLockName(other + "\\Spindle2.tdb"), lockName);
    SetCurrentDirectoryA(previous);
}

} // namespace
