// Order references as they are typed or scanned: what kind of reference a text is, and the
// decoding of the barcode form of a reference back into its digits.
#pragma once

#include <string>

// The kind of reference the text is. Blanks and minus signs are ignored:
// - a barcode text ("$" first) with eight letters and digits: 2, and the text is decoded in
//   place by BarcodeTextToNumber;
// - no digit: 0;
// - digits only: eleven give 1, thirteen 2, fewer than five 5, any other count 0;
// - one letter C, P, V or W (either case) directly followed by a digit, with digits besides: 4;
// - anything else: 0.
int ClassifyReferenceText(std::string& text);

// The barcode text (upper-cased, a leading "$" skipped) read as a base-36 number (0-9, then A-Z
// for 10 to 35; other bytes by the same arithmetic, unchecked, wrapping in 64 bits), written in
// decimal with at least eleven digits, followed by its two check digits.
void BarcodeTextToNumber(std::string& text);
