// The registry accessor against the real registry: keys, value types and
// the program's reading rules.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/Settings.h"
#include "framework/Registry.h"

namespace {

const TRegistryMessages kMessages{"Invalid data type for '%s'", "Failed to get data for '%s'",
                                  "Failed to set data for '%s'"};

class RegistryKey : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = "\\Software\\Vorlane\\SnapquillTest" + std::to_string(GetCurrentProcessId()) + "\\Nested";
        RegDeleteTreeW(HKEY_CURRENT_USER, Parent().c_str());
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, Parent().c_str()); }
    std::wstring Parent() const
    {
        return L"Software\\Vorlane\\SnapquillTest" + std::to_wstring(GetCurrentProcessId());
    }
    std::wstring Wide() const { return Parent() + L"\\Nested"; }
    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    std::string path_;
};

} // namespace

TEST_F(RegistryKey, OpenWithoutCreateFindsNothingAndCreateMakesParents)
{
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKey(path_, false));
    EXPECT_FALSE(registry.KeyExists(path_));
    EXPECT_FALSE(registry.WriteInteger("JPG", 1)) << "nothing is open";
    ASSERT_TRUE(registry.OpenKey(path_, true));
    EXPECT_TRUE(registry.KeyExists(path_));
}

TEST_F(RegistryKey, SettingsRoundTripWithTheirTypes)
{
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(path_, true));
        WriteSettings(registry, TSettings{"C:\\Ünïcødé 写真", "shot", 2, 7, 90, true, false}, kMessages);
    }
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Wide().c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    wchar_t text[64] = {};
    size = sizeof text;
    EXPECT_EQ(RegQueryValueExW(key, L"DefaultPath", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(text), L"C:\\Ünïcødé 写真");
    EXPECT_EQ(size, (wcslen(text) + 1) * sizeof(wchar_t)) << "the terminating zero is stored";
    DWORD value = 0;
    size = sizeof value;
    EXPECT_EQ(RegQueryValueExW(key, L"IncludeTask", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 1u);
    RegCloseKey(key);

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(path_, false));
    TSettings read;
    ReadSettings(registry, read, kMessages);
    EXPECT_EQ(read.defaultPath, "C:\\Ünïcødé 写真");
    EXPECT_EQ(read.fileFormat, 2);
    EXPECT_EQ(read.jpg, 90);
}

TEST_F(RegistryKey, ValuesOfTheWrongKindAreReported)
{
    DWORD number = 5;
    SetRaw(L"Filename", REG_DWORD, &number, sizeof number);
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(path_, false));
    EXPECT_EQ(registry.Read("Filename").type, static_cast<uint32_t>(kRegDWord));
    EXPECT_FALSE(registry.Read("Missing").exists);
    try {
        ReadStringValue(registry, "Filename", kMessages);
        FAIL() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Invalid data type for 'Filename'");
    }
    unsigned long long big = 1;
    SetRaw(L"PNG", REG_QWORD, &big, sizeof big);
    EXPECT_THROW(ReadIntegerValue(registry, "PNG", kMessages), ERegistryException);
    SetRaw(L"JPG", REG_EXPAND_SZ, L"90", 6);
    EXPECT_EQ(ReadStringValue(registry, "JPG", kMessages), "90");
}
