#include "app/form/FormTemplate.h"

#include <string>
#include <vector>

namespace form {

namespace {
using fw::ControlKind;
using fw::ControlSpec;
using fw::IDC_STATIC;
using fw::WS_GROUP;

// Rows of the unit areas: the row's check box, then up to five label and edit pairs.
constexpr int kPairX = 56;
constexpr int kPairStep = 31;
constexpr int kRowHeight = 14;

class Builder {
public:
    void Add(ControlSpec spec) { controls.push_back(std::move(spec)); }
    void Label(const char* text, int x, int y, int cx)
    {
        Add({ IDC_STATIC, ControlKind::staticText, text, x, y + 2, cx, 8 });
    }
    void Edit(win::UINT id, int x, int y, int cx, win::UINT style = 0)
    {
        Add({ id, ControlKind::edit, "", x, y, cx, 12, style });
    }
    void Button(win::UINT id, const char* text, int x, int y, int cx)
    {
        Add({ id, ControlKind::button, text, x, y - 1, cx, 14, WS_GROUP });
    }
    void Check(win::UINT id, const char* text, int x, int y, int cx)
    {
        Add({ id, ControlKind::checkBox, text, x, y + 1, cx, 10, WS_GROUP });
    }
    void Radio(win::UINT id, const char* text, int x, int y, int cx, bool first)
    {
        Add({ id, ControlKind::radioButton, text, x, y + 1, cx, 10, first ? WS_GROUP : 0 });
    }
    // A label and its edit in column `column` of a unit row.
    void Pair(const char* label, win::UINT id, int column, int y)
    {
        const int x = kPairX + kPairStep * column;
        Label(label, x, y, 6);
        Edit(id, x + 7, y, 23, WS_GROUP);
    }
    std::vector<ControlSpec> controls;
};

void TopRows(Builder& b)
{
    const char* captions[] = { "Update", "Print", "New", "Open", "Save", "Save As" };
    const win::UINT ids[] = { 1016, 1024, 1010, 1011, 1012, 1013 };
    for (int i = 0; i < 6; ++i)
        b.Button(ids[i], captions[i], 4 + 38 * i, 5, 36);
    b.Add({ 1009, ControlKind::dropDownList, "", 4, 22, 230, 120, WS_GROUP });
    b.Label("Proof type:", 4, 40, 38);
    b.Radio(1025, "Portrait", 44, 40, 40, true);
    b.Radio(1026, "Group", 86, 40, 36, false);
    b.Radio(1027, "Combined", 124, 40, 50, false);
    b.Button(1081, "Legend", 176, 40, 28);
    b.Button(1017, "Options", 206, 40, 30);
}

void PaperBox(Builder& b)
{
    b.Add({ IDC_PAPER_BOX, ControlKind::groupBox, "Paper", 4, 56, 230, 64, WS_GROUP });
    b.Label("Paper", 10, 68, 22);
    b.Add({ 1001, ControlKind::dropDownList, "", 34, 68, 40, 120, WS_GROUP });
    b.Label("Height", 80, 68, 24);
    b.Edit(1004, 106, 68, 30, WS_GROUP);
    b.Label("Width", 142, 68, 22);
    b.Edit(1005, 166, 68, 38, WS_GROUP);
    b.Label("Printer Margin", 10, 84, 52);
    const char* margins[] = { "L", "R", "T", "B" };
    const win::UINT marginIds[] = { 1006, 1007, 1019, 1018 };
    for (int i = 0; i < 4; ++i) {
        b.Label(margins[i], 64 + 35 * i, 84, 6);
        b.Edit(marginIds[i], 71 + 35 * i, 84, 26, WS_GROUP);
    }
    b.Label("Printer Orient", 10, 101, 52);
    b.Radio(1014, "Port", 64, 101, 30, true);
    b.Radio(1015, "Land", 98, 101, 30, false);
    b.Button(1008, "Margin Test", 176, 101, 54);
}

void BackgroundBox(Builder& b)
{
    b.Add({ IDC_STATIC, ControlKind::groupBox, "Background Image", 4, 122, 230, 44, WS_GROUP });
    b.Edit(1020, 10, 134, 170, WS_GROUP);
    b.Button(1021, "Browse", 184, 134, 44);
    b.Radio(1022, "Pre Print", 10, 150, 50, true);
    b.Radio(1023, "Print on the day", 64, 150, 80, false);
}

void GeneralBox(Builder& b)
{
    b.Add({ IDC_STATIC, ControlKind::groupBox, "General", 4, 168, 230, 98, WS_GROUP });
    b.Add({ IDC_STATIC, ControlKind::groupBox, "Extra Text", 8, 178, 222, 38, WS_GROUP });
    b.Edit(1103, 12, 189, 16, WS_GROUP);
    b.Edit(1104, 32, 189, 150, WS_GROUP);
    b.Check(1060, "Show", 188, 189, 36);
    const char* labels[] = { "X", "Y", "F", "O" };
    const win::UINT ids[] = { 1061, 1062, 1031, 1079 };
    for (int i = 0; i < 4; ++i) {
        b.Label(labels[i], 12 + 44 * i, 202, 6);
        b.Edit(ids[i], 19 + 44 * i, 202, 30, WS_GROUP);
    }
    b.Check(1063, "Overprint", 10, 220, 50);
    b.Edit(1064, 62, 220, 60, WS_GROUP);
    b.Button(1087, "Colour", 126, 220, 34);
    b.Add({ IDC_SWATCH, ControlKind::swatch, "", 164, 220, 16, 12, WS_GROUP });
    b.Check(1089, "Diag", 188, 220, 36);
    b.Label("Width", 10, 236, 24);
    b.Edit(1091, 36, 236, 26, WS_GROUP);
    b.Check(1073, "Print main image (normally browse image is used)", 10, 251, 196);
}

// A unit row: its check box, then the label and edit pairs by column (id 0: none).
struct RowSpec {
    win::UINT check;
    const char* caption;
    win::UINT fields[5];
    const char* labels[5];
};

void UnitRows(Builder& b, const std::vector<RowSpec>& rows, int y)
{
    for (const RowSpec& row : rows) {
        if (row.check != 0)
            b.Check(row.check, row.caption, 10, y, 44);
        for (int column = 0; column < 5; ++column)
            if (row.fields[column] != 0)
                b.Pair(row.labels[column], row.fields[column], column, y);
        y += kRowHeight;
    }
}

void ProofBox(Builder& b)
{
    constexpr int top = 268;
    b.Add({ 1065, ControlKind::groupBox, "", 4, top, 230, 140, WS_GROUP });
    UnitRows(b,
        {
            { 1046, "Portrait", { 1032, 1033, 1034, 1035, 0 }, { "X", "Y", "M", "S", "" } },
            { 1055, "Image", { 1036, 1037, 1053, 1052, 1090 }, { "X", "Y", "W", "H", "O" } },
        },
        top + 8);
    b.Button(1082, "W from H", kPairX + 7 + kPairStep * 2, top + 36, 48);
    b.Button(1083, "H from W", kPairX + 7 + kPairStep * 2 + 52, top + 36, 48);
    UnitRows(b,
        {
            { 1071, "Bar/c", { 1038, 1039, 1029, 1086, 1069 }, { "X", "Y", "W", "H", "O" } },
            { 1072, "Ref", { 1040, 1041, 1043, 1057, 1078 }, { "X", "Y", "S", "F", "O" } },
            { 1054, "Packs", { 1044, 1045, 1047, 0, 1076 }, { "X", "Y", "S", "", "O" } },
        },
        top + 52);
    b.Check(1092, "Single only", kPairX + 7, top + 94, 50);
    UnitRows(b,
        {
            { 1058, "Descr", { 1048, 1049, 1030, 0, 0 }, { "X", "Y", "F", "", "" } },
            { 1059, "Price", { 1050, 1051, 1070, 0, 0 }, { "X", "Y", "F", "", "" } },
        },
        top + 108);
}

void CombinedBox(Builder& b)
{
    constexpr int top = 412;
    b.Add({ IDC_STATIC, ControlKind::groupBox, "", 4, top, 230, 134, WS_GROUP });
    b.Check(1113, "Combined Group", 10, top + 8, 80);
    UnitRows(b,
        {
            { 0, "", { 1093, 1094, 1095, 1096, 0 }, { "X", "Y", "M", "S", "" } },
            { 1115, "Image", { 1097, 1098, 1099, 1100, 0 }, { "X", "Y", "W", "H", "" } },
        },
        top + 22);
    b.Button(1084, "W from H", kPairX + 7 + kPairStep * 2, top + 50, 48);
    b.Button(1085, "H from W", kPairX + 7 + kPairStep * 2 + 52, top + 50, 48);
    UnitRows(b, { { 1114, "Packs", { 1105, 1106, 1107, 0, 1077 }, { "X", "Y", "S", "", "O" } } }, top + 66);
    b.Check(1101, "Single only", kPairX + 7, top + 80, 50);
    UnitRows(b,
        {
            { 1118, "Descr", { 1108, 1110, 1074, 0, 0 }, { "X", "Y", "F", "", "" } },
            { 1119, "Price", { 1109, 1111, 1075, 0, 0 }, { "X", "Y", "F", "", "" } },
        },
        top + 94);
}

fw::DialogTemplate Build()
{
    Builder b;
    TopRows(b);
    PaperBox(b);
    BackgroundBox(b);
    GeneralBox(b);
    ProofBox(b);
    CombinedBox(b);
    return { IDD_FORM, "", 238, 550, std::move(b.controls) };
}
} // namespace

const fw::DialogTemplate& FormTemplate()
{
    static const fw::DialogTemplate form = Build();
    return form;
}

} // namespace form
