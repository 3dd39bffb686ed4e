// Told how far a source has been read or a decode has come.
#pragma once

class PLProgressListener {
public:
    virtual ~PLProgressListener() = default;
    // part: the fraction done, 0.0 to 1.0.
    virtual void OnProgress(double part) = 0;
};
