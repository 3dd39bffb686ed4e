#include "imaging/wrapper/DeviceIndepBitmap.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

using Pellimar::DeviceIndepBitmap;

struct ChangeCase {
    const char* name;
    std::function<void(DeviceIndepBitmap&)> change;
    bool counts;
    friend void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }
};

class ChangeCountCases : public ::testing::TestWithParam<ChangeCase> { };

TEST_P(ChangeCountCases, OnlyPixelChangesRaiseTheCount)
{
    DeviceIndepBitmap picture;
    ASSERT_TRUE(picture.CreateImage(8, 6, 32, false, false, 0));
    const uint64_t before = picture.GetChangeCount();
    GetParam().change(picture);
    EXPECT_EQ(picture.GetChangeCount() != before, GetParam().counts);
}

const ChangeCase kCases[] = {
    { "crop", [](DeviceIndepBitmap& p) { p.Crop(1, 1, 5, 5); }, true },
    { "turn", [](DeviceIndepBitmap& p) { p.Rotate(1); }, true },
    { "turn_to_other_orientation", [](DeviceIndepBitmap& p) { p.RotateToOrientation(2); }, true },
    { "turn_to_same_orientation", [](DeviceIndepBitmap& p) { p.RotateToOrientation(0); }, false },
    { "no_turn", [](DeviceIndepBitmap& p) { p.Rotate(4); }, false },
    { "copy_into", [](DeviceIndepBitmap& p) { p = DeviceIndepBitmap(p); }, true },
    { "fill", [](DeviceIndepBitmap& p) { p.Fill(win::RGB(1, 2, 3)); }, true },
    { "reset", [](DeviceIndepBitmap& p) { p.Reset(false); }, true },
    { "new_picture", [](DeviceIndepBitmap& p) { p.CreateImage(3, 3, 32, false, false, 0); }, true },
    { "read_size", [](DeviceIndepBitmap& p) { p.GetSize(); }, false },
};

INSTANTIATE_TEST_SUITE_P(All, ChangeCountCases, ::testing::ValuesIn(kCases),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
