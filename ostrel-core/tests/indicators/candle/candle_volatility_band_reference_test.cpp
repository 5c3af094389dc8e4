// Range-volatility and band kinds against values from an independent model written
// again from each kind's definition (fused steps emulated with exact rationals),
// compared bit for bit at chosen bars of one candle series.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"

using namespace ostrel;

namespace {

struct Bar {
    std::int64_t t;
    double o, h, l, c, v;
};

// Six-hour bars (four a day), prices rounded to cents.
const Bar kBars[] = {
    {1699989200000, 100.0, 100.29, 97.79, 98.6, 685.0},
    {1700010800000, 98.6, 98.79, 98.25, 98.69, 450.0},
    {1700032400000, 98.69, 99.71, 98.02, 99.36, 767.0},
    {1700054000000, 99.36, 100.23, 98.16, 98.5, 609.0},
    {1700075600000, 98.5, 99.55, 98.16, 99.18, 332.0},
    {1700097200000, 99.18, 99.45, 98.39, 98.94, 366.0},
    {1700118800000, 98.94, 100.74, 98.25, 100.15, 401.0},
    {1700140400000, 100.15, 100.29, 99.66, 100.15, 555.0},
    {1700162000000, 100.15, 101.98, 99.27, 101.51, 795.0},
    {1700183600000, 101.51, 102.17, 99.62, 99.76, 447.0},
    {1700205200000, 99.76, 100.29, 97.91, 98.3, 643.0},
    {1700226800000, 98.3, 98.56, 96.36, 97.27, 348.0},
    {1700248400000, 97.27, 97.36, 96.01, 96.15, 879.0},
    {1700270000000, 96.15, 97.15, 94.55, 94.86, 451.0},
    {1700291600000, 94.86, 96.25, 92.16, 93.02, 176.0},
    {1700313200000, 93.02, 93.55, 92.97, 93.43, 594.0},
    {1700334800000, 93.43, 95.45, 93.1, 94.94, 809.0},
    {1700356400000, 94.94, 95.53, 93.75, 94.52, 782.0},
    {1700378000000, 94.52, 98.48, 94.43, 97.08, 796.0},
    {1700399600000, 97.08, 99.55, 96.89, 99.0, 721.0},
    {1700421200000, 99.0, 99.62, 98.78, 99.28, 595.0},
    {1700442800000, 99.28, 100.31, 97.8, 100.09, 479.0},
    {1700464400000, 100.09, 101.97, 99.39, 100.91, 112.0},
    {1700486000000, 100.91, 101.01, 97.85, 98.06, 994.0},
    {1700507600000, 98.06, 99.21, 97.94, 99.2, 548.0},
    {1700529200000, 99.2, 99.51, 97.37, 97.41, 906.0},
    {1700550800000, 97.41, 97.9, 96.5, 97.23, 436.0},
    {1700572400000, 97.23, 97.45, 96.44, 97.37, 179.0},
    {1700594000000, 97.37, 97.78, 97.09, 97.2, 291.0},
    {1700615600000, 97.2, 97.84, 94.89, 95.27, 580.0},
    {1700637200000, 95.27, 95.34, 94.09, 94.54, 285.0},
    {1700658800000, 94.54, 95.97, 94.5, 94.53, 353.0},
    {1700680400000, 94.53, 94.77, 93.64, 93.91, 833.0},
    {1700702000000, 93.91, 94.8, 93.69, 94.68, 497.0},
    {1700723600000, 94.68, 96.04, 94.58, 95.29, 574.0},
    {1700745200000, 95.29, 96.63, 95.22, 96.29, 354.0},
    {1700766800000, 96.29, 96.59, 94.71, 95.16, 868.0},
    {1700788400000, 95.16, 95.2, 92.09, 92.12, 167.0},
    {1700810000000, 92.12, 93.96, 92.0, 92.26, 240.0},
    {1700831600000, 92.26, 93.51, 91.18, 93.45, 820.0},
    {1700853200000, 93.45, 95.17, 93.01, 94.63, 983.0},
    {1700874800000, 94.63, 96.29, 94.09, 95.72, 251.0},
    {1700896400000, 95.72, 95.97, 93.9, 94.99, 650.0},
    {1700918000000, 94.99, 95.78, 94.74, 95.68, 963.0},
    {1700939600000, 95.68, 96.78, 95.43, 96.15, 689.0},
    {1700961200000, 96.15, 97.87, 96.04, 97.03, 815.0},
    {1700982800000, 97.03, 97.47, 95.0, 95.48, 174.0},
    {1701004400000, 95.48, 95.54, 93.94, 94.28, 285.0},
};

struct Row {
    const char* kind;
    std::vector<double> params;
    std::size_t bar;
    const char* output;  // "" for the value that update returns
    bool has_value;
    double expected;
};

const Row kRows[] = {
    {"GarmanKlassVolatility", {5, 252}, 3, "", false, 0.0},
    {"GarmanKlassVolatility", {5, 252}, 4, "", true, 0x1.22819d5fb1d67p+4},  // 18.156644223983132
    {"GarmanKlassVolatility", {5, 252}, 20, "", true, 0x1.8fa902d323db3p+4},  // 24.978762459531662
    {"GarmanKlassVolatility", {5, 252}, 47, "", true, 0x1.12b547e677aa1p+4},  // 17.16925802255958
    {"ParkinsonVolatility", {5, 252}, 3, "", false, 0.0},
    {"ParkinsonVolatility", {5, 252}, 4, "", true, 0x1.103f443660a19p+4},  // 17.01544591180036
    {"ParkinsonVolatility", {5, 252}, 20, "", true, 0x1.961ab97856f90p+4},  // 25.38152453429899
    {"ParkinsonVolatility", {5, 252}, 47, "", true, 0x1.124d4ebac1317p+4},  // 17.143873910437005
    {"RogersSatchellVolatility", {5, 252}, 3, "", false, 0.0},
    {"RogersSatchellVolatility", {5, 252}, 4, "", true, 0x1.216408feb0a13p+4},  // 18.086922640688567
    {"RogersSatchellVolatility", {5, 252}, 20, "", true, 0x1.8654cb7b868d3p+4},  // 24.39570186855492
    {"RogersSatchellVolatility", {5, 252}, 47, "", true, 0x1.0cee05cf1ee1bp+4},  // 16.80811100870606
    {"YangZhangVolatility", {5, 252}, 4, "", false, 0.0},
    {"YangZhangVolatility", {5, 252}, 5, "", true, 0x1.de44c4e66aef1p+3},  // 14.945894670519438
    {"YangZhangVolatility", {5, 252}, 20, "", true, 0x1.7ed73515caed3p+4},  // 23.927540860297835
    {"YangZhangVolatility", {5, 252}, 47, "", true, 0x1.112b085bb6751p+4},  // 17.07300601792605
    {"AverageDailyRange", {3, 0}, 0, "", false, 0.0},
    {"AverageDailyRange", {3, 0}, 2, "", true, 0x1.4000000000000p+1},  // 2.5
    {"AverageDailyRange", {3, 0}, 3, "", true, 0x1.4000000000000p+1},  // 2.5
    {"AverageDailyRange", {3, 0}, 5, "", true, 0x1.2d70a3d70a3e0p+1},  // 2.355000000000004
    {"AverageDailyRange", {3, 0}, 20, "", true, 0x1.3d70a3d70a3dbp+2},  // 4.9600000000000035
    {"AverageDailyRange", {3, 0}, 47, "", true, 0x1.a3d70a3d70a35p+1},  // 3.2799999999999963
    {"AverageDailyRange", {3, 300}, 0, "", false, 0.0},
    {"AverageDailyRange", {3, 300}, 1, "", false, 0.0},
    {"AverageDailyRange", {3, 300}, 2, "", false, 0.0},
    {"AverageDailyRange", {3, 300}, 5, "", true, 0x1.4000000000000p+1},  // 2.5
    {"AverageDailyRange", {3, 300}, 20, "", true, 0x1.747ae147ae14bp+2},  // 5.820000000000003
    {"AverageDailyRange", {3, 300}, 47, "", true, 0x1.f258bf258bf20p+1},  // 3.893333333333331
    {"ChaikinVolatility", {4, 3}, 5, "", false, 0.0},
    {"ChaikinVolatility", {4, 3}, 6, "", true, 0x1.bb54ee8821ac2p+2},  // 6.927058823529196
    {"ChaikinVolatility", {4, 3}, 20, "", true, -0x1.128dd93d4969bp-2},  // -0.26811923443379165
    {"ChaikinVolatility", {4, 3}, 47, "", true, 0x1.18312c8758e8ep+4},  // 17.512005356502918
    {"MassIndex", {3, 4}, 6, "", false, 0.0},
    {"MassIndex", {3, 4}, 7, "", true, 0x1.e997fdae3f857p+1},  // 3.82495089538774
    {"MassIndex", {3, 4}, 20, "", true, 0x1.ffbb221d08287p+1},  // 3.9978983537442363
    {"MassIndex", {3, 4}, 47, "", true, 0x1.fc41ac402f92fp+1},  // 3.9707541764647867
    {"VolatilityRatio", {4}, 4, "", false, 0.0},
    {"VolatilityRatio", {4}, 5, "", true, 0x1.7d868612e5749p-1},  // 0.7451669595782074
    {"VolatilityRatio", {4}, 6, "", true, 0x1.f2f97cbe5f2d5p+0},  // 1.9491193737769
    {"VolatilityRatio", {4}, 20, "", true, 0x1.3860322a17489p-2},  // 0.3050544584455755
    {"VolatilityRatio", {4}, 47, "", true, 0x1.9be643a875858p-1},  // 0.8044911521090041
    {"BollingerBands", {5, 2}, 3, "", false, 0.0},
    {"BollingerBands", {5, 2}, 4, "upper", true, 0x1.8e2f4bf640b95p+6},  // 99.546188209248
    {"BollingerBands", {5, 2}, 4, "middle", true, 0x1.8b76c8b439581p+6},  // 98.866
    {"BollingerBands", {5, 2}, 4, "lower", true, 0x1.88be457231f6dp+6},  // 98.185811790752
    {"BollingerBands", {5, 2}, 4, "stddev", true, 0x1.5c41a103b0a14p-2},  // 0.3400941046240018
    {"BollingerBands", {5, 2}, 20, "upper", true, 0x1.93b12cb4ad5a1p+6},  // 100.9230221014791
    {"BollingerBands", {5, 2}, 20, "middle", true, 0x1.83db22d0e5604p+6},  // 96.964
    {"BollingerBands", {5, 2}, 20, "lower", true, 0x1.740518ed1d667p+6},  // 93.00497789852089
    {"BollingerBands", {5, 2}, 20, "stddev", true, 0x1.fac13c78ff39bp+0},  // 1.9795110507395524
    {"BollingerBands", {5, 2}, 47, "upper", true, 0x1.8614de1f4dba2p+6},  // 97.52037857925328
    {"BollingerBands", {5, 2}, 47, "middle", true, 0x1.7ee5604189375p+6},  // 95.724
    {"BollingerBands", {5, 2}, 47, "lower", true, 0x1.77b5e263c4b48p+6},  // 93.92762142074673
    {"BollingerBands", {5, 2}, 47, "stddev", true, 0x1.cbdf777120b3fp-1},  // 0.8981892896266358
    {"DoubleBollinger", {5, 1.5, 2.5}, 3, "", false, 0.0},
    {"DoubleBollinger", {5, 1.5, 2.5}, 4, "upper_outer", true, 0x1.8edd6cc6c291ap+6},  // 99.71623526156
    {"DoubleBollinger", {5, 1.5, 2.5}, 4, "upper_inner", true, 0x1.8d812b25bee10p+6},  // 99.376141156936
    {"DoubleBollinger", {5, 1.5, 2.5}, 4, "middle", true, 0x1.8b76c8b439581p+6},  // 98.866
    {"DoubleBollinger", {5, 1.5, 2.5}, 4, "lower_inner", true, 0x1.896c6642b3cf2p+6},  // 98.355858843064
    {"DoubleBollinger", {5, 1.5, 2.5}, 4, "lower_outer", true, 0x1.881024a1b01e8p+6},  // 98.01576473844
    {"DoubleBollinger", {5, 1.5, 2.5}, 47, "upper_outer", true, 0x1.87e0bd96bedadp+6},  // 97.96947322406659
    {"DoubleBollinger", {5, 1.5, 2.5}, 47, "upper_inner", true, 0x1.8448fea7dc997p+6},  // 97.07128393443996
    {"DoubleBollinger", {5, 1.5, 2.5}, 47, "middle", true, 0x1.7ee5604189375p+6},  // 95.724
    {"DoubleBollinger", {5, 1.5, 2.5}, 47, "lower_inner", true, 0x1.7981c1db35d53p+6},  // 94.37671606556005
    {"DoubleBollinger", {5, 1.5, 2.5}, 47, "lower_outer", true, 0x1.75ea02ec5393dp+6},  // 93.47852677593342
    {"BomarBands", {5, 0.8}, 3, "", false, 0.0},
    {"BomarBands", {5, 0.8}, 4, "upper", true, 0x1.8d07c84b5dcc6p+6},  // 99.2576
    {"BomarBands", {5, 0.8}, 4, "middle", true, 0x1.8b76c8b439581p+6},  // 98.866
    {"BomarBands", {5, 0.8}, 4, "lower", true, 0x1.89e5c91d14e3cp+6},  // 98.4744
    {"BomarBands", {5, 0.8}, 20, "upper", true, 0x1.8d38ef34d6a16p+6},  // 99.3056
    {"BomarBands", {5, 0.8}, 20, "middle", true, 0x1.83db22d0e5603p+6},  // 96.96399999999998
    {"BomarBands", {5, 0.8}, 20, "lower", true, 0x1.7a7d566cf41f0p+6},  // 94.62239999999997
    {"BomarBands", {5, 0.8}, 47, "upper", true, 0x1.843afb7e90ffap+6},  // 97.05760000000001
    {"BomarBands", {5, 0.8}, 47, "middle", true, 0x1.7ee5604189375p+6},  // 95.724
    {"BomarBands", {5, 0.8}, 47, "lower", true, 0x1.798fc504816f0p+6},  // 94.3904
    {"BomarBands", {40, 0.3}, 38, "", false, 0.0},
    {"BomarBands", {40, 0.3}, 39, "upper", true, 0x1.8a643fe5c91d0p+6},  // 98.59789999999998
    {"BomarBands", {40, 0.3}, 39, "middle", true, 0x1.83c4189374bc5p+6},  // 96.94149999999998
    {"BomarBands", {40, 0.3}, 39, "lower", true, 0x1.7d23f141205bap+6},  // 95.28509999999997
    {"BomarBands", {40, 0.3}, 47, "upper", true, 0x1.84f47ae147ae0p+6},  // 97.23874999999998
    {"BomarBands", {40, 0.3}, 47, "middle", true, 0x1.80ce147ae147ap+6},  // 96.20124999999999
    {"BomarBands", {40, 0.3}, 47, "lower", true, 0x1.7ca7ae147ae14p+6},  // 95.16375
    {"HurstChannel", {2, 1.5}, 0, "", false, 0.0},
    {"HurstChannel", {2, 1.5}, 1, "upper", true, 0x1.99947ae147ae1p+6},  // 102.395
    {"HurstChannel", {2, 1.5}, 1, "middle", true, 0x1.8a947ae147ae1p+6},  // 98.645
    {"HurstChannel", {2, 1.5}, 1, "lower", true, 0x1.7b947ae147ae1p+6},  // 94.895
    {"HurstChannel", {2, 1.5}, 40, "upper", true, 0x1.901999999999ap+6},  // 100.025
    {"HurstChannel", {2, 1.5}, 40, "middle", true, 0x1.7828f5c28f5c4p+6},  // 94.04000000000002
    {"HurstChannel", {2, 1.5}, 40, "lower", true, 0x1.603851eb851eep+6},  // 88.05500000000004
    {"HurstChannel", {2, 1.5}, 47, "upper", true, 0x1.90b3333333335p+6},  // 100.17500000000003
    {"HurstChannel", {2, 1.5}, 47, "middle", true, 0x1.7b851eb851ebap+6},  // 94.88000000000002
    {"HurstChannel", {2, 1.5}, 47, "lower", true, 0x1.66570a3d70a3fp+6},  // 89.58500000000002
    {"Donchian", {5}, 3, "", false, 0.0},
    {"Donchian", {5}, 4, "upper", true, 0x1.9128f5c28f5c3p+6},  // 100.29
    {"Donchian", {5}, 4, "middle", true, 0x1.8c28f5c28f5c3p+6},  // 99.04
    {"Donchian", {5}, 4, "lower", true, 0x1.8728f5c28f5c3p+6},  // 97.79
    {"Donchian", {5}, 20, "upper", true, 0x1.8e7ae147ae148p+6},  // 99.62
    {"Donchian", {5}, 20, "middle", true, 0x1.8170a3d70a3d7p+6},  // 96.36
    {"Donchian", {5}, 20, "lower", true, 0x1.7466666666666p+6},  // 93.1
    {"Donchian", {5}, 47, "upper", true, 0x1.877ae147ae148p+6},  // 97.87
    {"Donchian", {5}, 47, "middle", true, 0x1.7f9eb851eb852p+6},  // 95.905
    {"Donchian", {5}, 47, "lower", true, 0x1.77c28f5c28f5cp+6},  // 93.94
    {"FractalChaosBands", {2}, 15, "", false, 0.0},
    {"FractalChaosBands", {2}, 16, "upper", true, 0x1.98ae147ae147bp+6},  // 102.17
    {"FractalChaosBands", {2}, 16, "lower", true, 0x1.70a3d70a3d70ap+6},  // 92.16
    {"FractalChaosBands", {2}, 20, "upper", true, 0x1.98ae147ae147bp+6},  // 102.17
    {"FractalChaosBands", {2}, 20, "lower", true, 0x1.70a3d70a3d70ap+6},  // 92.16
    {"FractalChaosBands", {2}, 47, "upper", true, 0x1.877ae147ae148p+6},  // 97.87
    {"FractalChaosBands", {2}, 47, "lower", true, 0x1.6cb851eb851ecp+6},  // 91.18
    {"AccelerationBands", {3, 4}, 1, "", false, 0.0},
    {"AccelerationBands", {3, 4}, 2, "upper", true, 0x1.9b2069406dcedp+6},  // 102.78165150327887
    {"AccelerationBands", {3, 4}, 2, "middle", true, 0x1.8b88888888888p+6},  // 98.88333333333333
    {"AccelerationBands", {3, 4}, 2, "lower", true, 0x1.7b97e0b7e5464p+6},  // 94.89831816994553
    {"AccelerationBands", {3, 4}, 20, "upper", true, 0x1.a1550fd407facp+6},  // 104.33306819246963
    {"AccelerationBands", {3, 4}, 20, "middle", true, 0x1.89d0369d0369dp+6},  // 98.45333333333333
    {"AccelerationBands", {3, 4}, 20, "lower", true, 0x1.6effba7eb2a53p+6},  // 91.74973485913624
    {"AccelerationBands", {3, 4}, 47, "upper", true, 0x1.93bd6cf703458p+6},  // 100.93498598058193
    {"AccelerationBands", {3, 4}, 47, "middle", true, 0x1.7e62fc962fc95p+6},  // 95.59666666666665
    {"AccelerationBands", {3, 4}, 47, "lower", true, 0x1.6c6817a1adf01p+6},  // 91.10165264724857
    {"AtrBands", {4, 2}, 2, "", false, 0.0},
    {"AtrBands", {4, 2}, 3, "upper", true, 0x1.979999999999ap+6},  // 101.9
    {"AtrBands", {4, 2}, 3, "middle", true, 0x1.8a00000000000p+6},  // 98.5
    {"AtrBands", {4, 2}, 3, "lower", true, 0x1.7c66666666666p+6},  // 95.1
    {"AtrBands", {4, 2}, 4, "upper", true, 0x1.99b3333333334p+6},  // 102.42500000000001
    {"AtrBands", {4, 2}, 4, "middle", true, 0x1.8cb851eb851ecp+6},  // 99.18
    {"AtrBands", {4, 2}, 4, "lower", true, 0x1.7fbd70a3d70a4p+6},  // 95.935
    {"AtrBands", {4, 2}, 20, "upper", true, 0x1.9e4b1be6afb33p+6},  // 103.57334862182033
    {"AtrBands", {4, 2}, 20, "middle", true, 0x1.8d1eb851eb852p+6},  // 99.28
    {"AtrBands", {4, 2}, 20, "lower", true, 0x1.7bf254bd27571p+6},  // 94.98665137817967
    {"AtrBands", {4, 2}, 47, "upper", true, 0x1.87da7230ebcb2p+6},  // 97.963326229469
    {"AtrBands", {4, 2}, 47, "middle", true, 0x1.791eb851eb852p+6},  // 94.28
    {"AtrBands", {4, 2}, 47, "lower", true, 0x1.6a62fe72eb3f2p+6},  // 90.596673770531
    {"LinRegChannel", {6, 2}, 4, "", false, 0.0},
    {"LinRegChannel", {6, 2}, 5, "upper", true, 0x1.8e7f80211834ep+6},  // 99.62451221189733
    {"LinRegChannel", {6, 2}, 5, "middle", true, 0x1.8c2c5f92c5f93p+6},  // 99.04333333333334
    {"LinRegChannel", {6, 2}, 5, "lower", true, 0x1.89d93f0473bd8p+6},  // 98.46215445476935
    {"LinRegChannel", {6, 2}, 20, "upper", true, 0x1.9314b9b0124a0p+6},  // 100.77023959266307
    {"LinRegChannel", {6, 2}, 20, "middle", true, 0x1.8e118de5ab278p+6},  // 99.51714285714286
    {"LinRegChannel", {6, 2}, 20, "lower", true, 0x1.890e621b44050p+6},  // 98.26404612162264
    {"LinRegChannel", {6, 2}, 47, "upper", true, 0x1.8444b5f519ab7p+6},  // 97.06710036248374
    {"LinRegChannel", {6, 2}, 47, "middle", true, 0x1.7d78edf545bacp+6},  // 95.36809523809524
    {"LinRegChannel", {6, 2}, 47, "lower", true, 0x1.76ad25f571ca1p+6},  // 93.66909011370673
    {"StandardErrorBands", {6, 2}, 4, "", false, 0.0},
    {"StandardErrorBands", {6, 2}, 5, "upper", true, 0x1.8f054095b9d8ap+6},  // 99.75512918421569
    {"StandardErrorBands", {6, 2}, 5, "middle", true, 0x1.8c2c5f92c5f93p+6},  // 99.04333333333334
    {"StandardErrorBands", {6, 2}, 5, "lower", true, 0x1.89537e8fd219cp+6},  // 98.33153748245098
    {"StandardErrorBands", {6, 2}, 20, "upper", true, 0x1.94351c8873eb8p+6},  // 101.05186665732879
    {"StandardErrorBands", {6, 2}, 20, "middle", true, 0x1.8e118de5ab278p+6},  // 99.51714285714286
    {"StandardErrorBands", {6, 2}, 20, "lower", true, 0x1.87edff42e2638p+6},  // 97.98241905695693
    {"StandardErrorBands", {6, 2}, 47, "upper", true, 0x1.85cbb7ba215f4p+6},  // 97.4489430506581
    {"StandardErrorBands", {6, 2}, 47, "middle", true, 0x1.7d78edf545bacp+6},  // 95.36809523809524
    {"StandardErrorBands", {6, 2}, 47, "lower", true, 0x1.752624306a164p+6},  // 93.28724742553237
    {"ProjectionBands", {5}, 3, "", false, 0.0},
    {"ProjectionBands", {5}, 4, "upper", true, 0x1.91189374bc6a8p+6},  // 100.274
    {"ProjectionBands", {5}, 4, "middle", true, 0x1.8ca5e353f7ceep+6},  // 99.162
    {"ProjectionBands", {5}, 4, "lower", true, 0x1.8833333333333p+6},  // 98.05
    {"ProjectionBands", {5}, 20, "upper", true, 0x1.93ced916872b0p+6},  // 100.952
    {"ProjectionBands", {5}, 20, "middle", true, 0x1.8c90624dd2f1bp+6},  // 99.141
    {"ProjectionBands", {5}, 20, "lower", true, 0x1.8551eb851eb86p+6},  // 97.33000000000001
    {"ProjectionBands", {5}, 47, "upper", true, 0x1.87a5e353f7ceep+6},  // 97.912
    {"ProjectionBands", {5}, 47, "middle", true, 0x1.7fae147ae147bp+6},  // 95.92
    {"ProjectionBands", {5}, 47, "lower", true, 0x1.77b645a1cac08p+6},  // 93.928
    {"TtmSqueeze", {5, 2, 1.5}, 3, "", false, 0.0},
    {"TtmSqueeze", {5, 2, 1.5}, 4, "squeeze", true, 0x1.0000000000000p+0},  // 1.0
    {"TtmSqueeze", {5, 2, 1.5}, 4, "momentum", true, 0x1.b645a1cac08ccp-4},  // 0.10700000000000215
    {"TtmSqueeze", {5, 2, 1.5}, 12, "squeeze", true, 0x0.0p+0},  // 0.0
    {"TtmSqueeze", {5, 2, 1.5}, 12, "momentum", true, -0x1.71a9fbe76c8a7p+1},  // -2.887999999999994
    {"TtmSqueeze", {5, 2, 1.5}, 20, "squeeze", true, 0x0.0p+0},  // 0.0
    {"TtmSqueeze", {5, 2, 1.5}, 20, "momentum", true, 0x1.778d4fdf3b67ap+1},  // 2.9340000000000233
    {"TtmSqueeze", {5, 2, 1.5}, 47, "squeeze", true, 0x1.0000000000000p+0},  // 1.0
    {"TtmSqueeze", {5, 2, 1.5}, 47, "momentum", true, -0x1.91a9fbe76c780p-1},  // -0.7844999999999658
    {"TtmSqueeze", {4, 1, 3}, 2, "", false, 0.0},
    {"TtmSqueeze", {4, 1, 3}, 3, "squeeze", true, 0x1.0000000000000p+0},  // 1.0
    {"TtmSqueeze", {4, 1, 3}, 3, "momentum", true, -0x1.21cac083124cdp-4},  // -0.0707499999999925
    {"TtmSqueeze", {4, 1, 3}, 47, "squeeze", true, 0x1.0000000000000p+0},  // 1.0
    {"TtmSqueeze", {4, 1, 3}, 47, "momentum", true, -0x1.28b4395810600p+0},  // -1.1589999999999918
};

struct Seen {
    std::optional<double> value;
    std::vector<NamedOutput> outputs;
};

std::vector<Seen> run(const char* kind, const std::vector<double>& params) {
    auto built = build_indicator(kind, params);
    EXPECT_TRUE(built) << kind;
    std::vector<Seen> seen;
    if (!built) return seen;
    auto& ind = **built;
    for (const Bar& b : kBars) {
        FeedSnapshot f;
        f.candle = Candle{b.t, b.o, b.h, b.l, b.c, b.v};
        Seen s;
        s.value = ind.update(f);
        auto outs = ind.outputs();
        s.outputs.assign(outs.begin(), outs.end());
        // A multi-output kind returns its first output.
        if (s.value && !s.outputs.empty()) EXPECT_EQ(*s.value, s.outputs[0].value) << kind;
        seen.push_back(std::move(s));
    }
    return seen;
}

}  // namespace

TEST(CandleVolatilityBandReference, MatchesIndependentModelBitForBit) {
    std::string last_key;
    std::vector<Seen> seen;
    for (const Row& r : kRows) {
        std::string key = r.kind;
        for (double p : r.params) key += " " + std::to_string(p);
        if (key != last_key) {
            seen = run(r.kind, r.params);
            last_key = key;
        }
        ASSERT_LT(r.bar, seen.size());
        const Seen& s = seen[r.bar];
        SCOPED_TRACE(key + " bar " + std::to_string(r.bar) + " " + r.output);
        if (!r.has_value) {
            EXPECT_FALSE(s.value.has_value());
            continue;
        }
        ASSERT_TRUE(s.value.has_value());
        if (std::string(r.output).empty()) {
            EXPECT_EQ(*s.value, r.expected);
            continue;
        }
        bool found = false;
        for (const NamedOutput& o : s.outputs)
            if (o.name == r.output) {
                found = true;
                EXPECT_EQ(o.value, r.expected);
            }
        EXPECT_TRUE(found);
    }
}
