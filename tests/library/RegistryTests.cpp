#include <string.h>

#include <gtest/gtest.h>

#include "Registry.h"
#include "Text.h"

namespace {
const char* const kTestKey = "Software\\VellmoraTests\\Registry";

class RegistryKeyTest : public testing::Test {
protected:
    void TearDown() override
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VellmoraTests\\Registry\\Child");
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
    }
};
} // namespace

TEST_F(RegistryKeyTest, OpenExistingFailsForAMissingKeyAndLeavesNoHandle)
{
    CRegistryKey key;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_CURRENT_USER, kTestKey, kKeyOpenExisting | kKeyRead));
    EXPECT_EQ(nullptr, key.GetHandle());
    EXPECT_EQ(ERROR_SUCCESS, key.Close()) << "closing a key that was never opened";
}

TEST_F(RegistryKeyTest, CreatesWritesAndReadsBack)
{
    {
        CRegistryKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, kTestKey, kKeyAllAccessCreate));
        DWORD style = 15;
        EXPECT_EQ(ERROR_SUCCESS, key.SetValue("Style", REG_DWORD, &style, sizeof style));
        EXPECT_EQ(ERROR_SUCCESS, key.SetValue("Name", REG_SZ, "Vellmora", 9));
    }
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, kTestKey, kKeyOpenExisting | kKeyRead));
    DWORD style = 0, type = 0;
    EXPECT_EQ(sizeof style, key.QueryValue("Style", &style, sizeof style, &type));
    EXPECT_EQ(15u, style);
    EXPECT_EQ((DWORD)REG_DWORD, type);
    EXPECT_EQ(0u, key.QueryValue("Missing", &style, sizeof style, nullptr));
    char small[2];
    EXPECT_EQ(0u, key.QueryValue("Name", small, sizeof small, nullptr)) << "a buffer too small fails";

    CText name;
    EXPECT_EQ(9u, key.QueryString("Name", name));
    EXPECT_STREQ("Vellmora", name.GetString());
    EXPECT_EQ(0u, key.QueryString("Missing", name));
    EXPECT_EQ(0, name.GetLength());
}

TEST_F(RegistryKeyTest, ReadOnlyKeyRefusesWritesAndReopeningClosesTheOldKey)
{
    CRegistryKey writer;
    ASSERT_EQ(ERROR_SUCCESS, writer.Open(HKEY_CURRENT_USER, kTestKey, kKeyAllAccessCreate));
    writer.Close();

    CRegistryKey reader;
    ASSERT_EQ(ERROR_SUCCESS, reader.Open(HKEY_CURRENT_USER, kTestKey, kKeyOpenExisting | kKeyQueryValue));
    DWORD value = 1;
    EXPECT_EQ(ERROR_ACCESS_DENIED, reader.SetValue("Denied", REG_DWORD, &value, sizeof value));

    ASSERT_EQ(ERROR_SUCCESS,
              reader.Open(HKEY_CURRENT_USER, "Software\\VellmoraTests\\Registry\\Child", kKeyCreateSubKey | kKeySetValue));
    EXPECT_EQ(ERROR_SUCCESS, reader.SetValue("Allowed", REG_DWORD, &value, sizeof value));
}

TEST(RegistryAccessFlags, MapToRegistryRights)
{
    EXPECT_EQ((REGSAM)KEY_ALL_ACCESS, CRegistryKey::SamFromFlags(0xFE));
    EXPECT_EQ((REGSAM)KEY_READ, CRegistryKey::SamFromFlags(0x11));
    EXPECT_EQ((REGSAM)(KEY_CREATE_LINK | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS),
              CRegistryKey::SamFromFlags(0x0E | 0x01));
    EXPECT_EQ((REGSAM)(KEY_NOTIFY | KEY_QUERY_VALUE | KEY_SET_VALUE), CRegistryKey::SamFromFlags(0xE0));
    EXPECT_EQ(0u, CRegistryKey::SamFromFlags(0x100)) << "volatile is an option, not a right";
}
