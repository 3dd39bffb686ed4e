// Fuzzes the record-message readers and the archive loaders of layouts, units and paper. The first
// byte picks the reader; the rest is the input. Any read may throw its documented error; nothing
// may crash, hang or overflow, and the tree that results must still answer every geometry query.
#include "fuzz/RecordMessages.h"
#include "model/Layout.h"
#include "platform/win/AppContext.h"
#include "records/DataVersion.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

void ExerciseGeometry(LayoutUnit& unit)
{
    unit.GetBounds();
    unit.GetAbsoluteAngle();
    unit.GetItemRect(static_cast<int>(unit.GetRepeatCount()));
    for (const auto& child : unit.GetChildren())
        ExerciseGeometry(*child);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    // A fresh settings store for each input, so that the margins written by every paper do not pile up.
    win::AppContext::Instance().Reset();
    Layout layout;
    LayoutUnit& root = *layout.GetRootUnit();
    switch (data[0] % 5) {
    case 0:
        fuzzing::ReadMessages(*root.FindByName("Port"), bytes);
        break;
    case 1:
        fuzzing::ReadMessages(layout, bytes);
        break;
    case 2:
        fuzzing::ReadMessages(layout.GetPaper(), bytes);
        break;
    default:
        // Archives of the current version and of one before ids, captions and SingleOnly.
        SavedDataVersion = data[0] % 5 == 3 ? CurrentDataVersion : 2.0;
        try {
            win::Archive archive(bytes);
            layout.Load(archive);
        } catch (const win::ArchiveException&) {
        }
        break;
    }
    LayoutUnit& tree = *layout.GetRootUnit();
    tree.FitSubtree();
    ExerciseGeometry(tree);
    tree.HitTest({ 100, 100 });
    tree.FindByName("PImage");
    if (LayoutUnit* unit = tree.FindByName("PPrice"))
        unit->MoveBy({ 10, -10 });
    win::Archive out;
    layout.Store(out);
    std::ostringstream message;
    layout.MarkAllFieldsModified();
    layout.WriteFields(false, message, true);
    return 0;
}
