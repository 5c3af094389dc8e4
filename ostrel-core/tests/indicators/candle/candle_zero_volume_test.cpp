// Untraded (forward-filled) bars carry volume 0: once a window holds only such bars it
// has no volume, exactly, though the running volume sums keep a residue of the volumes
// that left it. The kinds answer their no-volume value there and carry on from it
// (data/zero_volume_cases.txt).
#include "support/candle_family_support.hpp"

TEST(CandleZeroVolume, WindowsOfUntradedBarsHaveNoVolume) {
    kind_table::check_files({"indicators/candle/data/zero_volume_cases.txt"});
}
