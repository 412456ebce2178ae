#include "install/RegistryKey.h"

#include "platform/Wow64.h"

#include "support/RegistryProbe.h"
#include "support/ScopedWow64Flag.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// A key of this test's own under HKEY_LOCAL_MACHINE, removed with everything
// below it after each test.
const char kTestKey[] = "Software\\TalvornRegistryKeyTest";
// Where a 64-bit process finds the 32-bit view of the same key.
const char kReflectedTestKey[] = "Software\\Wow6432Node\\TalvornRegistryKeyTest";

std::string Sub(const char* leaf)
{
    return std::string(kTestKey) + "\\" + leaf;
}

void WriteRawString(const std::string& subkey, const char* name, const char* text, REGSAM view = 0)
{
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                     static_cast<DWORD>(std::strlen(text) + 1));
    ::RegCloseKey(key);
}

// Whether a key handle that the test saw earlier has been closed. A closed
// handle's number may be handed out again for the next key.
bool HandleIsGone(HKEY seen, HKEY current)
{
    if (seen == current)
        return true;
    return ::RegQueryInfoKeyA(seen, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr)
        == ERROR_INVALID_HANDLE;
}

class RegistryKeyTest : public testing::Test {
protected:
    void SetUp() override
    {
        RemoveTestKeys();
        WriteRawString(Sub("A"), "Name", "a");
        WriteRawString(Sub("B"), "Name", "b");
    }
    void TearDown() override { RemoveTestKeys(); }

    static void RemoveTestKeys()
    {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kTestKey);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kReflectedTestKey);
    }
};

} // namespace

TEST(RegistryAccessRights, NativeViewOn64BitWindows)
{
    struct Case {
        bool wow64;
        REGSAM rights;
    } cases[] = {
        // KEY_READ | KEY_WOW64_64KEY | KEY_CREATE_SUB_KEY | KEY_SET_VALUE
        {true, 0x2011F},
        // KEY_ALL_ACCESS
        {false, 0xF003F},
    };
    for (const Case& c : cases) {
        ScopedWow64Flag flag(c.wow64);
        EXPECT_EQ(RegistryAccessRights(), c.rights) << c.wow64;
    }
}

TEST_F(RegistryKeyTest, OpenReadsAndWritesTheNativeKeyOn64BitWindows)
{
    // The same key in the 32-bit reflection, with a different value.
    WriteRawString(Sub("View"), "Side", "native");
    WriteRawString(Sub("View"), "Side", "reflection", KEY_WOW64_32KEY);
    ASSERT_EQ(ReadRaw(Sub("View"), "Side", KEY_WOW64_32KEY).data, std::string("reflection", 11));

    ScopedWow64Flag flag(true);
    CRegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, Sub("View").c_str()));
    char text[32] = {};
    ASSERT_TRUE(key.QueryValue("Side", text, sizeof(text)));
    EXPECT_STREQ(text, "native");

    // The rights of the 64-bit view are enough to write there.
    EXPECT_TRUE(key.SetDword("Written", 7));
    EXPECT_EQ(ReadRaw(Sub("View"), "Written").status, ERROR_SUCCESS);
    EXPECT_EQ(ReadRaw(Sub("View"), "Written", KEY_WOW64_32KEY).status, ERROR_FILE_NOT_FOUND);

    EXPECT_TRUE(CreateRegistryKey(HKEY_LOCAL_MACHINE, Sub("View\\Created").c_str()));
    EXPECT_TRUE(KeyExists(Sub("View\\Created"), KEY_WOW64_64KEY));
    EXPECT_FALSE(KeyExists(Sub("View\\Created"), KEY_WOW64_32KEY));
}

TEST_F(RegistryKeyTest, OwnsOneKeyAtATime)
{
    HKEY first = nullptr;
    {
        CRegistryKey key;
        EXPECT_FALSE(key.Close()) << "no key yet";

        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, Sub("A").c_str()));
        first = key.Handle();
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, Sub("B").c_str()));
        EXPECT_TRUE(HandleIsGone(first, key.Handle()));
        char text[8] = {};
        ASSERT_TRUE(key.QueryValue("Name", text, sizeof(text)));
        EXPECT_STREQ(text, "b");

        EXPECT_TRUE(key.Close());
        EXPECT_FALSE(key.IsOpen());
        EXPECT_FALSE(key.Close()) << "closed twice";

        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, Sub("A").c_str()));
        first = key.Handle();
    }
    // The destructor closed it.
    EXPECT_TRUE(HandleIsGone(first, nullptr));
}

TEST_F(RegistryKeyTest, AFailedOpenLeavesNoKey)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, Sub("A").c_str()));
    HKEY previous = key.Handle();

    EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, Sub("Missing").c_str()));
    EXPECT_EQ(key.m_nLastError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_TRUE(HandleIsGone(previous, nullptr));
    EXPECT_FALSE(key.Close());
}

TEST_F(RegistryKeyTest, TypedValuesAsTheSystemStoresThem)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, Sub("A").c_str()));

    DWORD error = 0xDEAD;
    ASSERT_TRUE(key.SetDword("Number", 0x12345678, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(key.m_nDataSize, 4u);
    RawValue number = ReadRaw(Sub("A"), "Number");
    EXPECT_EQ(number.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(number.data, std::string("\x78\x56\x34\x12", 4));
    DWORD read = 0;
    EXPECT_TRUE(key.QueryDword("Number", &read));
    EXPECT_EQ(read, 0x12345678u);

    ASSERT_TRUE(key.SetString("Text", "9600,n,8,1,x"));
    EXPECT_EQ(key.m_nDataSize, 2000u);
    RawValue text = ReadRaw(Sub("A"), "Text");
    EXPECT_EQ(text.type, static_cast<DWORD>(REG_SZ));
    // Stored with its terminating zero.
    EXPECT_EQ(text.data, std::string("9600,n,8,1,x", 13));

    const BYTE record[5] = {1, 0, 2, 0, 3};
    ASSERT_TRUE(key.SetValue("Record", record, REG_NONE, sizeof(record)));
    RawValue raw = ReadRaw(Sub("A"), "Record");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(raw.data, std::string(reinterpret_cast<const char*>(record), sizeof(record)));
    // Any type reads back as bytes.
    BYTE back[5] = {};
    EXPECT_TRUE(key.QueryValue("Record", back, sizeof(back)));
    EXPECT_EQ(std::memcmp(back, record, sizeof(record)), 0);
}

TEST_F(RegistryKeyTest, ReadFailuresCarryTheRegistrysAnswer)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, Sub("A").c_str()));

    DWORD value = 5;
    DWORD error = 0;
    EXPECT_FALSE(key.QueryDword("Missing", &value, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(key.m_nLastError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    // "a" and its zero do not fit into one byte.
    char small[1] = {};
    EXPECT_FALSE(key.QueryValue("Name", small, sizeof(small)));
    EXPECT_EQ(key.m_nLastError, static_cast<DWORD>(ERROR_MORE_DATA));

    // A success clears the last answer.
    char text[8] = {};
    EXPECT_TRUE(key.QueryValue("Name", text, sizeof(text)));
    EXPECT_EQ(key.m_nLastError, static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(RegistryKeyTest, WithoutAKeyEveryOperationFailsAndTouchesNothing)
{
    CRegistryKey key;
    // Also after a key was open once.
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, Sub("A").c_str()));
    ASSERT_TRUE(key.Close());

    DWORD value = 0xAAAA;
    DWORD error = 0xBBBB;
    const struct {
        const char* name;
        std::function<bool()> call;
    } operations[] = {
        {"Close", [&] { return key.Close(); }},
        {"QueryValue", [&] { return key.QueryValue("Name", &value, sizeof(value)); }},
        {"QueryDword", [&] { return key.QueryDword("Name", &value, &error); }},
        {"SetDword", [&] { return key.SetDword("New", 1, &error); }},
        {"SetString", [&] { return key.SetString("New", "x", &error); }},
        {"SetValue", [&] { return key.SetValue("New", &value, REG_BINARY, sizeof(value)); }},
    };
    for (const auto& operation : operations) {
        EXPECT_FALSE(operation.call()) << operation.name;
        EXPECT_EQ(value, 0xAAAAu) << operation.name;
        EXPECT_EQ(error, 0xBBBBu) << operation.name;
    }
    EXPECT_EQ(key.m_nDataSize, 0u);
    EXPECT_EQ(ReadRaw(Sub("A"), "New").status, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryKeyTest, CreateMakesTheWholePathAndAcceptsAnExistingKey)
{
    EXPECT_TRUE(CreateRegistryKey(HKEY_LOCAL_MACHINE, Sub("New\\Deeper\\Deepest").c_str()));
    EXPECT_TRUE(KeyExists(Sub("New\\Deeper\\Deepest")));
    EXPECT_TRUE(CreateRegistryKey(HKEY_LOCAL_MACHINE, Sub("A").c_str()));
    EXPECT_EQ(ReadRaw(Sub("A"), "Name").data, std::string("a", 2)) << "an existing key keeps its values";
}

TEST_F(RegistryKeyTest, CreateReportsARefusal)
{
    // The registry refuses a lasting key below a volatile one.
    HKEY volatileKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, Sub("Volatile").c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(volatileKey);
    EXPECT_FALSE(CreateRegistryKey(HKEY_LOCAL_MACHINE, Sub("Volatile\\Lasting").c_str()));
    EXPECT_FALSE(KeyExists(Sub("Volatile\\Lasting")));

    EXPECT_FALSE(CreateRegistryKey(nullptr, "Software\\TalvornNoRoot"));
}
