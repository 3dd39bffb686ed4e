// Removing a child record that a record message names by its record id, for the records that keep
// their children in a list of shared pointers or in a map of them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

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
