#include <gtest/gtest.h>

#include <set>

#include "app/FileNaming.h"

namespace {

const char kNotification[] = "Screenshot successfully saved to %s\r\nAttributes: %dx%d pixels, %d KB";

// A predicate over a fixed set of existing names that counts its calls.
struct TExisting {
    std::set<std::string> names;
    int calls = 0;
    std::function<bool(const std::string&)> Predicate()
    {
        return [this](const std::string& name) {
            ++calls;
            return names.count(name) > 0;
        };
    }
};

} // namespace

TEST(FormatExtension, ByTheStoredFormatNumber)
{
    EXPECT_EQ(FormatExtension(ShotFormatFromIndex(0)), ".bmp");
    EXPECT_EQ(FormatExtension(ShotFormatFromIndex(1)), ".jpg");
    EXPECT_EQ(FormatExtension(ShotFormatFromIndex(2)), ".png");
    EXPECT_EQ(FormatExtension(ShotFormatFromIndex(3)), "");
    EXPECT_EQ(FormatExtension(ShotFormatFromIndex(-1)), "");
}

TEST(MakeFileName, TakesTheFirstFreeNumber)
{
    TExisting existing{{"C:\\Pics\\shot1.bmp", "C:\\Pics\\shot2.bmp"}};
    EXPECT_EQ(MakeFileName("C:\\Pics", "shot", TShotFormat::Bmp, existing.Predicate()), "C:\\Pics\\shot3.bmp");
    EXPECT_EQ(existing.calls, 3);

    TExisting gap{{"C:\\Pics\\shot2.jpg"}};
    EXPECT_EQ(MakeFileName("C:\\Pics", "shot", TShotFormat::Jpg, gap.Predicate()), "C:\\Pics\\shot1.jpg");

    TExisting upTo9{{"D:\\a\\9.png", "D:\\a\\1.png", "D:\\a\\2.png", "D:\\a\\3.png", "D:\\a\\4.png",
                     "D:\\a\\5.png", "D:\\a\\6.png", "D:\\a\\7.png", "D:\\a\\8.png"}};
    EXPECT_EQ(MakeFileName("D:\\a", "", TShotFormat::Png, upTo9.Predicate()), "D:\\a\\10.png");
}

TEST(MakeFileName, SeparatorOnlyWhereMissing)
{
    auto none = [](const std::string&) { return false; };
    EXPECT_EQ(MakeFileName("C:\\", "shot", TShotFormat::Bmp, none), "C:\\shot1.bmp");
    EXPECT_EQ(MakeFileName("C:\\Pics\\", "shot", TShotFormat::Bmp, none), "C:\\Pics\\shot1.bmp");
    EXPECT_EQ(MakeFileName("C:/Pics/", "shot", TShotFormat::Bmp, none), "C:/Pics/\\shot1.bmp") << "only a backslash ends a folder";
    EXPECT_EQ(MakeFileName("C:", "shot", TShotFormat::Bmp, none), "C:\\shot1.bmp") << "the root, not the drive-relative C:shot1";
    EXPECT_EQ(MakeFileName("", "shot", TShotFormat::Bmp, none), "\\shot1.bmp");
    EXPECT_EQ(MakeFileName("C:\\Pics", "", TShotFormat::Png, none), "C:\\Pics\\1.png");
    EXPECT_EQ(MakeFileName("C:\\Pics", "shot", TShotFormat::None, none), "C:\\Pics\\shot1");
    EXPECT_EQ(MakeFileName("C:\\Ünïcødé 写真", "写真", TShotFormat::Jpg, none), "C:\\Ünïcødé 写真\\写真1.jpg");
}

TEST(MakeFileName, AllNumbersTakenGivesEmptyAfterTryingEachOnce)
{
    std::set<std::string> seen;
    int calls = 0;
    auto all = [&](const std::string& name) {
        ++calls;
        seen.insert(name);
        return true;
    };
    EXPECT_EQ(MakeFileName("C:\\Pics", "shot", TShotFormat::Bmp, all), "");
    EXPECT_EQ(calls, 65535);
    EXPECT_EQ(seen.size(), 65535u);
    EXPECT_EQ(*seen.begin(), "C:\\Pics\\shot1.bmp");
    EXPECT_TRUE(seen.count("C:\\Pics\\shot65535.bmp"));
    EXPECT_FALSE(seen.count("C:\\Pics\\shot0.bmp"));

    int lastCalls = 0;
    auto onlyLastFree = [&](const std::string& name) {
        ++lastCalls;
        return name != "C:\\Pics\\shot65535.bmp";
    };
    EXPECT_EQ(MakeFileName("C:\\Pics", "shot", TShotFormat::Bmp, onlyLastFree), "C:\\Pics\\shot65535.bmp");
    EXPECT_EQ(lastCalls, 65535);
}

TEST(TemporaryFileName, InTheShotsFolderAndNeverAShotsName)
{
    EXPECT_EQ(TemporaryFileName("C:\\Pics", 412, 1), "C:\\Pics\\~snapquill-412-1.tmp");
    EXPECT_EQ(TemporaryFileName("C:\\", 7, 23), "C:\\~snapquill-7-23.tmp");
    EXPECT_EQ(TemporaryFileName("", 7, 1), "\\~snapquill-7-1.tmp");
    EXPECT_TRUE(IsTemporaryFileName(TemporaryFileName("D:\\Bilder \xc3\x9c", 4294967295ul, 65535)));
    EXPECT_TRUE(IsTemporaryFileName("~SnapQuill-1-2.TMP"));
    // A shot's name, whatever its prefix, is never taken for one: the next
    // start would remove a shot.
    for (TShotFormat format : {TShotFormat::Bmp, TShotFormat::Jpg, TShotFormat::Png}) {
        const std::string shot = MakeFileName("C:\\Pics", "~snapquill-1-", format, [](const std::string&) { return false; });
        EXPECT_FALSE(IsTemporaryFileName(shot)) << shot;
    }
    EXPECT_FALSE(IsTemporaryFileName("C:\\~snapquill-.tmp\\shot1.png"));
    EXPECT_FALSE(IsTemporaryFileName("~snapquill-.tmp"));
    EXPECT_FALSE(IsTemporaryFileName("snapquill-1-1.tmp"));
}

TEST(NameTooLong, PartsUpTo255AndPathsBelow260Utf16Units)
{
    const std::string folder = "C:\\Pics\\";
    EXPECT_FALSE(NameTooLong(folder + std::string(240, 'a') + ".png"));
    EXPECT_TRUE(NameTooLong(folder + std::string(252, 'a') + ".png"));
    EXPECT_FALSE(NameTooLong("C:\\" + std::string(255, 'b')));
    EXPECT_TRUE(NameTooLong("C:\\" + std::string(100, 'c') + "\\" + std::string(160, 'd')));
    // Counted in UTF-16 units: a Cyrillic letter is one (two UTF-8 bytes),
    // a character beyond the basic plane two (four bytes).
    std::string cyrillic;
    for (int i = 0; i < 200; ++i)
        cyrillic += "\xd1\x81";
    EXPECT_FALSE(NameTooLong("C:\\" + cyrillic + ".png"));
    std::string camera;
    for (int i = 0; i < 128; ++i)
        camera += "\xf0\x9f\x93\xb7";
    EXPECT_TRUE(NameTooLong("C:\\" + camera));
}

TEST(FileNamePart, AfterTheLastDelimiter)
{
    EXPECT_EQ(FileNamePart("C:\\Pics\\shot4.png"), "shot4.png");
    EXPECT_EQ(FileNamePart("C:shot4.png"), "shot4.png");
    EXPECT_EQ(FileNamePart("C:/Pics/shot4.png"), "/Pics/shot4.png") << "after the last backslash or colon";
    EXPECT_EQ(FileNamePart("\\\\server\\share\\写真1.jpg"), "写真1.jpg");
    EXPECT_EQ(FileNamePart("shot4.png"), "shot4.png");
    EXPECT_EQ(FileNamePart("C:\\Pics\\"), "");
    EXPECT_EQ(FileNamePart(""), "");
}

TEST(SizeInKB, RoundsUp)
{
    EXPECT_EQ(SizeInKB(0), 0);
    EXPECT_EQ(SizeInKB(1), 1);
    EXPECT_EQ(SizeInKB(1023), 1);
    EXPECT_EQ(SizeInKB(1024), 1);
    EXPECT_EQ(SizeInKB(1025), 2);
    EXPECT_EQ(SizeInKB(1500), 2);
    EXPECT_EQ(SizeInKB(4096000), 4000);
    // The largest 32-bit size rounds without overflowing.
    EXPECT_EQ(SizeInKB(INT32_MAX), 2097152);
}

TEST(NotificationText, NamesTheFilePictureAndSize)
{
    EXPECT_EQ(NotificationText(kNotification, "C:\\Pics\\shot4.png", 1024, 768, SizeInKB(1500)),
              "Screenshot successfully saved to shot4.png\r\nAttributes: 1024x768 pixels, 2 KB");
    EXPECT_EQ(NotificationText(kNotification, "C:\\Pics\\shot1", 1280, 780, -1),
              "Screenshot successfully saved to shot1\r\nAttributes: 1280x780 pixels, -1 KB");
}
