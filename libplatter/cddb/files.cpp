// files.cpp - file and folder helpers of the CDDB family.
#include "libplatter/cddb/files.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace cddb {

bool readWholeFile(const std::string &path, size_t maxBytes, std::string *content)
{
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::string data;
    char buffer[16384];
    size_t n;
    bool ok = true;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) {
        data.append(buffer, n);
        if (data.size() > maxBytes) {
            ok = false;
            break;
        }
    }
    ok = ok && !ferror(f);
    fclose(f);
    if (ok)
        *content = data;
    return ok;
}

bool replaceFile(const std::string &path, const std::string &content)
{
    std::string temp = path + ".new";
    FILE *f = fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(content.data(), 1, content.size(), f) == content.size();
    ok = fflush(f) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (ok)
        ok = MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok)
        DeleteFileA(temp.c_str());
    return ok;
}

bool isFolder(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool makeFolder(const std::string &path)
{
    return isFolder(path) || CreateDirectoryA(path.c_str(), nullptr) != 0;
}

std::vector<std::string> folderNames(const std::string &folder, bool wantFolders)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(joinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        bool folderEntry = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folderEntry == wantFolders)
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string joinPath(const std::string &folder, const std::string &name)
{
    if (folder.empty())
        return name;
    char last = folder.back();
    return last == '\\' || last == '/' ? folder + name : folder + "\\" + name;
}

} // namespace cddb
