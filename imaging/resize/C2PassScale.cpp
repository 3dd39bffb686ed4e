#include "imaging/resize/C2PassScale.h"

#include "imaging/resize/PLContribDef.h"
#include "imaging/resize/PassScaleLoops.h"
#include "imaging/resize/WeightTable.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

namespace {

// The intermediate rows kept at once never take more than this; a request that would need more
// (a very tall source squeezed into a very wide, very short destination) is refused as out of memory.
constexpr int64_t kMaxIntermediateBytes = int64_t { 1 } << 30;

// Intermediate rows: each slot holds one horizontally scaled source row, tagged with its index.
class RowCache {
public:
    RowCache(int64_t slots, int64_t rowBytes)
        : m_RowBytes(rowBytes)
        , m_Tags(static_cast<size_t>(slots), -1)
    {
        if (slots > kMaxIntermediateBytes / rowBytes)
            throw std::bad_alloc();
        m_Pixels = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(slots * rowBytes));
    }

    template <class MakeRow> const uint8_t* Row(int64_t index, MakeRow&& make)
    {
        const auto slot = static_cast<size_t>(index % static_cast<int64_t>(m_Tags.size()));
        uint8_t* row = m_Pixels.get() + static_cast<int64_t>(slot) * m_RowBytes;
        if (m_Tags[slot] != index) {
            make(index, row);
            m_Tags[slot] = index;
        }
        return row;
    }

private:
    int64_t m_RowBytes;
    std::vector<int64_t> m_Tags;
    std::unique_ptr<uint8_t[]> m_Pixels;
};

} // namespace

template <class DataClass>
C2PassScale<DataClass>::C2PassScale(const PLContribDef& contrib, ProgressFunc progress)
    : m_Contrib(contrib)
    , m_Progress(progress)
{
}

template <class DataClass>
uint8_t* const* C2PassScale<DataClass>::Run(const uint8_t* const* source, int64_t srcWidth, int64_t srcHeight,
    uint8_t* const* dest, int64_t dstWidth, int64_t dstHeight)
{
    static_assert(sizeof(DataClass) == 4, "the scaler's loops work on 4-byte pixels");
    m_bAborted = false;
    if (srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0)
        return dest;

    const pass_scale::PreparedPass across
        = pass_scale::Prepare(BuildWeightTable(m_Contrib, dstWidth, srcWidth));
    const pass_scale::PreparedPass down
        = pass_scale::Prepare(BuildWeightTable(m_Contrib, dstHeight, srcHeight));

    const int64_t rowBytes = dstWidth * 4;
    std::vector<const uint8_t*> window(static_cast<size_t>(down.maxCount));
    const auto makeRow = [&](int64_t y, uint8_t* row) { pass_scale::ScaleRow(across, source[y], row); };
    const auto scaleColumns = [&](auto&& rowOf) {
        for (int64_t y = 0; y < dstHeight; ++y) {
            if (m_Progress && !m_Progress(static_cast<uint8_t>(50 + y * 50 / dstHeight))) {
                m_bAborted = true;
                return false;
            }
            const pass_scale::Taps& t = down.taps[static_cast<size_t>(y)];
            for (int32_t k = 0; k < t.count; ++k)
                window[static_cast<size_t>(k)] = rowOf(t.first + k);
            pass_scale::ScaleColumn(down, static_cast<size_t>(y), window.data(), dest[y], rowBytes);
        }
        return true;
    };

    if (m_Progress) {
        // A caller that watches the progress sees the horizontal pass over every source row first,
        // and a stop there leaves the destination untouched: that takes the whole intermediate
        // picture, destination width x source height.
        RowCache whole(srcHeight, rowBytes);
        for (int64_t y = 0; y < srcHeight; ++y) {
            if (!m_Progress(static_cast<uint8_t>(y * 50 / srcHeight))) {
                m_bAborted = true;
                return nullptr;
            }
            whole.Row(y, makeRow);
        }
        return scaleColumns([&](int64_t y) { return whole.Row(y, makeRow); }) ? dest : nullptr;
    }

    // Any run of maxCount rows lands in distinct slots; one spare slot keeps a row that a
    // following output row starting one row earlier would read again.
    RowCache cache(std::min<int64_t>(down.maxCount + 1, srcHeight), rowBytes);
    scaleColumns([&](int64_t y) { return cache.Row(y, makeRow); });
    return dest;
}

template class C2PassScale<CDataRGBA_UBYTE>;
