#include "app/form/FormFixture.h"
#include "model/PaperSpecs.h"

#include <fstream>
#include <iterator>
#include <ostream>

namespace formtest {
namespace {

enum class Field { x, y, absX, absY, width, height, repeat, stepX, stepY, font, degrees };

struct ControlCase {
    int proofType;
    win::UINT id;
    const char* unit;
    Field field;
    int value; // in the layout, as the control shows it
};

void PrintTo(const ControlCase& c, std::ostream* os)
{
    *os << "type " << c.proofType << " control " << c.id << " " << c.unit << " = " << c.value;
}

void SetField(LayoutUnit& unit, Field field, int value)
{
    switch (field) {
    case Field::x:
        unit.SetX(value);
        break;
    case Field::y:
        unit.SetY(value);
        break;
    case Field::absX:
        unit.SetAbsolutePosition({ value, unit.GetAbsolutePosition(0).y });
        break;
    case Field::absY:
        unit.SetAbsolutePosition({ unit.GetAbsolutePosition(0).x, value });
        break;
    case Field::width:
        unit.SetSize({ value, unit.GetHeight() });
        break;
    case Field::height:
        unit.SetSize({ unit.GetWidth(), value });
        break;
    case Field::repeat:
        unit.SetRepeatCount(static_cast<uint32_t>(value));
        break;
    case Field::stepX:
        unit.SetStep({ value, 0 });
        break;
    case Field::stepY:
        unit.SetStep({ 0, value });
        break;
    case Field::font:
        unit.SetFontSize(static_cast<uint32_t>(value));
        break;
    case Field::degrees:
        unit.SetAngle(value * 10);
        break;
    }
}

int GetField(const LayoutUnit& unit, Field field)
{
    switch (field) {
    case Field::x:
        return unit.GetX();
    case Field::y:
        return unit.GetY();
    case Field::absX:
        return unit.GetAbsolutePosition(0).x;
    case Field::absY:
        return unit.GetAbsolutePosition(0).y;
    case Field::width:
        return unit.GetWidth();
    case Field::height:
        return unit.GetHeight();
    case Field::repeat:
        return static_cast<int>(unit.GetRepeatCount());
    case Field::stepX:
        return unit.GetStepX();
    case Field::stepY:
        return unit.GetStepY();
    case Field::font:
        return static_cast<int>(unit.GetFontSize());
    case Field::degrees:
        return unit.GetAngle() / 10;
    }
    return 0;
}

class FormControls : public FormTest, public ::testing::WithParamInterface<ControlCase> { };

// Layout value -> control text -> layout value after an apply.
TEST_P(FormControls, LoadAndApplyBackUnchanged)
{
    const ControlCase& c = GetParam();
    UseProofType(c.proofType);
    SetField(Unit(c.unit), c.field, c.value);
    form->LoadFromLayout();
    EXPECT_EQ(Text(c.id), std::to_string(c.value));
    const std::string before = LayoutBytes(document->GetLayout());
    ASSERT_TRUE(form->ApplyToLayout());
    EXPECT_EQ(GetField(Unit(c.unit), c.field), c.value);
    EXPECT_EQ(Text(c.id), std::to_string(c.value));
    EXPECT_EQ(LayoutBytes(document->GetLayout()), before);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(EveryArea, FormControls, ::testing::Values(
    ControlCase { 0, 1032, "Port", Field::absX, 123 }, ControlCase { 0, 1033, "Port", Field::absY, 234 },
    ControlCase { 0, 1034, "Port", Field::repeat, 3 }, ControlCase { 0, 1035, "Port", Field::stepY, 450 },
    ControlCase { 0, 1036, "PImage", Field::x, 12 },
    // Signed offsets stay signed: a unit above its parent comes back at -40, not 4294967256.
    ControlCase { 0, 1037, "PImage", Field::y, -40 }, ControlCase { 0, 1053, "PImage", Field::width, 321 },
    ControlCase { 0, 1052, "PImage", Field::height, 432 }, ControlCase { 0, 1090, "PImage", Field::degrees, 90 },
    ControlCase { 0, 1038, "PBarcode", Field::x, -5 }, ControlCase { 0, 1086, "PBarcode", Field::height, 77 },
    ControlCase { 0, 1069, "PBarcode", Field::degrees, 270 }, ControlCase { 0, 1043, "PRefBoxes", Field::stepX, 66 },
    ControlCase { 0, 1057, "PRefBoxes", Field::font, 90 }, ControlCase { 0, 1047, "PPacks", Field::stepY, 55 },
    ControlCase { 0, 1076, "PPacks", Field::degrees, 180 }, ControlCase { 0, 1030, "PDescription", Field::font, 110 },
    ControlCase { 0, 1051, "PPrice", Field::y, 99 },
    ControlCase { 1, 1032, "Group", Field::absX, 321 }, ControlCase { 1, 1036, "GImage", Field::x, -12 },
    ControlCase { 1, 1053, "GImage", Field::width, 900 }, ControlCase { 1, 1070, "GPrice", Field::font, 130 },
    ControlCase { 2, 1093, "CombinedGroup", Field::absX, 150 }, ControlCase { 2, 1094, "CombinedGroup", Field::absY, 160 },
    ControlCase { 2, 1099, "CGImage", Field::width, 700 }, ControlCase { 2, 1098, "CGImage", Field::y, -30 },
    ControlCase { 2, 1107, "CGPacks", Field::stepY, 44 }, ControlCase { 2, 1077, "CGPacks", Field::degrees, 90 },
    ControlCase { 2, 1074, "CGDescription", Field::font, 100 }, ControlCase { 2, 1111, "CGPrice", Field::y, 25 },
    ControlCase { 2, 1036, "PImage", Field::x, 14 }));
// clang-format on

TEST_F(FormTest, LayoutValuesLoadAndApplyBackUnchanged)
{
    Layout& layout = document->GetLayout();
    layout.SetBackgroundImage("/photos/back.jpg");
    layout.SetBackgroundPOD(false);
    layout.SetOverprintCopyright(true);
    layout.SetOverprintWord("PROOF");
    layout.SetOverprintColour("1A2B3C");
    layout.SetOverprintDiagWidth(9);
    layout.GetPaper().SetMarginLeft(31);
    layout.GetPaper().SetPortrait(false);
    Unit("ExtraTxt1").SetCaption("First");
    Unit("ExtraTxt1").SetAbsolutePosition({ -20, 35 });
    form->LoadFromLayout();
    EXPECT_EQ(Text(1020), "/photos/back.jpg");
    EXPECT_EQ(form->GetDlgItem(1023)->GetCheck(), 1);
    EXPECT_EQ(form->GetDlgItem(1063)->GetCheck(), 1);
    EXPECT_EQ(Text(1064), "PROOF");
    EXPECT_EQ(form->swatch.GetColor(), win::RGB(0x1a, 0x2b, 0x3c));
    EXPECT_EQ(Text(1091), "9");
    EXPECT_EQ(Text(1006), "31");
    EXPECT_EQ(form->GetDlgItem(1015)->GetCheck(), 1);
    EXPECT_EQ(Text(1104), "First");
    EXPECT_EQ(Text(1061), "-20");
    EXPECT_EQ(Text(1062), "35");
    const std::string before = LayoutBytes(layout);
    ASSERT_TRUE(form->ApplyToLayout());
    EXPECT_EQ(LayoutBytes(layout), before);
}

struct BadEntry {
    win::UINT id;
    const char* text;
    const char* message;
};

void PrintTo(const BadEntry& c, std::ostream* os)
{
    *os << c.id << " \"" << c.text << "\"";
}

class FormValidation : public FormTest, public ::testing::WithParamInterface<BadEntry> { };

TEST_P(FormValidation, RefusesWithTheMessageFocusOnTheControlNothingApplied)
{
    const BadEntry& c = GetParam();
    Activate(*form);
    const std::string before = LayoutBytes(document->GetLayout());
    Type(c.id, c.text);
    modal->AnswerNext(win::IDOK);
    EXPECT_FALSE(form->ApplyToLayout());
    ASSERT_FALSE(modal->Messages().empty());
    EXPECT_EQ(modal->Messages().back().text, c.message);
    ASSERT_NE(form->GetFocus(), nullptr);
    EXPECT_EQ(form->GetFocus()->GetDlgCtrlID(), c.id);
    EXPECT_EQ(LayoutBytes(document->GetLayout()), before);
}

INSTANTIATE_TEST_SUITE_P(Entries, FormValidation,
    ::testing::Values(BadEntry { 1053, "-5", "Enter a positive integer." },
        BadEntry { 1053, " ", "Enter a positive integer." },
        BadEntry { 1006, "1.5", "Enter a positive integer." },
        // Above what the layout's 32-bit fields hold.
        BadEntry { 1034, "2147483648", "Enter a positive integer." },
        BadEntry { 1091, "4294967295", "Enter a positive integer." },
        BadEntry { 1036, "abc", "Enter an integer." }, BadEntry { 1037, "2147483648", "Enter an integer." },
        BadEntry { 1061, "x", "Enter an integer." }, BadEntry { 1090, " ", "Enter an integer." }));

TEST_F(FormTest, AnOrientationSnapsToQuarterTurns)
{
    Type(1090, "45");
    ASSERT_TRUE(form->ApplyToLayout());
    EXPECT_EQ(Unit("PImage").GetQuarterTurns(), 1);
    EXPECT_EQ(Text(1090), "90");
}

TEST_F(FormTest, ATickedBarcodeTicksTheReferenceBoxes)
{
    form->GetDlgItem(1071)->SetCheck(1);
    form->GetDlgItem(1072)->SetCheck(0);
    ASSERT_TRUE(form->ApplyToLayout());
    EXPECT_TRUE(Unit("PRefBoxes").GetVisible());
    EXPECT_EQ(form->GetDlgItem(1072)->GetCheck(), 1);
}

TEST_F(FormTest, OnlyAPaperOrMarginChangeEmptiesTheImageCache)
{
    const PaperSpecs& paper = document->GetLayout().GetPaper();
    const int orient = paper.GetPortrait() ? 1015 : 1014;
    Click(orient);
    // An emptied cache comes back with its configured number of slots.
    GetImageCache().SetSize(3, false);
    ASSERT_TRUE(form->ApplyToLayout());
    EXPECT_EQ(GetImageCache().GetSlotCount(), 3u);
    Type(1006, "77");
    ASSERT_TRUE(form->ApplyToLayout());
    EXPECT_EQ(GetImageCache().GetSlotCount(), ImageCache::kInitialSize);
    EXPECT_EQ(paper.GetMarginLeft(), 77);
    // A custom paper whose size alone changes: a background trimmed to the old printable area
    // must not be stretched onto the new one.
    form->GetDlgItem(1001)->SetCurSel(PaperSpecs::customPaper);
    form->OnPaperSelChange();
    Type(1004, "1500");
    ASSERT_TRUE(form->ApplyToLayout());
    ASSERT_EQ(paper.GetPaperType(), PaperSpecs::customPaper);
    Type(1005, "1000");
    GetImageCache().SetSize(3, false);
    ASSERT_TRUE(form->ApplyToLayout());
    EXPECT_EQ(paper.GetPaperWidth(), 1000);
    EXPECT_EQ(GetImageCache().GetSlotCount(), ImageCache::kInitialSize) << "emptied by the custom size";
    // Nothing changed: the cache stays.
    GetImageCache().SetSize(3, false);
    ASSERT_TRUE(form->ApplyToLayout());
    EXPECT_EQ(GetImageCache().GetSlotCount(), 3u);
}

// A layout file holding values the form shows as 0 (negative sizes, margins) or signed (a step
// upward): an Update and a Save the user made without touching them write the file back unchanged.
TEST_F(FormTest, ValuesTheUserDidNotEditSurviveUpdateAndSave)
{
    Layout layout;
    layout.GetRootUnit()->FindByName("PPacks")->SetRepeatCount(0); // as the document counts no packs
    layout.GetRootUnit()->FindByName("Port")->SetRepeatCount(2);
    layout.GetRootUnit()->FindByName("Port")->SetStep({ 0, -850 });
    layout.GetRootUnit()->FindByName("PRefBoxes")->SetStep({ 120, 7 });
    layout.GetRootUnit()->FindByName("PBarcode")->SetSize({ 400, -60 });
    layout.GetPaper().SetMarginTop(-20);
    const auto path = Folder() / "upward.txt";
    {
        std::ofstream out(path, std::ios::binary);
        ASSERT_TRUE(layout.WriteCsv(out));
    }
    layout.GetPaper().DiscardMargins();
    const std::string written = LayoutBytes(layout);
    ASSERT_TRUE(document->ReadLayout(path.string()));
    EXPECT_EQ(Text(1035), "-850");
    Click(1016); // Update
    EXPECT_EQ(Unit("Port").GetStepY(), -850) << "the second copy stays above the first";
    Click(1012); // Save
    std::ifstream in(path, std::ios::binary);
    const std::string saved { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    EXPECT_EQ(saved, written);
    // A step typed negative is taken as such.
    Type(1035, "-400");
    Click(1016);
    EXPECT_EQ(Unit("Port").GetStepY(), -400);
}

struct EnableCase {
    int proofType;
    const char* header;
};

void PrintTo(const EnableCase& c, std::ostream* os)
{
    *os << "type " << c.proofType;
}

class FormEnabling : public FormTest, public ::testing::WithParamInterface<EnableCase> { };

TEST_P(FormEnabling, FollowTheProofType)
{
    const EnableCase& c = GetParam();
    UseProofType(c.proofType);
    EXPECT_EQ(Text(1046), c.header);
    for (const win::UINT id : { 1034u, 1035u, 1092u })
        EXPECT_EQ(Enabled(id), c.proofType == 0) << id;
    for (const win::UINT id : { 1101u, 1095u, 1096u })
        EXPECT_FALSE(Enabled(id)) << id;
    for (const win::UINT id : { 1113u, 1093u, 1099u, 1084u, 1085u, 1077u, 1075u })
        EXPECT_EQ(Enabled(id), c.proofType == 2) << id;
    for (const win::UINT id : { 1016u, 1032u, 1036u, 1082u, 1104u })
        EXPECT_TRUE(Enabled(id)) << id;
}

INSTANTIATE_TEST_SUITE_P(EveryType, FormEnabling,
    ::testing::Values(EnableCase { 0, "Portrait" }, EnableCase { 1, "Group" }, EnableCase { 2, "Portrait" }));

TEST_F(FormTest, SaveIsEnabledWhenModifiedWithAPath)
{
    EXPECT_FALSE(Enabled(1012));
    const auto path = Folder() / "a.lay";
    ASSERT_TRUE(document->WriteLayout(path.string()));
    document->SetModifiedFlag();
    form->EnableControls();
    EXPECT_TRUE(Enabled(1012));
}

} // namespace
} // namespace formtest
