// The child operations of record messages, for the records that keep their children in a list of
// shared pointers (and, for removal, in a map of them): adding a child that reads its embedded
// message, and removing a child named by its record id.
#pragma once

#include <algorithm>
#include <cstdint>
#include <istream>
#include <memory>
#include <utility>
#include <vector>

namespace dispatchedchildren {

template <typename Child> Child& RecordOf(const std::shared_ptr<Child>& child)
{
    return *child;
}
template <typename Key, typename Child>
Child& RecordOf(const std::pair<const Key, std::shared_ptr<Child>>& entry)
{
    return *entry.second;
}

} // namespace dispatchedchildren

// Appends child and lets it read its embedded message (ReadAsChild with the id). A child whose
// message cannot be read whole is taken out again before the error goes on, so that no half-read
// child stays.
template <typename Child>
void ReadDispatchedChild(std::vector<std::shared_ptr<Child>>& children, std::shared_ptr<Child> child,
    uint32_t id, std::istream& in)
{
    children.push_back(child);
    try {
        child->ReadAsChild(id, in);
    } catch (...) {
        const auto found = std::find(children.begin(), children.end(), child);
        if (found != children.end())
            children.erase(found);
        throw;
    }
}

// The first child whose record id is id is told it goes, then removed; nothing when none has it.
template <typename Children> void RemoveDispatchedChild(Children& children, uint32_t id)
{
    using dispatchedchildren::RecordOf;
    const auto found = std::find_if(
        children.begin(), children.end(), [id](const auto& child) { return RecordOf(child).GetId() == id; });
    if (found == children.end())
        return;
    RecordOf(*found).OnDispatchRemoved();
    children.erase(found);
}
