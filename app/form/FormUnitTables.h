// Which control of the editing form shows which field of which layout unit: one row per unit of
// the proof-unit area (portrait or group names by the proof type) and of the combined-group area.
// An id of 0 means the unit has no such control.
#pragma once
#include "platform/win/Types.h"
#include <array>
#include <span>

namespace form {

// Which step a unit's S field is: the other axis is set to 0 on store.
enum class StepAxis { none, x, y };

struct UnitRow {
    const char* portraitName;
    const char* groupName; // the combined-group rows use one name for both
    win::UINT x, y; // signed offsets (absolute for the header units)
    win::UINT width, height;
    win::UINT multiples; // RepeatCount
    win::UINT step;
    StepAxis stepAxis;
    win::UINT font;
    win::UINT orientation;
    win::UINT shown;
    win::UINT singleOnly;
    bool absolute;
    bool image; // ImageFlag set on store
};

// The values behind one row's controls.
struct UnitValues {
    int x = 0;
    int y = 0;
    win::UINT width = 0;
    win::UINT height = 0;
    win::UINT multiples = 0;
    int step = 0; // signed: a copy may repeat upward or leftward
    win::UINT font = 0;
    int orientation = 0;
    int shown = 0;
    int singleOnly = 0;
};

inline constexpr int kProofRowCount = 7;
inline constexpr int kCombinedRowCount = 5;

std::span<const UnitRow> ProofUnitRows();
std::span<const UnitRow> CombinedUnitRows();

} // namespace form
