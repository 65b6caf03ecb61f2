// The registry helpers: HKEY_LOCAL_MACHINE only, keys never created.
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

} // namespace
