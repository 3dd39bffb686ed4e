// Two page writers for printing outside the framework's print loop: a CSV file as a table and a
// long text as word-wrapped lines, both in "Arial" with a centred "Page %d" footer on every page
// when there is more than one. They start their pages themselves and leave the last page open for
// EndPrintJob; the caller starts the document.
#pragma once

#include "util/window/PageDevice.h"

#include <span>
#include <string>
#include <string_view>

// Column alignments.
constexpr int kAlignLeft = 0;
constexpr int kAlignCentre = 1;
constexpr int kAlignRight = 2;

// Prints the file's rows as a table of columns, each with its width in percent of the usable
// width, its alignment (another value aligns left) and whether its text is drawn into its cell
// rectangle (breaking at the text's own line breaks) rather than written on the row's line. A line
// with more fields than columns continues as the next row. The font size is in tenths of a point.
// False, with a message, when the file cannot be opened; false, printing nothing, for fewer than
// one column or fewer widths, alignments or flags than columns.
bool PrintCsvFileTable(PageDevice& device, int fontSize, const std::string& fileName, int columns,
    std::span<const int> widths, std::span<const int> alignments, std::span<const bool> rectangleFlags);

// Prints the text a paragraph (ended by a line feed) at a time, each cut into lines of at most as
// many characters as the page holds (at least one): after the last blank that fits, or where the
// line is full when there is none. Nothing for an empty text.
void PrintWrappedText(PageDevice& device, int fontSize, std::string_view text);
