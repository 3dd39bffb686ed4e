// The process-wide cache of decoded pictures, kept by exact file name. A caller asks for a picture
// by name and shares it through a shared pointer; a miss loads the file into the least recently
// used slot that no caller holds, growing the cache by half when every slot is held and shrinking
// it back as soon as slots are free again. Each slot also keeps the picture as loaded, from which
// adjustments are redone; when memory runs out, free slots are given up and the size the cache
// returns to is lowered for good. Every public operation holds the cache's re-entrant mutex.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/wrapper/DeviceIndepBitmap.h"
#include "imaging/wrapper/ImageAdjustments.h"
#include "imaging/wrapper/ImageCacheServices.h"
#include "imaging/wrapper/ImageCacheSlot.h"
#include "imaging/wrapper/ImageResult.h"
#include "platform/win/Mutex.h"

class ImageCache {
public:
    using Picture = std::shared_ptr<Pellimar::DeviceIndepBitmap>;
    // What a caller does to a new picture before the cache hands it to anyone (a crop, say): a
    // picture another thread may hold is never changed.
    using Preparation = std::function<void(Pellimar::DeviceIndepBitmap&)>;
    static constexpr uint32_t kInitialSize = 10;

    ImageCache();
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // The picture of the file, loaded on a miss; empty on failure, with the failure in result.
    // wait: wait up to 20 s for a file that is still being written, and retry a decode that fails
    // in a way worth retrying for as long. probe: only wait for the file, load nothing (the result
    // is then empty). wantPristine: the picture as loaded instead of the one adjustments apply to.
    // A hit comes back turned to its loaded orientation, or as the adjustments say. An empty name
    // is never found and fails as a missing file. prepare runs on a picture just loaded, before
    // any other caller can get it (a hit is not prepared again).
    Picture GetImage(const std::string& name, ImageResult& result, bool wait = false,
        const std::optional<ImageAdjustments>& adjustments = std::nullopt, bool probe = false,
        bool wantPristine = false, const Preparation& prepare = {});
    bool Contains(const std::string& name);
    // Redoes the adjustments from the picture as loaded into a new picture, which takes the slot's
    // place (and is prepared first): a picture handed out earlier stays as it is, since its holder
    // may be drawing it on another thread. Loads the file when no slot has it (unless noLoad). On
    // failure the slot gives up the name and the result is empty.
    Picture Reprocess(const std::string& name, ImageResult& result,
        const std::optional<ImageAdjustments>& adjustments, bool noLoad, const Preparation& prepare = {});
    // Lets go of every slot (callers keep the pictures they hold) and makes the configured number
    // of new ones.
    void Reset();
    // n slots; with remember, n is also the size the cache shrinks back to.
    void SetSize(uint32_t n, bool remember);
    // Memory ran out: lowers the configured size by one (not below 1) for good and removes free
    // slots beyond it, never one holding the kept picture. True when a slot was removed.
    bool Purge(const Pellimar::DeviceIndepBitmap* keep);
    // Forgets the name: removes its slot when there are more slots than configured, else frees it
    // (the slot lets go of its pictures; callers keep the ones they hold).
    void Remove(const std::string& name);
    // Loads of the file from now on decode it at 1/denominator of its size (1, 2, 4 or 8), scaled
    // inside the JPEG decoder; 1, the default, is full size. A picture already held keeps its size.
    void SetDecodeScale(const std::string& name, int denominator);
    int GetDecodeScale(const std::string& name);
    // Whether a decode scale was set for the file (full size included).
    bool HasDecodeScale(const std::string& name);

    uint32_t GetSlotCount();
    uint32_t GetConfiguredSize();
    // The names of the slots in order (empty for a free slot).
    std::vector<std::string> GetNames();

    void SetClock(MillisecondClock clock);
    const MillisecondClock& GetClock() const { return m_Clock; }
    void SetOutOfMemorySeam(OutOfMemorySeam seam);
    // Whether the seam makes this step run out of memory.
    bool RunsOutOfMemory(CacheStep step);
    // Back to the state of a new cache, with the system clock and no seam: for tests.
    void RestoreInitialState();

private:
    std::optional<size_t> FindSlot(const std::string& name) const;
    std::optional<size_t> FindSlotOf(const Pellimar::DeviceIndepBitmap* work) const;
    std::optional<size_t> FindSlotOfPristine(const Pellimar::DeviceIndepBitmap* pristine) const;
    // The first free slot from nextIndex on, wrapping; when none is free, the cache grows by half
    // (by one at least) and the first new slot is taken. nextIndex stops on the victim.
    size_t FindVictim();
    // Moves the slot to the round-robin position, so that it is the last to be reused; its index
    // there.
    size_t Promote(size_t index);
    Picture LoadIntoVictim(const std::string& name, ImageResult& result, bool wait,
        const std::optional<ImageAdjustments>& adjustments, bool probe, bool wantPristine,
        const Preparation& prepare);
    // Removes every free slot while there are more slots than configured.
    bool RemoveFreeSlots(const Pellimar::DeviceIndepBitmap* keep);
    void KeepNextIndexValid();

    std::vector<ImageCacheSlot> m_Slots;
    std::map<std::string, int> m_DecodeScales; // by file name; absent means full size
    uint32_t m_ConfiguredSize = kInitialSize;
    uint32_t m_NextIndex = 0;
    MillisecondClock m_Clock;
    OutOfMemorySeam m_OutOfMemory;
    win::Mutex m_Mutex;
};

// The one cache of the process, made on the first call with 10 slots.
ImageCache& GetImageCache();
