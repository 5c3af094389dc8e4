// The candle-series kinds against the values in data/: reference series from
// independent models and outside libraries, hand-worked cases, and each kind's own
// construction texts. The file formats are described in candle_family_support.hpp.
#include "support/candle_family_support.hpp"

namespace {

const std::string kDir = "indicators/candle/data/";

void check(std::initializer_list<const char*> names) {
    std::vector<std::string> files;
    for (const char* n : names) files.push_back(kDir + n);
    kind_table::check_files(files);
}

}  // namespace

TEST(CandleTables, OscillatorsStopsAndVolumeAveragesOverWalk60) {
    check({"candles_walk60.txt", "family_reference.txt"});
}
TEST(CandleTables, VolatilityAndBandsOverSixHourBars) {
    check({"candles_sixhour.txt", "volatility_band_reference.txt"});
}
TEST(CandleTables, VolumeKindsOverVol64) { check({"candles_vol64.txt", "volume_reference.txt"}); }
TEST(CandleTables, TrendBandsAndOscillatorsOverWalk160) { check({"reference.txt"}); }
TEST(CandleTables, RefusedCandlesAndBoundaries) { check({"cases.txt"}); }
TEST(CandleTables, TrendCases) { check({"trend_cases.txt"}); }
TEST(CandleTables, OscillatorCases) { check({"oscillator_cases.txt"}); }
TEST(CandleTables, StopCases) { check({"stop_cases.txt"}); }
TEST(CandleTables, VolumeCases) { check({"volume_cases.txt"}); }
TEST(CandleTables, BandCases) { check({"band_cases.txt"}); }
TEST(CandleTables, Construction) { check({"construction.txt"}); }
