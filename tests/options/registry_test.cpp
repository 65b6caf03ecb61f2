// The registry helpers: HKEY_LOCAL_MACHINE only; only regCreateWrite makes a key.
#include "harness/harness.h"
#include "options/registry.h"

namespace {

const char *const testKey = "SOFTWARE\\Veldane Software\\Spindle2\\CurrentVersion\\cddb";

TEST(RegistryHelpers, OpenNeverCreatesTheKey)
{
    harness::RegistrySandbox registry;
    HKEY key = nullptr;
    EXPECT_FALSE(regOpenRead(testKey, &key));
    EXPECT_FALSE(regOpenWrite(testKey, &key));
    EXPECT_FALSE(regOpenRead(testKey, &key)) << "a failed open for writing must not have created it";

    ASSERT_TRUE(regCreateWrite(testKey, &key)) << "the key and the keys above it are made";
    int32_t number = 7;
    EXPECT_EQ(regWriteDword(key, "Number", &number), ERROR_SUCCESS);
    regClose(key);
    EXPECT_TRUE(registry.exists(testKey, "Number"));
    ASSERT_TRUE(regCreateWrite(testKey, &key)) << "an existing key opens as it is";
    regClose(key);
    EXPECT_TRUE(registry.exists(testKey, "Number")) << "opening again keeps its values";
}

TEST(RegistryHelpers, WriteReadDeleteRoundTrip)
{
    harness::RegistrySandbox registry;
    registry.createKey(testKey);
    HKEY key;
    ASSERT_TRUE(regOpenWrite(testKey, &key));
    int32_t number = -42;
    EXPECT_EQ(regWriteDword(key, "Number", &number), ERROR_SUCCESS);
    EXPECT_EQ(regWriteString(key, "Text", "hello"), ERROR_SUCCESS);
    EXPECT_EQ(regClose(key), ERROR_SUCCESS);

    ASSERT_TRUE(regOpenRead(testKey, &key));
    int32_t readNumber = 0;
    EXPECT_TRUE(regReadDword(key, "Number", &readNumber));
    EXPECT_EQ(readNumber, -42);
    char text[6] = "xxxxx";
    EXPECT_TRUE(regReadString(key, "Text", text, 5));
    EXPECT_STREQ(text, "hello");
    char small[4] = "abc";
    EXPECT_FALSE(regReadString(key, "Text", small, 3)) << "too long for the limit";
    EXPECT_STREQ(small, "abc");
    EXPECT_FALSE(regReadDword(key, "Missing", &readNumber));
    EXPECT_EQ(readNumber, -42);
    regClose(key);

    ASSERT_TRUE(regOpenWrite(testKey, &key));
    EXPECT_EQ(regDeleteValue(key, "Text"), ERROR_SUCCESS);
    EXPECT_NE(regDeleteValue(key, "Text"), ERROR_SUCCESS);
    regClose(key);
    EXPECT_FALSE(registry.exists(testKey, "Text"));
    EXPECT_TRUE(registry.exists(testKey, "Number"));
}

TEST(RegistryHelpers, DeleteKeyRemovesASubkey)
{
    harness::RegistrySandbox registry;
    registry.createKey("SOFTWARE\\Parent\\Child");
    HKEY parent;
    ASSERT_TRUE(regOpenWrite("SOFTWARE\\Parent", &parent));
    EXPECT_EQ(regDeleteKey(parent, "Child"), ERROR_SUCCESS);
    regClose(parent);
    HKEY child;
    EXPECT_FALSE(regOpenRead("SOFTWARE\\Parent\\Child", &child));
}

TEST(RegistryHelpers, StringWithStoredNulReadsAsTheText)
{
    harness::RegistrySandbox registry;
    registry.setString(testKey, "Server", "host", true);
    HKEY key;
    ASSERT_TRUE(regOpenRead(testKey, &key));
    char text[81];
    EXPECT_TRUE(regReadString(key, "Server", text, 80));
    EXPECT_STREQ(text, "host");
    regClose(key);
}

// Only a value of the field's own kind stands for it: REG_DWORD of four
// bytes for a number, REG_SZ (or REG_EXPAND_SZ, read as it stands) within
// the limit for a text. Anything else leaves the field as it was.
TEST(RegistryHelpers, ValuesOfTheWrongTypeOrSizeLeaveTheFieldAlone)
{
    struct Case {
        const char *name;
        DWORD type;
        std::string bytes;
        bool number; // read with regReadDword, else regReadString (limit 8)
        bool read;
        const char *field; // a number as text, or the text
    } cases[] = {
        {"dword", REG_DWORD, std::string("\x07\x00\x00\x00", 4), true, true, "7"},
        {"dword of two bytes", REG_DWORD, std::string("\x07\x00", 2), true, false, "-1"},
        {"binary of four bytes", REG_BINARY, std::string("\x07\x00\x00\x00", 4), true, false, "-1"},
        {"text of three characters and a NUL", REG_SZ, std::string("123\0", 4), true, false, "-1"},
        {"qword", REG_QWORD, std::string("\x07\x00\x00\x00\x00\x00\x00\x00", 8), true, false, "-1"},
        {"text", REG_SZ, "host", false, true, "host"},
        {"text with its NUL", REG_SZ, std::string("host\0", 5), false, true, "host"},
        {"expandable text", REG_EXPAND_SZ, "%TEMP%", false, true, "%TEMP%"},
        {"text over the limit", REG_SZ, "123456789", false, false, "old"},
        {"dword as text", REG_DWORD, std::string("abcd", 4), false, false, "old"},
        {"binary as text", REG_BINARY, "host", false, false, "old"},
        {"multi-string as text", REG_MULTI_SZ, std::string("a\0b\0\0", 5), false, false, "old"},
    };
    harness::RegistrySandbox registry;
    registry.createKey(testKey);
    for (const Case &c : cases) {
        registry.setRaw(testKey, "Value", c.type, c.bytes.data(), (DWORD)c.bytes.size());
        HKEY key;
        ASSERT_TRUE(regOpenRead(testKey, &key));
        std::string field;
        bool read;
        if (c.number) {
            int32_t number = -1;
            read = regReadDword(key, "Value", &number);
            field = std::to_string(number);
        } else {
            char text[9] = "old";
            read = regReadString(key, "Value", text, 8);
            field = text;
        }
        regClose(key);
        EXPECT_EQ(read, c.read) << c.name;
        EXPECT_EQ(field, c.field) << c.name;
    }
}

} // namespace
