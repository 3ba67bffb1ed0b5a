#include <gtest/gtest.h>

#include <map>

#include "app/Settings.h"

namespace {

const TRegistryMessages kMessages{"Invalid data type for '%s'", "Failed to get data for '%s'",
                                  "Failed to set data for '%s'"};

// Values in memory; records the order of writes and can refuse one name.
class MemoryValues : public TRegistryValues {
public:
    TRegValue Read(const std::string& name) const override
    {
        auto it = values.find(name);
        return it == values.end() ? TRegValue{} : it->second;
    }
    bool WriteString(const std::string& name, const std::string& text) override
    {
        return Store(name, {true, kRegString, Utf16Bytes(text)});
    }
    bool WriteInteger(const std::string& name, int32_t value) override
    {
        std::vector<uint8_t> data(4);
        for (int i = 0; i < 4; ++i)
            data[i] = static_cast<uint8_t>(uint32_t(value) >> (8 * i));
        return Store(name, {true, kRegDWord, data});
    }
    void SetString(const std::string& name, const std::string& text, uint32_t type = kRegString)
    {
        values[name] = {true, type, Utf16Bytes(text)};
    }
    void SetRaw(const std::string& name, uint32_t type, std::vector<uint8_t> data)
    {
        values[name] = {true, type, std::move(data)};
    }
    void SetInteger(const std::string& name, int32_t value) { WriteInteger(name, value); }

    std::map<std::string, TRegValue> values;
    std::vector<std::string> written;
    std::string refuse;

private:
    bool Store(const std::string& name, TRegValue value)
    {
        if (name == refuse)
            return false;
        written.push_back(name);
        values[name] = std::move(value);
        return true;
    }
};

MemoryValues FullKey()
{
    MemoryValues key;
    key.SetString("DefaultPath", "C:\\Pics");
    key.SetString("Filename", "snap");
    key.SetInteger("FileFormat", 2);
    key.SetInteger("PNG", 3);
    key.SetInteger("JPG", 55);
    key.SetInteger("IncludeTask", 0);
    key.SetInteger("NotifyShots", 7);
    return key;
}

std::string FailureOf(const MemoryValues& key, TSettings& settings)
{
    try {
        ReadSettings(key, settings, kMessages);
    } catch (const ERegistryException& e) {
        return e.Message();
    }
    return "";
}

} // namespace

TEST(SettingsRead, AllSevenValues)
{
    TSettings s;
    EXPECT_EQ(FailureOf(FullKey(), s), "");
    EXPECT_EQ(s.defaultPath, "C:\\Pics");
    EXPECT_EQ(s.filename, "snap");
    EXPECT_EQ(s.fileFormat, 2);
    EXPECT_EQ(s.png, 3);
    EXPECT_EQ(s.jpg, 55);
    EXPECT_FALSE(s.includeTask);
    EXPECT_TRUE(s.notifyShots); // any non-zero number
}

TEST(SettingsRead, MissingOrEmptyStringsReadEmpty)
{
    MemoryValues key = FullKey();
    key.values.erase("DefaultPath");
    key.SetRaw("Filename", kRegBinary, {}); // empty data of any type
    TSettings s;
    EXPECT_EQ(FailureOf(key, s), "");
    EXPECT_EQ(s.defaultPath, "");
    EXPECT_EQ(s.filename, "");
    EXPECT_EQ(s.jpg, 55);
}

TEST(SettingsRead, ExpandStringsAndNonAsciiTextRead)
{
    MemoryValues key = FullKey();
    key.SetString("DefaultPath", "C:\\Ünïcødé 写真 😀", kRegExpandString);
    TSettings s;
    EXPECT_EQ(FailureOf(key, s), "");
    EXPECT_EQ(s.defaultPath, "C:\\Ünïcødé 写真 😀");
}

TEST(SettingsRead, FailureStopsAtTheValueAndKeepsEarlierOnes)
{
    MemoryValues key = FullKey();
    key.values.erase("JPG");
    TSettings s;
    s.jpg = 90;
    s.includeTask = true;
    EXPECT_EQ(FailureOf(key, s), "Failed to get data for 'JPG'");
    EXPECT_EQ(s.defaultPath, "C:\\Pics");
    EXPECT_EQ(s.fileFormat, 2);
    EXPECT_EQ(s.png, 3);
    EXPECT_EQ(s.jpg, 90);
    EXPECT_TRUE(s.includeTask) << "values after the failure keep what they had";
    EXPECT_FALSE(s.notifyShots);
}

TEST(SettingsRead, WrongTypesAndSizes)
{
    struct Case {
        std::string name;
        uint32_t type;
        std::vector<uint8_t> data;
        std::string message;
    } cases[] = {
        {"DefaultPath", kRegDWord, {1, 0, 0, 0}, "Invalid data type for 'DefaultPath'"},
        {"Filename", kRegBinary, {'a', 0}, "Invalid data type for 'Filename'"},
        {"FileFormat", kRegString, {'1', 0}, "Invalid data type for 'FileFormat'"},
        {"PNG", kRegBinary, {1, 0, 0, 0}, "Invalid data type for 'PNG'"},
        {"PNG", kRegDWord, {1, 0, 0, 0, 0, 0, 0, 0}, "Failed to get data for 'PNG'"},
        {"JPG", kRegString, {'9', 0, '0', 0, 0, 0}, "Failed to get data for 'JPG'"}, // 6 bytes do not fit
        {"NotifyShots", kRegBinary, {}, "Invalid data type for 'NotifyShots'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " " + c.message);
        MemoryValues key = FullKey();
        key.SetRaw(c.name, c.type, c.data);
        TSettings s;
        EXPECT_EQ(FailureOf(key, s), c.message);
    }
}

TEST(SettingsRead, ShortIntegersAreZeroExtended)
{
    MemoryValues key = FullKey();
    key.SetRaw("JPG", kRegDWord, {75});
    key.SetRaw("FileFormat", kRegDWord, {0xFF, 0xFF, 0xFF, 0xFF});
    TSettings s;
    EXPECT_EQ(FailureOf(key, s), "");
    EXPECT_EQ(s.jpg, 75);
    EXPECT_EQ(s.fileFormat, -1);
}

TEST(SettingsRead, MenuValuesOfAnEarlierVersionOrDamagedTakeTheirDefaults)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> screens; // empty: no value
        uint32_t screensType;
        int32_t expectedScreens;
        std::vector<uint8_t> clipboard;
        bool expectedClipboard;
    } cases[] = {
        {"missing (a key of the seven only)", {}, kRegDWord, 0, {}, false},
        {"in range", {2, 0, 0, 0}, kRegDWord, 2, {1, 0, 0, 0}, true},
        {"out of range", {3, 0, 0, 0}, kRegDWord, 0, {2, 0, 0, 0}, false},
        {"negative", {0xFF, 0xFF, 0xFF, 0xFF}, kRegDWord, 0, {0xFF, 0xFF, 0xFF, 0xFF}, false},
        {"wrong type", {'1', 0}, kRegString, 0, {1, 0}, false},
        {"short", {1}, kRegDWord, 0, {1}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryValues key = FullKey();
        if (!c.screens.empty())
            key.SetRaw("CaptureScreens", c.screensType, c.screens);
        if (!c.clipboard.empty())
            key.SetRaw("CopyToClipboard", c.screensType, c.clipboard);
        TSettings s;
        s.captureScreens = 1; // what the panel had: a bad value still gives the default
        s.copyToClipboard = true;
        EXPECT_EQ(FailureOf(key, s), "");
        EXPECT_EQ(s.captureScreens, c.expectedScreens);
        EXPECT_EQ(s.copyToClipboard, c.expectedClipboard);
        EXPECT_EQ(s.jpg, 55) << "the seven read as before";
    }
}

TEST(SettingsWrite, WritesAllInOrderAndRoundTrips)
{
    MemoryValues key;
    TSettings out{"D:\\写真", "", -1, 0, 100, false, true, 2, true};
    WriteSettings(key, out, kMessages);
    EXPECT_EQ(key.written, (std::vector<std::string>{"DefaultPath", "Filename", "FileFormat", "PNG", "JPG",
                                                     "IncludeTask", "NotifyShots", "CaptureScreens",
                                                     "CopyToClipboard"}));
    EXPECT_EQ(key.values["IncludeTask"].data, (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(key.values["NotifyShots"].data, (std::vector<uint8_t>{1, 0, 0, 0}));
    // Strings keep their terminating zero.
    EXPECT_EQ(key.values["Filename"].data, (std::vector<uint8_t>{0, 0}));
    TSettings in;
    EXPECT_EQ(FailureOf(key, in), "");
    EXPECT_EQ(in.defaultPath, out.defaultPath);
    EXPECT_EQ(in.fileFormat, -1);
    EXPECT_EQ(in.png, 0);
    EXPECT_EQ(in.jpg, 100);
    EXPECT_EQ(in.captureScreens, 2);
    EXPECT_TRUE(in.copyToClipboard);
}

TEST(SettingsWrite, FailingWriteStopsTheRest)
{
    MemoryValues key;
    key.refuse = "PNG";
    try {
        WriteSettings(key, TSettings{}, kMessages);
        FAIL() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Failed to set data for 'PNG'");
    }
    EXPECT_EQ(key.written, (std::vector<std::string>{"DefaultPath", "Filename", "FileFormat"}));
}
