// The about box: the program's icon, name and version, and its maker. OK closes it.
#pragma once

#include "platform/qt/fw/Dialog.h"

class QWidget;

// The program's icon, compiled into the program.
inline constexpr const char* kProgramIcon = ":/app/Orvanel.png";

class CAboutDlg : public fw::Dialog {
public:
    static constexpr win::UINT IDD = 100;

    explicit CAboutDlg(QWidget* parent = nullptr);
};
