// The pixel loops of a turn. Destination pixel (x, y) takes, for a source W x H:
//   mode 0 (quarter turn clockwise):     source column y,         row H - 1 - x;
//   mode 1 (half turn):                  source column W - 1 - x, row H - 1 - y;
//   mode 2 (quarter turn anticlockwise): source column W - 1 - y, row x.
// Both loops expect the destination already created with the turned size and the source's depth.
#pragma once

class PLBmp;

namespace PLRotateKernels {

// One pixel at a time in destination order; every depth.
void RotatePlain(const PLBmp& src, PLBmp& dst, int mode);
// Square tiles, so that the column-wise reads of a quarter turn stay in the cache; depths of whole
// bytes (8, 16, 24, 32).
void RotateTiled(const PLBmp& src, PLBmp& dst, int mode);

} // namespace PLRotateKernels
