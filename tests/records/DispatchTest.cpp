#include "TestRecord.h"
#include "win/AllocationProbe.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (const int v : values)
        bytes.push_back(static_cast<char>(v));
    return bytes;
}

std::string Written(const std::function<void(std::ostream&)>& write)
{
    std::ostringstream os(std::ios::binary);
    write(os);
    return os.str();
}

TEST(DispatchRaw, LittleEndianBytes)
{
    EXPECT_EQ(Written([](auto& os) { WriteDispatchRaw16(os, 0x1234); }), Bytes({ 0x34, 0x12 }));
    EXPECT_EQ(
        Written([](auto& os) { WriteDispatchRaw32(os, 0xA1B2C3D4); }), Bytes({ 0xD4, 0xC3, 0xB2, 0xA1 }));
    EXPECT_EQ(Written([](auto& os) { WriteDispatchRaw64(os, 0x0102030405060708); }),
        Bytes({ 8, 7, 6, 5, 4, 3, 2, 1 }));
    EXPECT_EQ(
        Written([](auto& os) { WriteDispatchRawDouble(os, 1.5); }), Bytes({ 0, 0, 0, 0, 0, 0, 0xF8, 0x3F }));
    EXPECT_EQ(
        Written([](auto& os) { WriteDispatchRawString(os, "Proof"); }), Bytes({ 5, 0, 0, 0 }) + "Proof");
}

TEST(DispatchWriters, FullWriteOfEveryType)
{
    TestRecord record;
    record.count = -2;
    record.name = "Proof";
    record.flag = true;
    record.position = { 1, -1 };
    record.extent = { 300, 200 };
    record.total = 3;
    record.MarkAllFieldsModified();
    const std::string bytes = Written([&](auto& os) { record.WriteFields(false, os, true); });
    const std::string expected = Bytes({ 0, 0, 0xFE, 0xFF, 0xFF, 0xFF }) // 0 Count
        + Bytes({ 1, 0, 5, 0, 0, 0 }) + "Proof" // 1 Name
        + Bytes({ 2, 0, 1 }) // 2 Flag
        + Bytes({ 3, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF }) // 3 Position
        + Bytes({ 4, 0, 0x2C, 1, 0, 0, 0xC8, 0, 0, 0 }) // 4 Extent
        + Bytes({ 5, 0, 3, 0, 0, 0 }) // 5 Total
        + Bytes({ 6, 0 }); // terminator
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(record.GetModifiedMask(), 0u) << "a full write clears what it wrote";
}

TEST(DispatchWriters, PendingOnlyWritesModifiedFields)
{
    TestRecord record;
    record.total = 3;
    record.count = 9;
    record.SetFieldModified(5);
    EXPECT_EQ(
        Written([&](auto& os) { record.WriteFields(true, os, true); }), Bytes({ 5, 0, 3, 0, 0, 0, 6, 0 }));
    EXPECT_FALSE(record.IsFieldModified(5));
    EXPECT_EQ(Written([&](auto& os) { record.WriteFields(true, os, false); }), "");
}

TEST(DispatchReaders, FieldUpdateMessage)
{
    TestRecord record;
    record.SetFieldModified(5);
    record.SetFieldModified(1);
    std::istringstream in(Bytes({ 2, 5, 0, 3, 0, 0, 0, 6, 0 }));
    EXPECT_EQ(record.ReadFields(in), 2);
    EXPECT_EQ(record.total, 3u);
    EXPECT_FALSE(record.IsFieldModified(5)) << "a field read is not modified";
    EXPECT_TRUE(record.IsFieldModified(1));
}

TEST(DispatchReaders, RoundTripAndBoolBytes)
{
    TestRecord source;
    source.count = INT32_MIN;
    source.name = std::string("a\0b\xFF", 4);
    source.flag = true;
    source.position = { -7, 8 };
    source.extent = { 9, -10 };
    source.total = 0xFFFFFFFF;
    std::stringstream message(std::ios::in | std::ios::out | std::ios::binary);
    message.put(2);
    source.WriteFields(false, message, true);

    TestRecord copy;
    copy.ReadFields(message);
    EXPECT_EQ(copy.count, source.count);
    EXPECT_EQ(copy.name, source.name);
    EXPECT_TRUE(copy.flag);
    EXPECT_EQ(copy.position, source.position);
    EXPECT_EQ(copy.extent, source.extent);
    EXPECT_EQ(copy.total, source.total);

    std::istringstream anyNonZero(Bytes({ 2, 2, 0, 0x80, 6, 0 }));
    copy.flag = false;
    copy.ReadFields(anyNonZero);
    EXPECT_TRUE(copy.flag);
}

std::string ErrorText(TestRecord& record, const std::string& bytes)
{
    std::istringstream in(bytes);
    try {
        record.ReadFields(in);
    } catch (const DatabaseRecord::DispatchReadError& e) {
        return e.what();
    }
    return "no error";
}

TEST(DispatchReaders, EmptyOrFailedStreamThrows)
{
    TestRecord record(4);
    EXPECT_EQ(ErrorText(record, ""), "Attempt to read from faulty stream: TestRecord: 4");

    std::istringstream failed(Bytes({ 2, 6, 0 }));
    failed.setstate(std::ios::failbit);
    EXPECT_THROW(record.ReadFields(failed), DatabaseRecord::DispatchReadError);
}

// Every cut of a valid message, short of its full length, throws; the fields read before the cut
// keep their new values.
TEST(DispatchReaders, EveryTruncationThrows)
{
    TestRecord source;
    source.name = "Truncated";
    source.position = { 5, 6 };
    std::string message(1, '\2');
    message += Written([&](auto& os) { source.WriteFields(false, os, true); });

    for (std::size_t length = 0; length < message.size(); ++length) {
        TestRecord record;
        const std::string text = ErrorText(record, message.substr(0, length));
        EXPECT_TRUE(text.starts_with("Attempt to read from faulty stream: ")
            || text.starts_with("Attempt to read string from faulty stream: "))
            << length << ": " << text;
    }
    TestRecord record;
    EXPECT_EQ(ErrorText(record, message), "no error");
}

TEST(DispatchReaders, OversizedLengthsAndUnknownIds)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::string error;
    };
    const std::vector<Case> cases = {
        { "string longer than the message", Bytes({ 2, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF }) + "abc",
            "Attempt to read string from faulty stream: TestRecord: 0" },
        { "string length cut short", Bytes({ 2, 1, 0, 5, 0 }),
            "Attempt to read string from faulty stream: TestRecord: 0" },
        { "value cut short", Bytes({ 2, 3, 0, 1, 0, 0, 0, 2 }),
            "Attempt to read from faulty stream: TestRecord: 0" },
        { "unknown field id", Bytes({ 2, 9, 0, 1, 0, 0, 0, 6, 0 }),
            "Unknown field id 9 in record message: TestRecord: 0" },
        { "no terminator", Bytes({ 2, 5, 0, 1, 0, 0, 0 }),
            "Attempt to read from faulty stream: TestRecord: 0" },
        { "child of an unknown type", Bytes({ 0, 27, 1, 0, 0, 0, 2, 6, 0 }),
            "Unknown child record type 27 in record message: TestRecord: 0" },
        { "child header cut short", Bytes({ 0, 28, 1, 0 }),
            "Attempt to read from faulty stream: TestRecord: 0" },
    };
    for (const auto& c : cases) {
        TestRecord record;
        EXPECT_EQ(ErrorText(record, c.bytes), c.error) << c.name;
    }
}

// A string length from the stream never allocates ahead of the bytes that arrive: the text grows
// with what is read, whatever the length claims.
TEST(DispatchReaders, FalseStringLengthAllocatesOnlyForTheBytesPresent)
{
    for (const uint32_t length : { 0xFFFFFFFFu, 0x7FFFFFFFu, 0x01000000u }) {
        SCOPED_TRACE(length);
        TestRecord record;
        std::string bytes = Bytes({ 2, 1, 0 });
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<char>((length >> shift) & 0xFF));
        std::istringstream in(bytes + std::string(1000, 'x'));
        const AllocationProbe probe;
        EXPECT_THROW(record.ReadFields(in), DatabaseRecord::DispatchReadError);
        EXPECT_LT(probe.Largest(), std::size_t { 1 } << 20);
    }
}

TEST(DispatchReaders, ChildMessages)
{
    TestRecord parent;
    const std::string add = Bytes({ 0, 28, 7, 0, 0, 0, 2, 0, 0, 4, 0, 0, 0, 6, 0 });
    std::istringstream addIn(add);
    EXPECT_EQ(parent.ReadFields(addIn), 0);
    ASSERT_EQ(parent.children.size(), 1u);
    EXPECT_EQ(parent.children[0]->GetId(), 7u);
    EXPECT_EQ(parent.children[0]->count, 4);
    EXPECT_EQ(parent.children[0]->events, std::vector<std::string> { "added" });

    std::istringstream removeUnknown(Bytes({ 1, 28, 8, 0, 0, 0 }));
    parent.ReadFields(removeUnknown);
    EXPECT_EQ(parent.children.size(), 1u) << "no child has id 8";

    const auto child = parent.children[0];
    std::istringstream remove(Bytes({ 1, 28, 7, 0, 0, 0 }));
    parent.ReadFields(remove);
    EXPECT_TRUE(parent.children.empty());
    EXPECT_EQ(child->events, (std::vector<std::string> { "added", "removed" }));
}

TEST(DispatchReaders, ReadAsChildTellsTheRecordFirst)
{
    TestRecord record;
    std::istringstream in(Bytes({ 2, 0, 0, 1, 0, 0, 0, 6, 0 }));
    record.ReadAsChild(12, in);
    EXPECT_EQ(record.events, std::vector<std::string> { "added" });
    EXPECT_EQ(record.count, 1);
    EXPECT_EQ(record.GetId(), 0u) << "the id is not stored";
}

} // namespace
