#include <gtest/gtest.h>

#include "core/Exception.h"
#include "core/Stream.h"
#include "tests/native/TestFiles.h"

TEST(FileStream, CreateNewNeverOverwrites)
{
    ScratchDir dir;
    std::string name = dir.File("shot1.png");
    {
        TFileStream first(name, TFileStream::CreateNew);
        first.WriteBuffer("abc", 3);
    }
    EXPECT_THROW(TFileStream(name, TFileStream::CreateNew), EFileExists);
    EXPECT_EQ(ReadFileBytes(name), (std::vector<uint8_t>{'a', 'b', 'c'}));

    TFileStream again(name); // the default mode empties it
    EXPECT_EQ(std::filesystem::file_size(name), 0u);
}

TEST(FileStream, DirectoryOfThatNameIsNotAnExistingFile)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir.Path() / "shot1.png");
    try {
        TFileStream stream(dir.File("shot1.png"), TFileStream::CreateNew);
        FAIL() << "a directory cannot be written as a file";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file \"", 0), 0u);
    }
}

TEST(MemoryStream, WritesGrowAndReadsStopAtTheEnd)
{
    TMemoryStream stream;
    stream.WriteBuffer("hello", 5);
    stream.SetPosition(3);
    stream.WriteBuffer("p!", 2);
    EXPECT_EQ(stream.Size(), 5u);
    stream.WriteBuffer("?", 1);
    stream.SetPosition(0);
    char text[8] = {};
    EXPECT_EQ(stream.Read(text, sizeof text), 6u);
    EXPECT_STREQ(text, "help!?");
    EXPECT_THROW(stream.ReadBuffer(text, 1), EReadError);
}
