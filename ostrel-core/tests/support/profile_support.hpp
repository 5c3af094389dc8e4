// The uneven candle series of the profile-binning tests (the same candles as the
// list "profile14" of indicators/profiles/data/profiles.txt).
#pragma once

#include <vector>

namespace profile_support {

struct Bar {
    double o, h, l, c, v;
};

// Uneven prices and volumes, a zero-volume candle (#2) and a candle with high equal
// to low (#3).
inline const std::vector<Bar> kSeries = {
    {100.3, 101.7, 99.9, 101.1, 1250.5},    {101.1, 102.45, 100.8, 102.2, 980.25},
    {102.2, 102.9, 101.35, 101.6, 0.0},     {101.6, 101.6, 101.6, 101.6, 333.3},
    {101.6, 103.15, 101.2, 102.95, 1720.75}, {102.95, 104.05, 102.6, 103.7, 2105.1},
    {103.7, 103.95, 102.05, 102.3, 1410.6},  {102.3, 102.7, 100.95, 101.15, 1890.35},
    {101.15, 101.8, 100.1, 100.45, 760.9},   {100.45, 101.25, 99.7, 101.05, 1155.45},
    {101.05, 102.35, 100.85, 102.1, 870.2},  {102.1, 102.4, 101.55, 101.9, 640.05},
    {101.9, 103.3, 101.7, 103.05, 1333.33},  {103.05, 103.2, 102.15, 102.4, 990.9},
};

}  // namespace profile_support
