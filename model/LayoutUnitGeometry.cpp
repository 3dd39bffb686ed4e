// Angles, absolute positions, extents, bounds, hit tests and fitting of layout units.
#include "model/LayoutUnit.h"
#include "model/QuarterTurns.h"
#include "platform/win/IntArithmetic.h"

#include <algorithm>

namespace {

int AngleOfQuarterTurns(int quarterTurns)
{
    return win::NormalQuarterTurns(quarterTurns) * 900;
}

win::POINT Offset(win::POINT a, win::POINT b, int64_t times = 1)
{
    return { win::WrapToInt32(a.x + times * b.x), win::WrapToInt32(a.y + times * b.y) };
}

// In double: the product of two 33-bit spans does not fit 64 bits.
double Area(const win::RECT& box)
{
    return (static_cast<double>(box.right) - box.left) * (static_cast<double>(box.bottom) - box.top);
}

// A box that grows to take in points; it starts as the point (0, 0).
struct GrowingBox {
    int64_t left = 0, top = 0, right = 0, bottom = 0;

    void Include(int64_t x, int64_t y)
    {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
    int32_t Width() const { return win::WrapToInt32(right - left); }
    int32_t Height() const { return win::WrapToInt32(bottom - top); }
};

} // namespace

int LayoutUnit::GetAngle() const
{
    return AngleOfQuarterTurns(quarterTurns_);
}

int LayoutUnit::GetAbsoluteAngle() const
{
    const int parentAngle = parent_ ? parent_->GetAbsoluteAngle() : 0;
    return (parentAngle + GetAngle()) % 3600;
}

int LayoutUnit::GetAbsoluteQuarterTurns() const
{
    const int parentTurns = parent_ ? parent_->GetAbsoluteQuarterTurns() : 0;
    return win::NormalQuarterTurns(static_cast<int64_t>(parentTurns) + quarterTurns_);
}

void LayoutUnit::SetAngle(int tenthsOfDegree)
{
    // The remainder keeps the sign of the value; everything below -450 counts as three turns.
    const int a = tenthsOfDegree % 3600;
    int turns = 3;
    if (a >= -450 && a < 450)
        turns = 0;
    else if (a >= 450 && a < 1350)
        turns = 1;
    else if (a >= 1350 && a < 2250)
        turns = 2;
    SetQuarterTurns(turns);
}

win::POINT LayoutUnit::GetAbsolutePosition(int copyIndex) const
{
    win::POINT offset { x_, y_ };
    win::POINT step { stepX_, stepY_ };
    win::POINT origin;
    if (parent_) {
        origin = parent_->GetAbsolutePosition(0);
        offset = TurnVector(offset, parent_->GetAbsoluteQuarterTurns());
        step = TurnVector(step, GetAbsoluteQuarterTurns());
    }
    const int copy = currentItem_ != 0 ? currentItem_ : copyIndex;
    return Offset(Offset(origin, offset), step, copy);
}

void LayoutUnit::SetAbsolutePosition(win::POINT point)
{
    if (!parent_) {
        SetPosition(point);
        return;
    }
    const win::POINT origin = parent_->GetAbsolutePosition(0);
    const win::POINT d { win::WrapToInt32(static_cast<int64_t>(point.x) - origin.x),
        win::WrapToInt32(static_cast<int64_t>(point.y) - origin.y) };
    SetPosition(TurnVector(d, 4 - parent_->GetAbsoluteQuarterTurns()));
}

void LayoutUnit::MoveBy(win::POINT delta)
{
    const int turns = parent_ ? parent_->GetAbsoluteQuarterTurns() : 0;
    // Turning the page delta back by the parent's turns expresses it in the parent's frame.
    SetPosition(Offset({ x_, y_ }, TurnVector(delta, 4 - turns)));
    for (LayoutUnit* ancestor = parent_; ancestor; ancestor = ancestor->parent_)
        ancestor->FitToChildren();
}

win::SIZE LayoutUnit::GetRepeatExtent() const
{
    if (repeatCount_ <= 1)
        return { itemWidth_, itemHeight_ };
    const int64_t n = repeatCount_;
    const int64_t lastX = x_ + (n - 1) * stepX_;
    const int64_t lastY = y_ + (n - 1) * stepY_;
    const int64_t left = std::min<int64_t>(x_, lastX);
    const int64_t top = std::min<int64_t>(y_, lastY);
    const int64_t right = std::max<int64_t>(static_cast<int64_t>(x_) + itemWidth_, lastX + extraWidth_);
    const int64_t bottom = std::max<int64_t>(static_cast<int64_t>(y_) + itemHeight_, lastY + extraHeight_);
    return { win::WrapToInt32(right - left), win::WrapToInt32(bottom - top) };
}

win::RECT LayoutUnit::GetBounds() const
{
    return TurnedBox(GetAbsolutePosition(0), GetRepeatExtent(), GetAbsoluteQuarterTurns());
}

win::RECT LayoutUnit::GetItemRect(int copyIndex) const
{
    return TurnedBox(GetAbsolutePosition(copyIndex), GetItemSize(), GetAbsoluteQuarterTurns());
}

bool LayoutUnit::IsShown() const
{
    if (parent_ && !parent_->IsShown())
        return false;
    return visible_;
}

LayoutUnit* LayoutUnit::HitTest(win::POINT point)
{
    LayoutUnit* best = nullptr;
    double bestArea = 0;
    for (const auto& child : GetElements()) {
        if (!child->IsShown())
            continue;
        LayoutUnit* hit = child->HitTest(point);
        if (!hit)
            continue;
        const double area = Area(hit->GetBounds());
        if (!best || area < bestArea) {
            best = hit;
            bestArea = area;
        }
    }
    if (best)
        return best;
    const win::RECT bounds = GetBounds();
    const bool inside = point.x >= bounds.left && point.x < bounds.right && point.y >= bounds.top
        && point.y < bounds.bottom;
    return inside ? this : nullptr;
}

void LayoutUnit::FitToChildren()
{
    if (IsEmpty())
        return;
    GrowingBox full;
    GrowingBox extra;
    for (const auto& child : GetElements()) {
        if (!child->IsShown())
            continue;
        const win::SIZE e = child->GetRepeatExtent();
        const win::POINT v = TurnVector({ e.cx, e.cy }, child->quarterTurns_);
        const win::POINT w = TurnVector({ e.cx, 0 }, child->quarterTurns_);
        int64_t cx = child->x_;
        int64_t cy = child->y_;
        if (child->alignment_ == 1) {
            cx -= v.x / 2;
            cy += v.y / 2;
        } else if (child->alignment_ == 2) {
            cx -= w.x;
            cy += w.y;
        }
        for (GrowingBox* box : { &full, &extra }) {
            if (box == &extra && child->singleOnly_)
                continue;
            box->Include(cx, cy);
            box->Include(cx + v.x, cy + v.y);
        }
    }
    itemWidth_ = full.Width();
    itemHeight_ = full.Height();
    extraWidth_ = extra.Width();
    extraHeight_ = extra.Height();
}

void LayoutUnit::FitSubtree()
{
    for (const auto& child : GetElements())
        child->FitSubtree();
    FitToChildren();
}

void LayoutUnit::GrowItemSize(win::SIZE size)
{
    itemWidth_ = std::max(itemWidth_, size.cx);
    itemHeight_ = std::max(itemHeight_, size.cy);
}
