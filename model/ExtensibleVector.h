// The ordered, owning list that collection records derive from: a thin wrapper around a
// std::vector with a virtual destructor, so that a record can be both a record and a list.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

template <typename T> class ExtensibleVector {
public:
    using Elements = std::vector<T>;

    virtual ~ExtensibleVector() = default;

    const Elements& GetElements() const { return elements_; }
    std::size_t GetCount() const { return elements_.size(); }
    bool IsEmpty() const { return elements_.empty(); }
    const T& GetAt(std::size_t index) const { return elements_.at(index); }

    void Add(T element) { elements_.push_back(std::move(element)); }
    void RemoveAll() { elements_.clear(); }

protected:
    ExtensibleVector() = default;
    ExtensibleVector(const ExtensibleVector&) = default;
    ExtensibleVector& operator=(const ExtensibleVector&) = default;

    Elements elements_;
};
