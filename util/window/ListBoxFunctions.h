// Helpers for list boxes.
#pragma once

namespace fw {
class Control;
}

// Measures every item's text in the list box's font and lets the box scroll across the widest
// plus 5 pixels. Nothing happens to a control that is not a list box.
void SetListBoxHorizontalExtent(fw::Control& listBox);
