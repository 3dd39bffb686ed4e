#include "platform/qt/fw/Accelerators.h"

#include "platform/qt/fw/Keys.h"

namespace fw {

QKeySequence KeySequenceOf(const Accel& accel)
{
    const int key = QtKeyOf(accel.key);
    if (key == Qt::Key_unknown)
        return {};
    Qt::KeyboardModifiers modifiers;
    if (accel.fVirt & FSHIFT)
        modifiers |= Qt::ShiftModifier;
    if (accel.fVirt & FCONTROL)
        modifiers |= Qt::ControlModifier;
    if (accel.fVirt & FALT)
        modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

} // namespace fw
