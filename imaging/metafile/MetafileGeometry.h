// The curved shapes of the drawing records, in logical coordinates (y down): arcs of the ellipse
// inside a box, cut by the radial lines through two points, and round rectangles.
#pragma once

#include "imaging/metafile/MetafileCanvas.h"

#include <vector>

namespace metafile {

struct Box {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// The arc of the box's ellipse from where the radial line through start meets it to where the one
// through end does, counter-clockwise as seen with y down (clockwise when asked); the whole
// ellipse when both meet it at the same place. segmentsPerTurn sets how finely it is drawn.
std::vector<PointD> ArcPoints(const Box& box, PointD start, PointD end, bool clockwise, int segmentsPerTurn);

// The arc of the circle around centre from startDegrees (counter-clockwise from the x axis)
// through sweepDegrees.
std::vector<PointD> AngleArcPoints(
    PointD centre, double radius, double startDegrees, double sweepDegrees, int segmentsPerTurn);

// The outline of a rectangle whose corners are quarters of an ellipse cornerWidth x cornerHeight.
std::vector<PointD> RoundRectPoints(
    const Box& box, double cornerWidth, double cornerHeight, int segmentsPerTurn);

} // namespace metafile
