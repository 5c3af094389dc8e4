// The session, volume-line, Heikin-Ashi and price-transform kinds against the values
// in data/: one series against an independent model, the hand-worked cases, and each
// kind's own construction texts and warm-ups (formats in candle_family_support.hpp).
#include "support/candle_family_support.hpp"

TEST(SessionTables, ReferenceSeries) { kind_table::check_files({"indicators/sessions/data/reference.txt"}); }
TEST(SessionTables, WorkedCases) { kind_table::check_files({"indicators/sessions/data/cases.txt"}); }
TEST(SessionTables, Construction) { kind_table::check_files({"indicators/sessions/data/construction.txt"}); }
