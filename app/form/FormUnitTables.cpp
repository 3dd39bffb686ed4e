#include "app/form/FormUnitTables.h"

namespace form {

namespace {
using enum StepAxis;

// clang-format off
constexpr std::array<UnitRow, kProofRowCount> kProofRows { {
    // portrait, group,          X     Y     W     H     M     S     axis  F     O     shown single abs    image
    { "Port", "Group",           1032, 1033, 0,    0,    1034, 1035, y,    0,    0,    1046, 0,    true,  false },
    { "PImage", "GImage",        1036, 1037, 1053, 1052, 0,    0,    none, 0,    1090, 1055, 0,    false, true },
    { "PBarcode", "GBarcode",    1038, 1039, 1029, 1086, 0,    0,    none, 0,    1069, 1071, 0,    false, false },
    { "PRefBoxes", "GRefBoxes",  1040, 1041, 0,    0,    0,    1043, x,    1057, 1078, 1072, 0,    false, false },
    { "PPacks", "GPacks",        1044, 1045, 0,    0,    0,    1047, y,    0,    1076, 1054, 1092, false, false },
    { "PDescription", "GDescription", 1048, 1049, 0, 0,  0,    0,    none, 1030, 0,    1058, 0,    false, false },
    { "PPrice", "GPrice",        1050, 1051, 0,    0,    0,    0,    none, 1070, 0,    1059, 0,    false, false },
} };

constexpr std::array<UnitRow, kCombinedRowCount> kCombinedRows { {
    { "CombinedGroup", "CombinedGroup", 1093, 1094, 0, 0, 1095, 1096, y,    0,    0,    1113, 0,    true,  false },
    { "CGImage", "CGImage",      1097, 1098, 1099, 1100, 0,    0,    none, 0,    0,    1115, 0,    false, true },
    { "CGPacks", "CGPacks",      1105, 1106, 0,    0,    0,    1107, y,    0,    1077, 1114, 1101, false, false },
    { "CGDescription", "CGDescription", 1108, 1110, 0, 0, 0,   0,    none, 1074, 0,    1118, 0,    false, false },
    { "CGPrice", "CGPrice",      1109, 1111, 0,    0,    0,    0,    none, 1075, 0,    1119, 0,    false, false },
} };
// clang-format on
} // namespace

std::span<const UnitRow> ProofUnitRows()
{
    return kProofRows;
}
std::span<const UnitRow> CombinedUnitRows()
{
    return kCombinedRows;
}

} // namespace form
