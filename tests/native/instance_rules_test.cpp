#include <gtest/gtest.h>

#include <cstring>

#include "core/InstanceRules.h"

TEST(MappingName, DropsBackslashesAndBlanks)
{
    EXPECT_EQ(MappingName("C:\\Tools\\My App\\shot.exe"), "C:ToolsMyAppshot.exe");
    EXPECT_EQ(MappingName("  \\\\ "), "");
    EXPECT_EQ(MappingName(""), "");
}

TEST(MappingName, KeepsCaseAndOtherCharacters)
{
    EXPECT_EQ(MappingName("C:\\TOOLS\\Shot.EXE"), "C:TOOLSShot.EXE");
    EXPECT_NE(MappingName("C:\\Tools\\shot.exe"), MappingName("c:\\tools\\shot.exe"));
    EXPECT_EQ(MappingName("D:\\a/b\\c\td.exe"), "D:a/bc\td.exe");
    // UTF-8 text passes through byte for byte.
    EXPECT_EQ(MappingName("C:\\B\xC3\xBCro\\x y.exe"), "C:B\xC3\xBCroxy.exe");
}

TEST(InstanceRecord, IsEightBytesLittleEndian)
{
    TInstanceRecord record{0x11223344u, 0x00000002u};
    unsigned char bytes[8];
    std::memcpy(bytes, &record, sizeof bytes);
    const unsigned char expected[8] = {0x44, 0x33, 0x22, 0x11, 0x02, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(bytes, expected, sizeof bytes), 0);
}

TEST(AdmitInstance, FirstCopyCountsItselfWhateverTheLimit)
{
    TInstanceRecord record = FirstInstanceRecord(0x1234);
    EXPECT_EQ(record.LastInstanceHandle, 0x1234u);
    EXPECT_EQ(record.InstanceCount, 1u);
}

// One more copy against the limit: admitted or refused, and the record it
// leaves; a refusal changes nothing.
TEST(AdmitInstance, AdmitsUpToTheLimitAndRecordsTheLastCopy)
{
    const struct {
        const char* name;
        TInstanceRecord before;
        uint32_t maxInstances, handle;
        bool admitted;
        TInstanceRecord after;
    } cases[] = {
        {"max 1 refuses the second", {100, 1}, 1, 200, false, {100, 1}},
        {"max 2 admits the second", {100, 1}, 2, 200, true, {200, 2}},
        {"max 2 refuses the third", {200, 2}, 2, 300, false, {200, 2}},
        {"max 0 refuses on an existing record", {100, 1}, 0, 200, false, {100, 1}},
        {"max 0 refuses even on a record left at 0 by ended copies", {100, 0}, 0, 200, false, {100, 0}},
        {"a released record admits again", {100, 0}, 1, 300, true, {300, 1}},
        {"counts compare unsigned: at the limit", {1, 0x80000000u}, 0x7FFFFFFFu, 2, false, {1, 0x80000000u}},
        {"counts compare unsigned: below it", {1, 0x80000000u}, 0xFFFFFFFFu, 2, true, {2, 0x80000001u}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TInstanceRecord record = c.before;
        EXPECT_EQ(AdmitInstance(record, c.maxInstances, c.handle), c.admitted);
        EXPECT_EQ(record.LastInstanceHandle, c.after.LastInstanceHandle);
        EXPECT_EQ(record.InstanceCount, c.after.InstanceCount);
    }
}

TEST(ReleaseInstance, NeverGoesBelowZero)
{
    TInstanceRecord record{7, 2};
    ReleaseInstance(record);
    EXPECT_EQ(record.InstanceCount, 1u);
    ReleaseInstance(record);
    EXPECT_EQ(record.InstanceCount, 0u);
    ReleaseInstance(record);
    EXPECT_EQ(record.InstanceCount, 0u);
    EXPECT_EQ(record.LastInstanceHandle, 7u);
}

TEST(OSErrorMessage, ShowsCodeAndSystemText)
{
    EXPECT_EQ(OSErrorMessage(5, "Access is denied."), "System Error.  Code: 5.\r\nAccess is denied.");
    EXPECT_EQ(OSErrorMessage(1450, ""), "System Error.  Code: 1450.\r\n");
}

TEST(OSErrorMessage, ZeroIsAFailedCall)
{
    EXPECT_EQ(OSErrorMessage(0, "The operation completed successfully."), "A call to an OS function failed");
}

TEST(InstanceRules, PublishedHandlesAreSignExtendedBack)
{
    EXPECT_EQ(HandleFromValue(0x00012345u), intptr_t(0x12345));
    EXPECT_EQ(static_cast<uint64_t>(HandleFromValue(0x80001234u)), 0xFFFFFFFF80001234ull);
}
