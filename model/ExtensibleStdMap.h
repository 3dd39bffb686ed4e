// The ordered, owning map that keyed collection records derive from: a thin wrapper around a
// std::map with a virtual destructor, so that a record can be both a record and a map. A key
// holds at most one element; offering a second keeps the first.
#pragma once

#include <cstddef>
#include <map>
#include <utility>

template <typename Key, typename T> class ExtensibleStdMap {
public:
    using Elements = std::map<Key, T>;

    virtual ~ExtensibleStdMap() = default;

    const Elements& GetElements() const { return elements_; }
    std::size_t GetCount() const { return elements_.size(); }
    // The element under key, or a default (empty) one.
    T Find(const Key& key) const
    {
        const auto found = elements_.find(key);
        return found == elements_.end() ? T {} : found->second;
    }
    // False, with the first element kept, when the key is already taken.
    bool Insert(const Key& key, T element) { return elements_.emplace(key, std::move(element)).second; }
    void RemoveAll() { elements_.clear(); }

protected:
    ExtensibleStdMap() = default;
    ExtensibleStdMap(const ExtensibleStdMap&) = default;
    ExtensibleStdMap& operator=(const ExtensibleStdMap&) = default;

    Elements elements_;
};
