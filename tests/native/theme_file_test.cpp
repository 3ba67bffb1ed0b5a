#include <gtest/gtest.h>

#include <cstring>

#include "skin/SUIThemeFileReader.h"
#include "skin/SUIThemeFileWriter.h"
#include "tests/native/TestFiles.h"

namespace {

const std::vector<uint8_t> kBmp = {'B', 'M', 1, 2, 3, 4, 5};

void PutLE32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

constexpr size_t kDataOffsetField = 65, kDataSizeField = 69, kNextField = 73;

std::vector<uint8_t> TwoEntries()
{
    TThemeFileWriter writer;
    writer.AddBitmap("ButtonImage", kBmp);
    writer.AddInt("FormMinWidthInt", 130);
    return writer.Bytes();
}

// The fault named in the message of the refused file.
std::string FaultOf(const std::vector<uint8_t>& bytes)
{
    try {
        TsuiThemeFileReader reader(bytes.data(), bytes.size(), "t.theme");
    } catch (const EThemeFileError& e) {
        const std::string lead = "Theme file \"t.theme\" is damaged: ";
        EXPECT_EQ(e.Message().rfind(lead, 0), 0u) << e.Message();
        return e.Message().substr(lead.size());
    }
    return "accepted";
}

} // namespace

TEST(ThemeFile, ChainClosedByTheFirstRecordGivesEmptyLists)
{
    std::vector<uint8_t> bytes = TThemeFileWriter().Bytes();
    ASSERT_EQ(bytes.size(), 24u + 77u);
    TsuiThemeFileReader reader(bytes.data(), bytes.size(), "empty.theme");
    EXPECT_EQ(reader.BitmapCount() + reader.IntCount() + reader.ByteCount() + reader.StrCount(), 0u);
}

TEST(ThemeFile, EveryEntryTypeIsReadAndTheClosingRecordIsNot)
{
    TThemeFileWriter writer;
    writer.AddBitmap("ButtonImage", kBmp);
    writer.AddInt("TitleBarButtonRightOffsetInt", -3);
    writer.AddInt("FormBorderColor", int32_t(0xFF7F7F7F));
    writer.AddByte("ButtonTransparentBool", 1);
    writer.AddByte("TitleBarButtonTransparentBool", 0);
    writer.AddString("Author", "Vorlane");
    writer.AddRaw("LaterKind", 9, {1, 2, 3});
    std::vector<uint8_t> bytes = writer.Bytes();
    // The closing record is given a name and a valid integer: it still
    // holds no value.
    const size_t closing = TThemeFileWriter::RecordOffset(writer.EntryCount());
    std::memcpy(&bytes[closing], "Hidden", 6);
    bytes[closing + 64] = uint8_t(TsuiThemeEntryType::Integer);
    PutLE32(bytes, closing + kDataSizeField, 4);

    TsuiThemeFileReader reader(bytes.data(), bytes.size(), "t.theme");
    EXPECT_EQ(reader.BitmapCount(), 1u);
    EXPECT_EQ(reader.IntCount(), 2u);
    EXPECT_EQ(reader.ByteCount(), 2u);
    EXPECT_EQ(reader.StrCount(), 1u);
    EXPECT_EQ(reader.GetInt("TitleBarButtonRightOffsetInt"), -3);
    EXPECT_EQ(uint32_t(reader.GetInt("FormBorderColor")), 0xFF7F7F7Fu);
    EXPECT_TRUE(reader.GetBool("ButtonTransparentBool"));
    EXPECT_FALSE(reader.GetBool("TitleBarButtonTransparentBool"));
    EXPECT_EQ(reader.GetStr("Author"), "Vorlane");
    EXPECT_EQ(reader.GetInt("Hidden"), -1);

    TMemoryStream* bitmap = reader.GetBitmap("ButtonImage");
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Data(), kBmp);
    bitmap->SetPosition(5);
    EXPECT_EQ(reader.GetBitmap("ButtonImage")->Position(), 0u); // handed out rewound
}

TEST(ThemeFile, NamesIgnoreCaseAndAbsentNamesGiveDefaults)
{
    TThemeFileWriter writer;
    writer.AddInt("FormMinWidthInt", 200);
    writer.AddByte("ButtonTransparentBool", 1);
    writer.AddBitmap(std::string(64, 'N'), kBmp); // a name filling its whole field
    std::vector<uint8_t> bytes = writer.Bytes();
    TsuiThemeFileReader reader(bytes.data(), bytes.size(), "t.theme");

    EXPECT_EQ(reader.GetInt("FORMMINWIDTHINT"), 200);
    EXPECT_TRUE(reader.GetBool("buttontransparentbool"));
    EXPECT_NE(reader.GetBitmap(std::string(64, 'n')), nullptr);

    EXPECT_EQ(reader.GetInt("FormMinWidth"), -1);
    EXPECT_FALSE(reader.GetBool("FormMinWidthInt")); // an integer is no byte entry
    EXPECT_EQ(reader.GetBitmap("ButtonImage"), nullptr);
    EXPECT_EQ(reader.GetStr("FormMinWidthInt"), "");
}

TEST(ThemeFile, DamagedFilesAreRefusedNamingTheFault)
{
    std::vector<uint8_t> good = TwoEntries();
    const size_t first = TThemeFileWriter::RecordOffset(0), second = TThemeFileWriter::RecordOffset(1);
    ASSERT_EQ(FaultOf(good), "accepted");

    std::vector<uint8_t> bytes = good;
    PutLE32(bytes, 12, 40);
    EXPECT_EQ(FaultOf(bytes), "its header is 40 bytes long instead of 24");
    EXPECT_EQ(FaultOf({good.begin(), good.begin() + 15}), "the file ends inside its header");
    EXPECT_EQ(FaultOf({good.begin(), good.begin() + 23}), "the file ends inside its header");

    bytes = good;
    PutLE32(bytes, 20, uint32_t(bytes.size()) - 76);
    EXPECT_EQ(FaultOf(bytes), "the first entry lies beyond the end of the file");
    bytes = good;
    PutLE32(bytes, second + kNextField, 0xFFFFFFF0u);
    EXPECT_EQ(FaultOf(bytes), "the entry after \"FormMinWidthInt\" lies beyond the end of the file");

    bytes = good;
    PutLE32(bytes, first + kDataSizeField, uint32_t(bytes.size()));
    EXPECT_EQ(FaultOf(bytes), "entry \"ButtonImage\" lies beyond the end of the file");
    bytes = good;
    PutLE32(bytes, first + kDataOffsetField, 0xFFFFFFF0u); // offset + size wraps round in 32 bits
    PutLE32(bytes, first + kDataSizeField, 0x20);
    EXPECT_EQ(FaultOf(bytes), "entry \"ButtonImage\" lies beyond the end of the file");

    bytes = good;
    PutLE32(bytes, second + kNextField, uint32_t(first));
    EXPECT_EQ(FaultOf(bytes), "the entry after \"FormMinWidthInt\" leads back to an entry already read");
    bytes = good;
    PutLE32(bytes, first + kNextField, uint32_t(first));
    EXPECT_EQ(FaultOf(bytes), "the entry after \"ButtonImage\" leads back to an entry already read");

    // Entries that share one large block cannot take more than the file holds.
    TThemeFileWriter shared;
    shared.AddBitmap("ButtonImage", std::vector<uint8_t>(4000, 'B'));
    shared.AddBitmap("CheckBoxImage", kBmp);
    bytes = shared.Bytes();
    const size_t checkBox = first + kThemeRecordSize;
    std::memcpy(&bytes[checkBox + kDataOffsetField], &bytes[first + kDataOffsetField], 8);
    EXPECT_EQ(FaultOf(bytes), "entry \"CheckBoxImage\" repeats data held by other entries");

    TThemeFileWriter sizes;
    sizes.AddRaw("Short", uint8_t(TsuiThemeEntryType::Integer), {1, 2, 3});
    EXPECT_EQ(FaultOf(sizes.Bytes()), "entry \"Short\" holds an integer of 3 bytes instead of 4");
    TThemeFileWriter wide;
    wide.AddRaw("Wide", uint8_t(TsuiThemeEntryType::Byte), {1, 0});
    EXPECT_EQ(FaultOf(wide.Bytes()), "entry \"Wide\" holds a byte value of 2 bytes instead of 1");
}

TEST(ThemeFile, ReadsFromDiskAndNamesTheFileItCannotUse)
{
    ScratchDir dir;
    TThemeFileWriter writer;
    writer.AddInt("FormMinWidthInt", 150);
    writer.SaveToFile(dir.File("ok.theme"));
    {
        TFileStream alsoOpen(dir.File("ok.theme"), TFileStream::OpenRead); // others may hold it open
        TsuiThemeFileReader reader(dir.File("ok.theme"));
        EXPECT_EQ(reader.GetInt("FormMinWidthInt"), 150);
    }

    try {
        TsuiThemeFileReader reader(dir.File("missing.theme"));
        ADD_FAILURE() << "a missing file was read";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot open file \"" + dir.File("missing.theme") + "\". ", 0), 0u)
            << e.Message();
    }
    std::filesystem::create_directory(dir.Path() / "folder.theme");
    EXPECT_THROW(TsuiThemeFileReader(dir.File("folder.theme")), EFOpenError);

    std::vector<uint8_t> bytes = TwoEntries();
    bytes.resize(bytes.size() - 3);
    {
        TFileStream cut(dir.File("cut.theme"));
        cut.WriteBuffer(bytes.data(), bytes.size());
    }
    try {
        TsuiThemeFileReader reader(dir.File("cut.theme"));
        ADD_FAILURE() << "a cut file was read";
    } catch (const EThemeFileError& e) {
        EXPECT_EQ(e.Message(), "Theme file \"" + dir.File("cut.theme") +
                                   "\" is damaged: entry \"FormMinWidthInt\" lies beyond the end of the file");
    }
}
