// waits.cpp - bounded waits and scratch files.
#include "harness/harness.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace harness {

bool pumpUntil(const std::function<bool()> &done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void pumpFor(DWORD ms)
{
    pumpUntil([] { return false; }, ms);
}

std::string binFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, n);
    size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
}

namespace {
void removeTree(const std::string &folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
}

std::string scratchFolder()
{
    static int counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    // Process ids come back under Wine: the time makes the name new, and a
    // folder left by an earlier run is emptied all the same.
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%sspindle2-test-%lu-%llx-%d-%s", temp, (unsigned long)GetCurrentProcessId(),
             (unsigned long long)now.QuadPart, ++counter, info ? info->name() : "none");
    // Names of parameterised tests carry '/'; keep the folder name plain.
    for (char *p = name + strlen(temp); *p; ++p)
        if (*p == '/' || *p == '\\')
            *p = '_';
    if (GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES)
        removeTree(name);
    CreateDirectoryA(name, nullptr);
    return name;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool fileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace harness
