// The frame size by screen resolution.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ui/frame_size.hpp"

namespace {

struct SizeCase {
  double dpiX, dpiY;
  int width, height;
};

// 96 and 120 dpi are the documented sizes; the others follow width = dpi/96 x f x 640 and
// height = dpi/96 x g x 500 with the band factors, a resolution outside 70..135 taking the nearest
// band, and an unusable resolution counting as 96.
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const SizeCase kCases[] = {
    {96, 96, 640, 500},   {120, 120, 852, 625},  {72, 72, 528, 356},   {85, 85, 623, 421},
    {86, 86, 591, 448},   {100, 100, 687, 521},  {105, 105, 721, 547}, {106, 106, 753, 552},
    {135, 135, 959, 703}, {60, 60, 440, 297},    {144, 144, 1022, 750}, {192, 192, 1363, 1000},
    {96, 120, 640, 625},  {120, 96, 852, 500},   {kNaN, 0, 640, 500},   {-5, 96, 640, 500},
};

TEST(FrameSize, ByResolution) {
  for (const SizeCase& c : kCases) {
    const auto [w, h] = qmx::ui::FrameSize(c.dpiX, c.dpiY);
    EXPECT_EQ(w, c.width) << c.dpiX << " x " << c.dpiY;
    EXPECT_EQ(h, c.height) << c.dpiX << " x " << c.dpiY;
  }
}

TEST(FrameSize, AbsurdResolutionsStayBounded) {
  const auto [w, h] = qmx::ui::FrameSize(1e300, std::numeric_limits<double>::infinity());
  EXPECT_GT(w, 0);
  EXPECT_LE(w, 10 * 1065);
  EXPECT_EQ(h, 500);
}

}  // namespace
