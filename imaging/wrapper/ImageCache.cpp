#include "imaging/wrapper/ImageCache.h"

#include <algorithm>
#include <utility>

#include "imaging/io/PLTextException.h"
#include "imaging/wrapper/ImageCacheLoading.h"
#include "records/SharedFunctions.h"

using Pellimar::DeviceIndepBitmap;

namespace {

std::vector<ImageCacheSlot> MakeSlots(uint32_t count)
{
    std::vector<ImageCacheSlot> slots;
    slots.reserve(count);
    std::generate_n(std::back_inserter(slots), count, ImageCacheSlot::MakeEmpty);
    return slots;
}

} // namespace

ImageCache::ImageCache()
    : m_Slots(MakeSlots(kInitialSize))
{
}

ImageCache::Picture ImageCache::GetImage(const std::string& name, ImageResult& result, bool wait,
    const std::optional<ImageAdjustments>& adjustments, bool probe, bool wantPristine,
    const Preparation& prepare)
{
    win::SingleLock lock(m_Mutex, true);
    if (name.empty()) {
        DeviceIndepBitmap scratch;
        result = MissingFileResult(scratch, name);
        return {};
    }
    const std::optional<size_t> hit = FindSlot(name);
    if (!hit)
        return LoadIntoVictim(name, result, wait, adjustments, probe, wantPristine, prepare);
    const size_t index = Promote(*hit);
    // Held here, so that no purge of a failed turn can remove the slot under us.
    const Picture work = m_Slots[index].work;
    Picture picture = wantPristine ? m_Slots[index].pristine : work;
    if (adjustments)
        ApplyImageRotation(*this, *work, adjustments);
    else
        work->RotateToOrientation(0);
    RemoveFreeSlots(nullptr);
    return picture;
}

size_t ImageCache::Promote(size_t index)
{
    if (index == m_NextIndex)
        return index;
    std::swap(m_Slots[index], m_Slots[m_NextIndex]);
    index = m_NextIndex;
    m_NextIndex = static_cast<uint32_t>((m_NextIndex + 1) % m_Slots.size());
    return index;
}

ImageCache::Picture ImageCache::LoadIntoVictim(const std::string& name, ImageResult& result, bool wait,
    const std::optional<ImageAdjustments>& adjustments, bool probe, bool wantPristine,
    const Preparation& prepare)
{
    const size_t victim = FindVictim();
    m_Slots[victim].name.clear();
    Picture work = m_Slots[victim].work;
    Picture pristine = m_Slots[victim].pristine;
    const bool loaded = LoadImageIntoSlot(*this, *work, name, result, wait, adjustments, probe, pristine);
    // The slot has no name yet, so the picture is still the cache's alone.
    if (loaded && prepare)
        prepare(*work);
    // Purges during the load may have removed slots before the victim: find it again by its picture.
    const std::optional<size_t> index = FindSlotOf(work.get());
    Picture picture;
    if (loaded && index) {
        m_Slots[*index].name = name;
        m_NextIndex = static_cast<uint32_t>((*index + 1) % m_Slots.size());
        picture = wantPristine ? pristine : work;
    }
    work.reset();
    pristine.reset();
    RemoveFreeSlots(nullptr);
    return picture;
}

size_t ImageCache::FindVictim()
{
    const size_t count = m_Slots.size();
    for (size_t step = 0; step < count; ++step) {
        const size_t index = (m_NextIndex + step) % count;
        if (m_Slots[index].IsFree()) {
            m_NextIndex = static_cast<uint32_t>(index);
            return index;
        }
    }
    m_NextIndex = static_cast<uint32_t>(count);
    SetSize(static_cast<uint32_t>(std::max(count + count / 2, count + 1)), false);
    return count;
}

bool ImageCache::Contains(const std::string& name)
{
    win::SingleLock lock(m_Mutex, true);
    return FindSlot(name).has_value();
}

ImageCache::Picture ImageCache::Reprocess(const std::string& name, ImageResult& result,
    const std::optional<ImageAdjustments>& adjustments, bool noLoad, const Preparation& prepare)
{
    win::SingleLock lock(m_Mutex, true);
    if (const std::optional<size_t> index = FindSlot(name)) {
        // Held here, so that no purge on the way can remove the slot.
        const Picture pristine = m_Slots[*index].pristine;
        // A work picture that nobody else holds is redone in place; one handed out is left as it
        // is to whoever may be drawing it, and a new one takes its place.
        const Picture& work = m_Slots[*index].work;
        const Picture fresh = work.use_count() == 1 ? work : ImageCacheSlot::MakePicture();
        const bool redone = CopyPicture(*this, *fresh, *pristine, *pristine)
            && ApplyImageAdjustments(*this, *fresh, adjustments, pristine.get());
        if (redone && prepare)
            prepare(*fresh);
        // Purges on the way may have moved the slot: find it again by its picture as loaded.
        const std::optional<size_t> again = FindSlotOfPristine(pristine.get());
        if (redone) {
            if (again)
                m_Slots[Promote(*again)].work = fresh;
            return fresh;
        }
        // Nobody may find by this name a picture that is neither the file's nor adjusted.
        result = fresh->GetLastResult();
        if (again)
            m_Slots[*again].name.clear();
        return {};
    }
    if (noLoad)
        return {};
    if (!FileOrFolderExists(name)) {
        DeviceIndepBitmap scratch;
        result = MissingFileResult(scratch, name);
        return {};
    }
    return GetImage(name, result, false, adjustments, false, false, prepare);
}

void ImageCache::Reset()
{
    win::SingleLock lock(m_Mutex, true);
    m_Slots = MakeSlots(m_ConfiguredSize);
    m_NextIndex = 0;
}

void ImageCache::SetSize(uint32_t n, bool remember)
{
    win::SingleLock lock(m_Mutex, true);
    if (remember)
        m_ConfiguredSize = n;
    if (m_Slots.size() < n) {
        m_Slots.reserve(n);
        std::generate_n(std::back_inserter(m_Slots), n - m_Slots.size(), ImageCacheSlot::MakeEmpty);
    } else if (m_Slots.size() > n) {
        m_Slots.erase(m_Slots.begin() + n, m_Slots.end());
        m_Slots.shrink_to_fit();
    }
    KeepNextIndexValid();
}

bool ImageCache::Purge(const DeviceIndepBitmap* keep)
{
    win::SingleLock lock(m_Mutex, true);
    if (m_ConfiguredSize >= 2)
        --m_ConfiguredSize;
    return RemoveFreeSlots(keep);
}

void ImageCache::Remove(const std::string& name)
{
    win::SingleLock lock(m_Mutex, true);
    const std::optional<size_t> index = FindSlot(name);
    if (!index)
        return;
    if (m_Slots.size() > m_ConfiguredSize)
        m_Slots.erase(m_Slots.begin() + static_cast<std::ptrdiff_t>(*index));
    else
        m_Slots[*index] = ImageCacheSlot::MakeEmpty();
    KeepNextIndexValid();
}

void ImageCache::SetDecodeScale(const std::string& name, int denominator)
{
    win::SingleLock lock(m_Mutex, true);
    if (denominator == 1 || denominator == 2 || denominator == 4 || denominator == 8)
        m_DecodeScales[name] = denominator;
    else
        m_DecodeScales.erase(name);
}

bool ImageCache::HasDecodeScale(const std::string& name)
{
    win::SingleLock lock(m_Mutex, true);
    return m_DecodeScales.contains(name);
}

int ImageCache::GetDecodeScale(const std::string& name)
{
    win::SingleLock lock(m_Mutex, true);
    const auto found = m_DecodeScales.find(name);
    return found == m_DecodeScales.end() ? 1 : found->second;
}

uint32_t ImageCache::GetSlotCount()
{
    win::SingleLock lock(m_Mutex, true);
    return static_cast<uint32_t>(m_Slots.size());
}

uint32_t ImageCache::GetConfiguredSize()
{
    win::SingleLock lock(m_Mutex, true);
    return m_ConfiguredSize;
}

std::vector<std::string> ImageCache::GetNames()
{
    win::SingleLock lock(m_Mutex, true);
    std::vector<std::string> names;
    for (const ImageCacheSlot& slot : m_Slots)
        names.push_back(slot.name);
    return names;
}

void ImageCache::SetClock(MillisecondClock clock)
{
    win::SingleLock lock(m_Mutex, true);
    m_Clock = std::move(clock);
}

void ImageCache::SetOutOfMemorySeam(OutOfMemorySeam seam)
{
    win::SingleLock lock(m_Mutex, true);
    m_OutOfMemory = std::move(seam);
}

bool ImageCache::RunsOutOfMemory(CacheStep step)
{
    win::SingleLock lock(m_Mutex, true);
    return m_OutOfMemory && m_OutOfMemory(step);
}

void ImageCache::RestoreInitialState()
{
    win::SingleLock lock(m_Mutex, true);
    m_ConfiguredSize = kInitialSize;
    m_Slots = MakeSlots(kInitialSize);
    m_DecodeScales.clear();
    m_NextIndex = 0;
    m_Clock = MillisecondClock {};
    m_OutOfMemory = nullptr;
}

std::optional<size_t> ImageCache::FindSlot(const std::string& name) const
{
    if (name.empty())
        return std::nullopt;
    const auto it = std::find_if(
        m_Slots.begin(), m_Slots.end(), [&](const ImageCacheSlot& slot) { return slot.name == name; });
    if (it == m_Slots.end())
        return std::nullopt;
    return static_cast<size_t>(it - m_Slots.begin());
}

std::optional<size_t> ImageCache::FindSlotOf(const DeviceIndepBitmap* work) const
{
    const auto it = std::find_if(
        m_Slots.begin(), m_Slots.end(), [&](const ImageCacheSlot& slot) { return slot.work.get() == work; });
    if (it == m_Slots.end())
        return std::nullopt;
    return static_cast<size_t>(it - m_Slots.begin());
}

std::optional<size_t> ImageCache::FindSlotOfPristine(const DeviceIndepBitmap* pristine) const
{
    const auto it = std::find_if(m_Slots.begin(), m_Slots.end(),
        [&](const ImageCacheSlot& slot) { return slot.pristine.get() == pristine; });
    if (it == m_Slots.end())
        return std::nullopt;
    return static_cast<size_t>(it - m_Slots.begin());
}

bool ImageCache::RemoveFreeSlots(const DeviceIndepBitmap* keep)
{
    bool removed = false;
    // The index moves on only past a slot that stays, so no slot is skipped after a removal.
    for (size_t i = 0; i < m_Slots.size() && m_Slots.size() > m_ConfiguredSize;) {
        const ImageCacheSlot& slot = m_Slots[i];
        if (slot.IsFree() && slot.work.get() != keep && slot.pristine.get() != keep) {
            m_Slots.erase(m_Slots.begin() + static_cast<std::ptrdiff_t>(i));
            removed = true;
        } else {
            ++i;
        }
    }
    KeepNextIndexValid();
    return removed;
}

void ImageCache::KeepNextIndexValid()
{
    if (m_NextIndex >= m_Slots.size())
        m_NextIndex = 0;
}

ImageCache& GetImageCache()
{
    static ImageCache cache;
    return cache;
}
