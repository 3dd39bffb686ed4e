// The largest size of a width x height picture's proportions that fits a box, in single precision.
#pragma once

// Sides are truncated, so a very thin picture can fit with a side of 0. An empty picture or box (a
// side of 0 or less) fits as 0 x 0.
void FitSizeKeepAspect(int width, int height, int boxWidth, int boxHeight, int& fitWidth, int& fitHeight);
