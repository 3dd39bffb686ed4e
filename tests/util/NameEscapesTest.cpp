#include "util/NameEscapes.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct Case {
    const char* name;
    std::string (*decode)(std::string_view);
    std::string_view written;
    std::string_view meant;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

class NameEscapes : public testing::TestWithParam<Case> { };

TEST_P(NameEscapes, DecodesWellFormedEscapesAndLeavesTheRestAsTheyStand)
{
    EXPECT_EQ(GetParam().decode(GetParam().written), GetParam().meant);
}

INSTANTIATE_TEST_SUITE_P(Table, NameEscapes,
    testing::Values(
        // The four characters the mount table escapes.
        Case { "Blank", DecodeMountTableName, R"(/media/photo\040card)", "/media/photo card" },
        Case { "Tab", DecodeMountTableName, R"(/mnt/a\011b)", "/mnt/a\tb" },
        Case { "Newline", DecodeMountTableName, R"(/mnt/a\012b)", "/mnt/a\nb" },
        Case { "Backslash", DecodeMountTableName, R"(/mnt/a\134040)", R"(/mnt/a\040)" },
        Case { "AtTheEnd", DecodeMountTableName, R"(/mnt/card\040)", "/mnt/card " },
        Case { "NoEscape", DecodeMountTableName, "/home/studio", "/home/studio" },
        Case { "TooShort", DecodeMountTableName, R"(/mnt/a\04)", R"(/mnt/a\04)" },
        Case { "NotOctal", DecodeMountTableName, R"(/mnt/a\089)", R"(/mnt/a\089)" },
        Case { "OverAByte", DecodeMountTableName, R"(/mnt/a\400)", R"(/mnt/a\400)" },
        Case { "ZeroByte", DecodeMountTableName, R"(/mnt/a\000b)", R"(/mnt/a\000b)" },
        Case { "LoneBackslash", DecodeMountTableName, R"(/mnt/a\)", R"(/mnt/a\)" },
        Case { "HexIsNotTheTables", DecodeMountTableName, R"(a\x20b)", R"(a\x20b)" },
        // The label folder escapes as two hex digits, in either case.
        Case { "LabelBlank", DecodeVolumeLabelName, R"(Studio\x20Card)", "Studio Card" },
        Case { "LabelSlash", DecodeVolumeLabelName, R"(A\x2fB\x2FC)", "A/B/C" },
        Case { "LabelBackslash", DecodeVolumeLabelName, R"(A\x5cx20)", R"(A\x20)" },
        Case { "LabelUtf8", DecodeVolumeLabelName, "Fotos\xc3\xa9t\xc3\xa9", "Fotos\xc3\xa9t\xc3\xa9" },
        Case { "LabelShort", DecodeVolumeLabelName, R"(A\x2)", R"(A\x2)" },
        Case { "LabelNotHex", DecodeVolumeLabelName, R"(A\xzz)", R"(A\xzz)" },
        Case { "LabelSigned", DecodeVolumeLabelName, R"(A\x-1)", R"(A\x-1)" },
        Case { "LabelZeroByte", DecodeVolumeLabelName, R"(A\x00)", R"(A\x00)" },
        Case { "OctalIsNotTheLabels", DecodeVolumeLabelName, R"(A\040)", R"(A\040)" }),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
