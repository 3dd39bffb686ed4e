// A list that takes texts one at a time, as a combo box does; the window layer adapts its controls
// to it, so that the model fills them without knowing the toolkit.
#pragma once

#include <string>

class AddStringTarget {
public:
    virtual ~AddStringTarget() = default;
    virtual void AddString(const std::string& text) = 0;
};
