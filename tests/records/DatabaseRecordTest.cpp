#include "TestRecord.h"
#include "records/TraverseActions.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

TEST(DatabaseRecord, FreshRecordHasNoIdAndOwnsItself)
{
    TestRecord record;
    EXPECT_EQ(record.GetId(), 0u);
    EXPECT_FALSE(record.HasId());
    EXPECT_EQ(record.GetOwner(), &record);
    EXPECT_EQ(record.GetModifiedMask(), 0u);
    for (uint16_t id = 0; id < 70; ++id)
        EXPECT_FALSE(record.IsFieldModified(id));
}

TEST(DatabaseRecord, CopiesNeverTakeIdOwnerOrMask)
{
    TestRecord owner;
    TestRecord source(42);
    source.SetOwner(&owner);
    source.SetFieldModified(3);
    source.name = "Master";

    TestRecord copy(source);
    EXPECT_EQ(copy.name, "Master");
    EXPECT_EQ(copy.GetId(), 0u);
    EXPECT_EQ(copy.GetOwner(), &copy);
    EXPECT_EQ(copy.GetModifiedMask(), 0u);

    TestRecord target(7);
    target.SetFieldModified(1);
    target = source;
    EXPECT_EQ(target.name, "Master");
    EXPECT_EQ(target.GetId(), 7u);
    EXPECT_EQ(target.GetOwner(), &target);
    EXPECT_EQ(target.GetModifiedMask(), uint64_t { 1 } << 1);
}

TEST(DatabaseRecord, MaskFunctionsCoverIdsZeroTo63Only)
{
    TestRecord record;
    for (const uint16_t id : { 0, 5, 63 }) {
        record.SetFieldModified(id);
        EXPECT_TRUE(record.IsFieldModified(id)) << id;
    }
    EXPECT_EQ(record.GetModifiedMask(), (uint64_t { 1 } << 63) | (uint64_t { 1 } << 5) | 1u);
    for (const uint16_t id : { 64, 100, 65535 }) {
        const uint64_t before = record.GetModifiedMask();
        record.SetFieldModified(id);
        record.ClearFieldModified(id);
        EXPECT_EQ(record.GetModifiedMask(), before) << id;
        EXPECT_FALSE(record.IsFieldModified(id)) << id;
    }
    record.SetFieldsModified(64);
    EXPECT_TRUE(record.IsFieldModified(63));
    EXPECT_FALSE(record.IsFieldModified(64)) << "whatever the mask holds";
    record.ClearFieldModified(63);
    EXPECT_FALSE(record.IsFieldModified(63));
    record.ClearModified();
    record.MarkAllFieldsModified();
    EXPECT_EQ(record.GetModifiedMask(), 0x3Fu);
}

// A record class that keeps the base traversal.
class PlainRecord : public DatabaseRecord {
public:
    std::string Describe() const override { return "PlainRecord: " + std::to_string(GetId()); }
    void MarkAllFieldsModified() override { }
    void WriteFields(bool, std::ostream&, bool) override { }
    uint8_t ReadFields(std::istream&) override { return 0; }
    DatabaseRecord* Clone(DatabaseRecord&) const override { return nullptr; }
    std::unique_ptr<DatabaseRecord> Clone() const override { return std::make_unique<PlainRecord>(); }
};

class RecordingAction : public DatabaseRecord::TraverseAction {
public:
    bool Apply(DatabaseRecord&) override
    {
        ++calls;
        return true;
    }
    int calls = 0;
};

TEST(DatabaseRecord, CloneCopiesOwnFieldsIntoSameClassOnly)
{
    TestRecord source(9);
    source.count = 5;
    source.name = "Proof";
    source.total = 12;

    TestRecord target(3);
    EXPECT_EQ(source.Clone(target), &target);
    EXPECT_EQ(target.name, "Proof");
    EXPECT_EQ(target.GetId(), 3u);

    PlainRecord other;
    EXPECT_EQ(source.Clone(other), nullptr) << "a target of another class";

    auto fresh = source.Clone();
    auto* copy = dynamic_cast<TestRecord*>(fresh.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->count, 5);
    EXPECT_EQ(copy->GetId(), 0u);
}

TEST(DatabaseRecord, BaseTraversalVisitsNothing)
{
    PlainRecord record;
    RecordingAction action;
    EXPECT_FALSE(record.Traverse(action));
    EXPECT_EQ(action.calls, 0);
    bool hit = false;
    EXPECT_EQ(record.Query(2, 28, 1, 0, hit), 0);
    EXPECT_FALSE(hit);
    EXPECT_EQ(record.NotifyChange(1, RecordType::ctLayout, 1), 0);
    EXPECT_EQ(record.Describe(), "PlainRecord: 0");
}

TEST(CountTraverseAction, Table)
{
    struct Case {
        uint32_t recordId;
        uint8_t operation;
        int actionId;
        int queryResult;
        bool queryHit;
        bool returns;
        int hits;
        int lastResult;
    };
    const std::vector<Case> cases = {
        { 0, 2, 5, 9, true, false, 0, 0 }, // a record without id is not asked
        { 4, 3, 0, 9, true, false, 0, 0 }, // an action without id asks only for operation 2
        { 4, 2, 0, 9, true, true, 1, 9 },
        { 4, 1, 5, 9, false, false, 0, 9 }, // operation 1 stops after asking
        { 4, 3, 5, 0, true, true, 1, 0 }, // a zero answer is not kept
    };
    for (const auto& c : cases) {
        TestRecord record(c.recordId);
        record.queryResult = c.queryResult;
        record.queryHit = c.queryHit;
        CountTraverseAction action(c.operation, 28, c.actionId, 0);
        EXPECT_EQ(action.Apply(record), c.returns) << "operation " << int(c.operation);
        EXPECT_EQ(action.HitCount(), c.hits) << "operation " << int(c.operation);
        EXPECT_EQ(action.LastResult(), c.lastResult) << "operation " << int(c.operation);
    }
}

TEST(HookTraverseAction, CallsItsHookAndGoesOn)
{
    TestRecord record;
    for (const auto hook : { DatabaseRecord::TraverseHook::first, DatabaseRecord::TraverseHook::fifth }) {
        HookTraverseAction action(hook);
        EXPECT_TRUE(action.Apply(record));
    }
    EXPECT_EQ(record.events, (std::vector<std::string> { "hook0", "hook4" }));
}

TEST(DispatchReadError, CarriesItsMessage)
{
    const DatabaseRecord::DispatchReadError error("Attempt to read from faulty stream: X: 0");
    const DatabaseRecord::DispatchReadError copy(error);
    EXPECT_STREQ(copy.what(), "Attempt to read from faulty stream: X: 0");
}

TEST(RecordTypes, TableOfNames)
{
    ASSERT_EQ(RecordTypeNames.size(), 41u);
    const std::vector<std::pair<RecordType, std::string>> used = {
        { RecordType::ctNull, "ctNull" },
        { RecordType::ctPhotoEvent, "ctPhotoEvent" },
        { RecordType::ctProductCatalog, "ctProductCatalog" },
        { RecordType::ctMountData, "ctMountData" },
        { RecordType::ctMountSizeData, "ctMountSizeData" },
        { RecordType::ctProductDetails, "ctProductDetails" },
        { RecordType::ctPackDetails, "ctPackDetails" },
        { RecordType::ctLayout, "ctLayout" },
        { RecordType::ctLayoutUnit, "ctLayoutUnit" },
        { RecordType::ctPaperSpecs, "ctPaperSpecs" },
        { RecordType::ctPacksCollection, "ctPacksCollection" },
        { RecordType::ctDeletedOrder, "ctDeletedOrder" },
    };
    const std::vector<int> numbers = { 0, 13, 16, 19, 20, 21, 25, 27, 28, 33, 34, 40 };
    for (std::size_t i = 0; i < used.size(); ++i) {
        EXPECT_EQ(static_cast<int>(used[i].first), numbers[i]) << used[i].second;
        EXPECT_EQ(RecordTypeNames[static_cast<std::size_t>(used[i].first)], used[i].second);
    }
    std::set<std::string> unique(RecordTypeNames.begin(), RecordTypeNames.end());
    EXPECT_EQ(unique.size(), 41u);
}

} // namespace
