#pragma once

#include <cstdint>

class PLContribDef;

// One pixel of the scaler: blue, green, red, alpha, all four channels scaled alike.
struct CDataRGBA_UBYTE {
    uint8_t channel[4];
};

// Two-pass scaler: every row is scaled horizontally into an 8-bit intermediate, then the
// intermediate is scaled vertically into the destination. Without a progress function,
// intermediate rows are made as the vertical pass needs them and kept only while an output row
// still reads them, so the memory used is a few rows, not a whole picture. With one, the
// horizontal pass runs over the whole picture first (reporting truncate(y / source height x 50)
// before each source row), then the vertical pass (50 + truncate(y / destination height x 50)
// before each output row); a stop in the horizontal pass leaves the destination untouched.
template <class DataClass> class C2PassScale {
public:
    // Takes the percentage done; answering false stops the scaling.
    using ProgressFunc = bool (*)(uint8_t percentDone);

    explicit C2PassScale(const PLContribDef& contrib, ProgressFunc progress = nullptr);
    virtual ~C2PassScale() = default;

    C2PassScale(const C2PassScale&) = delete;
    C2PassScale& operator=(const C2PassScale&) = delete;

    // Scales srcWidth x srcHeight pixels (row pointers `source`) into dstWidth x dstHeight pixels
    // (row pointers `dest`). A size of 0 or less scales nothing and leaves the destination as it
    // is. Returns `dest`, or null when the progress function stopped the scaling. Throws
    // std::bad_alloc when the weight tables or the intermediate rows cannot be allocated.
    uint8_t* const* Run(const uint8_t* const* source, int64_t srcWidth, int64_t srcHeight,
        uint8_t* const* dest, int64_t dstWidth, int64_t dstHeight);

    bool IsAborted() const { return m_bAborted; }

private:
    const PLContribDef& m_Contrib;
    ProgressFunc m_Progress;
    bool m_bAborted = false;
};

extern template class C2PassScale<CDataRGBA_UBYTE>;
