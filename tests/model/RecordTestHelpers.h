// Byte strings and printable field dumps for the record-form tests.
#pragma once

#include "model/Layout.h"

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>

inline std::string Bytes(std::initializer_list<int> bytes)
{
    std::string out;
    for (const int b : bytes)
        out.push_back(static_cast<char>(b));
    return out;
}

inline std::string Le32(uint32_t value)
{
    return Bytes({ static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
        static_cast<int>((value >> 16) & 0xFF), static_cast<int>(value >> 24) });
}

// Every stored field of a unit, then its children's, one unit per line.
inline std::string StoredFields(const LayoutUnit& unit, bool withChildren = true)
{
    std::ostringstream out;
    out << unit.GetPath() << " caption=" << unit.GetCaption() << " id=" << unit.GetId()
        << " at=" << unit.GetX() << "," << unit.GetY() << " size=" << unit.GetWidth() << "x"
        << unit.GetHeight() << " repeat=" << unit.GetRepeatCount() << " step=" << unit.GetStepX() << ","
        << unit.GetStepY() << " single=" << unit.GetSingleOnly() << " visible=" << unit.GetVisible()
        << " align=" << unit.GetAlignment() << " image=" << unit.GetImageFlag()
        << " turns=" << unit.GetQuarterTurns() << " font=" << unit.GetFontSize() << "\n";
    if (withChildren) {
        for (const auto& child : unit.GetChildren())
            out << StoredFields(*child);
    }
    return out.str();
}

inline std::string StoredFields(const PaperSpecs& paper)
{
    std::ostringstream out;
    out << "paper id=" << paper.GetId() << " type=" << paper.GetPaperType() << " " << paper.GetPaperHeight()
        << "x" << paper.GetPaperWidth() << " margins=" << paper.GetMarginLeft() << ","
        << paper.GetMarginRight() << "," << paper.GetMarginTop() << "," << paper.GetMarginBottom()
        << " portrait=" << paper.GetPortrait();
    return out.str();
}

inline std::string StoredFields(const Layout& layout)
{
    std::ostringstream out;
    out << "layout id=" << layout.GetId() << " type=" << layout.GetLayoutType()
        << " background=" << layout.GetBackgroundImage() << " pod=" << layout.GetBackgroundPOD()
        << " printMain=" << layout.GetPrintMainImage() << " copyright=" << layout.GetOverprintCopyright()
        << " word=" << layout.GetOverprintWord() << " colour=" << layout.GetOverprintColour()
        << " diagonal=" << layout.GetOverprintDiagonal() << " diagWidth=" << layout.GetOverprintDiagWidth()
        << "\n";
    return out.str();
}
