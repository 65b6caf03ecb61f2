// pathkey.cpp - normalising paths before they are hashed into object names.
#include "libplatter/pathkey.h"
#include "libplatter/fnv.h"

#include <windows.h>

#include <vector>

namespace {

std::string fullPath(const std::string &path)
{
    std::vector<char> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD n = GetFullPathNameA(path.c_str(), (DWORD)buffer.size(), buffer.data(), nullptr);
        if (n == 0)
            return path;
        if (n < buffer.size())
            return std::string(buffer.data(), n);
        buffer.resize(n + 1);
    }
    return path;
}

// The long form of the longest part of `path` that exists; the rest as it
// stands (a database file is named before it is created).
std::string longPath(const std::string &path)
{
    std::string head = path;
    std::string tail;
    while (!head.empty()) {
        std::vector<char> buffer(MAX_PATH);
        DWORD n = GetLongPathNameA(head.c_str(), buffer.data(), (DWORD)buffer.size());
        if (n >= buffer.size()) {
            buffer.resize(n + 1);
            n = GetLongPathNameA(head.c_str(), buffer.data(), (DWORD)buffer.size());
        }
        if (n > 0 && n < buffer.size())
            return std::string(buffer.data(), n) + tail;
        size_t cut = head.find_last_of('\\');
        if (cut == std::string::npos || cut + 1 >= head.size())
            break;
        tail = head.substr(cut) + tail;
        head.erase(cut);
        if (head.size() == 2 && head[1] == ':')
            head += '\\'; // a drive's root is "X:\", not "X:"
    }
    return path;
}

} // namespace

std::string comparablePath(const std::string &path)
{
    std::string full = fullPath(path);
    for (char &c : full)
        if (c == '/')
            c = '\\';
    full = fullPath(full); // a second pass folds "." and ".." written with '/'
    while (full.size() > 3 && full.back() == '\\')
        full.pop_back();
    std::string result = longPath(full);
    while (result.size() > 3 && result.back() == '\\')
        result.pop_back();
    // File names compare without case in the ANSI code page.
    if (!result.empty())
        CharUpperBuffA(&result[0], (DWORD)result.size());
    return result;
}

uint64_t pathKeyHash(const std::string &path)
{
    std::string key = comparablePath(path);
    return fnv1a(kFnv1aOffset, key.data(), key.size());
}
