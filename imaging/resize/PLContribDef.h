#pragma once

#include "imaging/io/PLObject.h"

// Resampling kernels of the two-pass scaler: each gives the weight of a source pixel at a
// distance x (in source pixels, already scaled when shrinking) from the centre of an output pixel.

class PLContribDef : public PLObject {
public:
    explicit PLContribDef(double width)
        : m_Width(width)
    {
    }

    virtual double Weight(double x) const = 0;
    double GetWidth() const { return m_Width; }

private:
    double m_Width;
};

// Triangle: w - |x| inside the width.
class PLBilinearContribDef : public PLContribDef {
public:
    using PLContribDef::PLContribDef;
    double Weight(double x) const override;
};

// Flat: 1 up to and including the width.
class PLBoxContribDef : public PLContribDef {
public:
    using PLContribDef::PLContribDef;
    double Weight(double x) const override;
};

// Bell curve exp(-(x^2 / w) - 1) / sqrt(2 pi), cut off beyond the width.
class PLGaussianContribDef : public PLContribDef {
public:
    using PLContribDef::PLContribDef;
    double Weight(double x) const override;
};

// Hamming-windowed sinc, cut off beyond the width; its side lobes are negative.
class PLHammingContribDef : public PLContribDef {
public:
    using PLContribDef::PLContribDef;
    double Weight(double x) const override;
};
