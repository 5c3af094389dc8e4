// The profile kinds against the values in data/: a series against an independent
// model of the binning and value-area rules, worked windows, and each kind's own
// construction texts and warm-ups (formats in candle_family_support.hpp).
#include "support/candle_family_support.hpp"

TEST(ProfileTables, SeriesAndWorkedWindows) { kind_table::check_files({"indicators/profiles/data/profiles.txt"}); }
TEST(ProfileTables, Construction) { kind_table::check_files({"indicators/profiles/data/construction.txt"}); }
