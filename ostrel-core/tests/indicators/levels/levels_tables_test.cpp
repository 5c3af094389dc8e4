// Floor pivots, Fibonacci tools and the Andrews pitchfork against values worked out
// independently, in data/levels.txt (formats in candle_family_support.hpp).
#include "support/candle_family_support.hpp"

TEST(LevelsTables, EveryKind) { kind_table::check_files({"indicators/levels/data/levels.txt"}); }
