// Windows of equal inputs reached after movement: the running sums still hold a
// residue of the candles that left the window, and the value must be the exact one
// of a window without moves, range or flow (data/equal_window_cases.txt).
#include "support/candle_family_support.hpp"

TEST(CandleEqualWindow, ResidueOfEarlierCandlesIsNotAValue) {
    kind_table::check_files({"indicators/candle/data/equal_window_cases.txt"});
}
