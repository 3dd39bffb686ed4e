// Root of every class of the image library.
#pragma once

class PLObject {
public:
    PLObject() = default;
    PLObject(const PLObject&) = default;
    PLObject& operator=(const PLObject&) = default;
    virtual ~PLObject() = default;

    // Hook for a consistency check of the object's state; the base has nothing to check.
    virtual void AssertValid() const { }
};
