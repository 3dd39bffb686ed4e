// Removing a child record that a record message names by its record id, for the records that keep
// their children in a list of shared pointers.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

// The first child whose record id is id is told it goes, then removed; nothing when none has it.
template <typename Child>
void RemoveDispatchedChild(std::vector<std::shared_ptr<Child>>& children, uint32_t id)
{
    const auto found = std::find_if(
        children.begin(), children.end(), [id](const auto& child) { return child->GetId() == id; });
    if (found == children.end())
        return;
    (*found)->OnDispatchRemoved();
    children.erase(found);
}
