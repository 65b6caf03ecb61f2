// registry.cpp - a private HKEY_LOCAL_MACHINE for each test.
#include "harness/harness.h"

#include <cstdio>

namespace harness {

namespace {
const char *const scratchRoot = "Software\\Spindle2Tests";

HKEY openUnder(HKEY scratch, const char *path, bool create)
{
    HKEY key = nullptr;
    LONG status = create ? RegCreateKeyExA(scratch, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
                         : RegOpenKeyExA(scratch, path, 0, KEY_ALL_ACCESS, &key);
    return status == ERROR_SUCCESS ? key : nullptr;
}
}

RegistrySandbox::RegistrySandbox()
{
    static int counter = 0;
    char path[128];
    snprintf(path, sizeof path, "%s\\%lu-%d", scratchRoot, (unsigned long)GetCurrentProcessId(), ++counter);
    scratchPath_ = path;
    RegDeleteTreeA(HKEY_CURRENT_USER, path);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch_, nullptr) !=
        ERROR_SUCCESS)
        ADD_FAILURE() << "cannot create the scratch registry key " << path;
    else if (RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch_) != ERROR_SUCCESS)
        ADD_FAILURE() << "RegOverridePredefKey failed";
}

RegistrySandbox::~RegistrySandbox()
{
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (scratch_)
        RegCloseKey(scratch_);
    RegDeleteTreeA(HKEY_CURRENT_USER, scratchPath_.c_str());
}

void RegistrySandbox::createKey(const char *path)
{
    HKEY key = openUnder(scratch_, path, true);
    ASSERT_NE(key, nullptr) << "cannot create " << path;
    RegCloseKey(key);
}

void RegistrySandbox::setRaw(const char *path, const char *name, DWORD type, const void *data, DWORD size)
{
    HKEY key = openUnder(scratch_, path, true);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

void RegistrySandbox::setString(const char *path, const char *name, const std::string &value, bool withNul)
{
    setRaw(path, name, REG_SZ, value.c_str(), (DWORD)value.size() + (withNul ? 1 : 0));
}

void RegistrySandbox::setDword(const char *path, const char *name, uint32_t value)
{
    setRaw(path, name, REG_DWORD, &value, sizeof value);
}

bool RegistrySandbox::exists(const char *path, const char *name)
{
    return read(path, name, nullptr, nullptr);
}

bool RegistrySandbox::read(const char *path, const char *name, DWORD *type, std::string *bytes)
{
    HKEY key = openUnder(scratch_, path, false);
    if (!key)
        return false;
    DWORD valueType = 0, size = 0;
    bool ok = RegQueryValueExA(key, name, nullptr, &valueType, nullptr, &size) == ERROR_SUCCESS;
    if (ok && bytes) {
        bytes->assign(size, '\0');
        ok = RegQueryValueExA(key, name, nullptr, &valueType, reinterpret_cast<BYTE *>(&(*bytes)[0]), &size) ==
             ERROR_SUCCESS;
        bytes->resize(size);
    }
    if (ok && type)
        *type = valueType;
    RegCloseKey(key);
    return ok;
}

} // namespace harness
