// The control table of the editing form (template 101): every control with its id, caption and
// place in dialog units, laid out as one column that the main frame shows beside the drawing.
#pragma once
#include "platform/qt/fw/DialogTemplate.h"

namespace form {

inline constexpr win::UINT IDD_FORM = 101;

// The group box whose width is the panel's width.
inline constexpr win::UINT IDC_PAPER_BOX = 1042;
inline constexpr win::UINT IDC_SWATCH = 1088;

const fw::DialogTemplate& FormTemplate();

} // namespace form
