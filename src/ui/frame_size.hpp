#pragma once
// The size of the main frame for a screen resolution: 640 by 500 pixels at 96 dots per inch,
// scaled by the resolution with a correction per band of resolutions.
#include <utility>

namespace qmx::ui {

// Width and height in pixels for the horizontal and vertical resolution in dots per inch.
// Bands: 70..85 dpi (1.1, 0.95), 86..105 dpi (1.03, 1.0), 106..135 dpi (1.065, 1.0); a resolution
// outside 70..135 takes the nearest band; a resolution that is not a positive number counts as 96.
std::pair<int, int> FrameSize(double dpiX, double dpiY);

}  // namespace qmx::ui
