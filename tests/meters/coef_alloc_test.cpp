// Coefficient evaluation must not touch the heap: every meter type's coefficient,
// expansibility, velocity of approach and pressure loss, counted through operator new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "meters/coef.hpp"

namespace {
thread_local bool counting = false;
thread_local int allocations = 0;
}  // namespace

void* operator new(std::size_t n) {
  if (counting) ++allocations;
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace qmx::DP0;

TEST(NoAllocation, EveryMeterType) {
  double sink = 0.0;
  counting = true;
  allocations = 0;
  for (int i = 0; i < kMeterTypeCount; ++i) {
    const auto t = static_cast<MeterType>(i);
    if (t == MeterType::Orf_BB) continue;  // raises by design
    CoefParams p;
    p.type = t;
    p.beta = 0.5;
    p.Dt = 0.1;
    p.dt = 0.05;
    p.Dref = 0.1;
    p.dref = 0.05;
    p.ReD = 2e5;
    p.Red = 4e5;
    p.tap = 1;
    p.coef1 = 0.7;
    p.coef2 = 0.9;
    p.ivcm = 0.8;
    p.dP = 1e4;
    p.rho = 50;
    p.mu = 1e-5;
    CoefFlags f = 0;
    sink += DischargeCoefficient(p, f);
    if (t != MeterType::Orf_Seg) sink += GasExpansion(3, t, 1e6, 1e4, 1.3, 0.1, 0.05);
    sink += VelocityOfApproach(0.5, t) + PressureLoss(0.6, 0.5, 1e4, t);
    sink += Beta(t, 0.1, 0.05);
  }
  counting = false;
  EXPECT_EQ(allocations, 0);
  EXPECT_TRUE(sink == sink);
}

}  // namespace
