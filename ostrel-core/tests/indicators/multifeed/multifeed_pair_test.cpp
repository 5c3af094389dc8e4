// Pair, spread and regression kinds fed (close, reference) pairs. Their values are
// checked bit for bit against an independent model written from the kinds'
// definitions (anchored sums, window loops and solvers in the stated order of
// operations), whose results are pasted below; the ADF statistic and the Granger
// F-statistic of that model agree with a general least-squares solver to 1e-12.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"

using namespace ostrel;

namespace {

constexpr std::nullopt_t N = std::nullopt;
using Series = std::vector<std::optional<double>>;

// A random walk of the reference and a close tracking twice the reference.
const std::vector<double> kClose = {102.58, 104.75, 106.97, 105.65, 104.06, 103.27, 102.12, 102.18, 104.44, 105.37, 104.88, 104.35, 103.98, 104.57, 103.15, 101.75, 103.11, 100.81, 100.13, 102.15, 103.76, 102.94, 102.83, 102.95, 103.92, 104.8, 102.28, 104.51, 102.59, 104.26};
const std::vector<double> kRef = {49.99, 50.9, 51.71, 51.26, 50.79, 50.07, 49.87, 49.52, 50.48, 50.9, 50.74, 50.86, 50.25, 50.52, 49.97, 49.1, 49.88, 49.19, 48.36, 49.28, 50.2, 49.92, 50.18, 49.61, 50.21, 50.81, 49.95, 50.5, 50.1, 50.31};

struct SingleCase {
    const char* kind;
    std::vector<double> params;
    Series expected;
};

const SingleCase kSingle[] = {
    {"Beta", {5}, {N, N, N, N, 2.5687677315899893, 2.291683602959113, 2.424615638948586, 1.9994920015140405, 1.8990521137463543, 2.563014555181165, 2.5509106200336396, 2.0336391437308854, 1.4512387981022588, 1.4287184412733287, 1.585646915646141, 1.6527948919009716, 1.9746350173301104, 2.3452049286268113, 1.9482858803021557, 1.9507678717042691, 2.0492911473059623, 1.9860487804878053, 1.6942512140700887, 1.1289153507636487, 1.1219315008084674, 1.6426094937031497, 1.821402653949814, 1.9670690288231971, 3.0396832155326505, 3.172634159152585}},
    {"Alpha", {6, 0.5}, {N, N, N, N, N, -14.222731335280002, -17.764735347134916, -7.714472941219341, 1.1997747773580159, -6.810088654687775, -23.300730502761866, -11.550420747520832, 3.9731143925005625, 33.8283846356223, 11.345317483612504, 17.15447683897591, 20.893594078042526, -14.414951483341213, -0.5005830706888048, 6.468642525174047, 3.2321655462656764, 2.800543016925346, 12.99588800622547, 18.583117853310426, 34.836744386874074, 20.94909735900228, 12.497934356629955, 3.913171747268933, 0.4960565667248886, -47.959557195571776}},
    {"BetaNeutralSpread", {5}, {N, N, N, N, -0.38237251757742285, 0.3375148361921845, -0.18458439411472227, 0.28760274518397466, 0.5917165940087159, 0.017873345607398505, -0.035298851574737, -0.6261100917431293, -0.049309435951499836, 0.13144827113062263, -0.24634783600819787, -0.09109331242299845, -0.07562335889086569, -0.5968989286842543, 0.17138872748400047, 0.3298093911388946, 0.09167984150371922, -0.07060585365853456, -0.534996718729488, 0.28139269997411986, 0.43132074084962824, 0.22130729618109513, -0.7080766639021334, 0.25935239581421854, -0.3795077918760228, 0.6481432198196728}},
    {"TreynorRatio", {4, -1.25}, {N, N, N, 42.04321121891372, 35.45694865360496, 46.42470444856342, 47.189998690129826, 64.61304669621772, 41.2217765237019, 40.803254180158994, 46.26794587145426, 86.59631458966567, 70.10381873539207, 120.7563277322053, 76.30166833918788, 53.12123643912682, 53.512515370773166, 45.47594117647051, 53.802693089430875, 52.20027284538757, 51.133985862328466, 54.69559243208963, 81.77182372977597, 152.636956869009, 122.02951427140762, 66.65854445032443, 56.688220267565896, 37.63204578985057, 32.59304540496322, 23.070357868020153}},
    {"InformationRatio", {5}, {N, N, N, N, 52.56567933179757, 63.03436236148716, 46.00934684613332, 65.87218955320995, 81.65564029576426, 58.457869369242026, 54.669501699298884, 76.57969674997094, 143.40695941141942, 142.59618635085886, 135.36953002423832, 99.69819311753965, 98.84318929624114, 59.19431768530068, 68.85451946478898, 74.63712742597812, 60.345823767306854, 62.662263598676354, 80.6928689937693, 145.80544281838345, 124.78942975648606, 100.01175738524233, 75.94529206885773, 76.86793372193056, 64.34657324679561, 61.761250827424284}},
    {"PairwiseBeta", {5}, {N, N, N, N, N, 1.1323690939763649, 1.1503029210167601, 0.02123653821853611, 0.9969448548086252, 0.9032774211397151, 1.0632876591979057, 0.9576944314728558, 0.8783033421500331, 0.5773462741839006, 0.6084830309343384, 0.6418565823479925, 0.806907900845, 1.0036147715612032, 0.8339255174700648, 0.9049393047604304, 0.9147493453040278, 0.9403113281673263, 0.766874273050987, 0.7269016789079219, 0.5999088702014754, 0.4813529243963329, 0.8309394873597155, 1.0137639844827975, 1.3753025575636846, 1.526848417270744}},
    {"RollingCovariance", {4}, {N, N, N, N, 1.2045499999999998, 0.850300000000002, -0.022724999999998774, 0.003912500000002539, 0.7442124999999955, 0.5833624999999956, 0.504324999999995, 0.4620124999999974, 0.15116250000000003, 0.08094999999999843, 0.19234374999999848, 0.30999999999999933, 0.7846562500000003, 0.8491500000000023, 0.8036625000000033, 1.263150000000007, 1.359750000000007, 0.9362187500000051, 0.578025000000004, 0.3869500000000006, 0.17855000000000038, 0.14978749999999924, 0.7942937499999981, 1.0391499999999974, 1.1632812499999967, 1.1112249999999977}},
    {"RollingCorrelation", {6}, {N, N, N, N, N, N, 0.9457039341193013, 0.873512768139263, 0.8836816438308317, 0.8953567725281193, 0.8982360566952756, 0.8746231927804526, 0.8527732661456049, 0.8768148549932561, 0.8018604954221905, 0.7830608169567819, 0.8967477213279811, 0.9002201236312389, 0.8895366336150713, 0.9266749801599368, 0.9383192622647669, 0.9314301971403421, 0.9120286470705035, 0.8699519869279794, 0.8487076935496933, 0.8147817350284196, 0.8337102227735225, 0.8256881405255596, 0.8483359868573924, 0.9086262288122771}},
    {"PearsonCorrelation", {5}, {N, N, N, N, 0.9902843929330035, 0.9708751325184498, 0.9817726798047337, 0.9646745039172924, 0.8964795467177393, 0.9677108886119001, 0.9726160838606842, 0.9509336250073839, 0.7476058300564096, 0.7306700544731547, 0.8638777139961974, 0.9624890298988434, 0.9910544971110533, 0.9583668306680957, 0.94535801868788, 0.9117320258045654, 0.9542469096536212, 0.9527515474294723, 0.9637866435860243, 0.7761154715881275, 0.5665840747620502, 0.8498692935522799, 0.7997565985157784, 0.8663356853256342, 0.9197013928153547, 0.9205363956318737}},
    {"DistanceSsd", {4}, {N, N, N, 9.953653869557644e-05, 4.9773412840749026e-05, 0.00011008286506983018, 7.46901942975948e-05, 9.177412933818924e-05, 6.105080982618663e-05, 0.00029262090462354865, 2.189244329796193e-05, 7.16040101587262e-05, 8.15571994235387e-05, 5.809457168671712e-05, 0.00018468116644017454, 7.970640918871464e-06, 1.0223782662980868e-05, 6.679788630145663e-05, 0.00012964651619694318, 8.165389723528563e-05, 0.00031018826066036567, 2.213862831908394e-05, 0.00017075351553313235, 9.433345749130877e-05, 9.294908314201754e-05, 0.0003005461780113839, 0.0002243432758498438, 0.00012455843558425636, 0.00011242111181650657, 0.00026412243196767153}},
    {"KendallTau", {6}, {N, N, N, N, N, 1.0, 1.0, 0.8666666666666667, 0.7333333333333333, 0.7333333333333333, 0.8666666666666667, 0.6, 0.7333333333333333, 0.6, 0.7333333333333333, 0.7333333333333333, 0.8666666666666667, 0.8666666666666667, 0.8666666666666667, 0.8666666666666667, 0.8666666666666667, 0.8666666666666667, 0.8666666666666667, 0.6, 0.6, 0.6, 0.3333333333333333, 0.7333333333333333, 0.7333333333333333, 1.0}},
    {"SpearmanCorrelation", {7}, {N, N, N, N, N, N, 1.0, 0.9642857142857143, 0.9285714285714286, 0.9285714285714286, 0.8571428571428571, 0.8571428571428571, 0.8571428571428571, 0.7857142857142857, 0.7857142857142857, 0.8928571428571429, 0.8928571428571429, 0.9285714285714286, 0.9642857142857143, 0.9642857142857143, 0.9642857142857143, 0.9285714285714286, 0.8571428571428571, 0.8571428571428571, 0.8571428571428571, 0.8571428571428571, 0.6785714285714286, 0.6785714285714286, 0.7857142857142857, 0.8928571428571429}},
    {"EstimatedLeverageRatio", {}, {2.052010402080416, 2.0579567779960706, 2.0686520982401855, 2.0610612563402264, 2.048828509549124, 2.0625124825244656, 2.0477240826147987, 2.0634087237479806, 2.068938193343899, 2.070137524557957, 2.067008277493102, 2.0517105780574125, 2.0692537313432835, 2.06987331749802, 2.064238543125876, 2.0723014256619146, 2.0671611868484363, 2.0494002846106936, 2.0705128205128203, 2.072849025974026, 2.0669322709163347, 2.062099358974359, 2.0492227979274613, 2.0751864543438825, 2.0697072296355308, 2.0625861050974215, 2.0476476476476475, 2.0695049504950496, 2.047704590818363, 2.0723514211886305}},
    {"PairSpreadZScore", {5, 4}, {N, N, N, N, N, N, N, 1.517577170532988, 1.1895965992633581, -1.2109935791347028, -0.9756662811216394, 0.7622814236665822, 1.5354736765456658, 0.9461140264493038, 0.14038294571419924, -1.299938961902151, -1.5660086319148159, -1.5243299952123293, 0.13961154747154494, 0.6209438462600333, 0.1565164235829439, -0.10256857934789877, 1.6668547654410673, 1.6164712908773962, 0.9799402544759681, -0.8832365381076387, -1.2753863503063783, -1.024326518538557, -1.6937385805198328, -1.0985383561159194}},
    {"SpreadAr1Coefficient", {6}, {N, N, N, N, N, 0.19264605072739854, 0.6786965232442481, 0.57988287421102, 0.059719257291172875, 0.67421928640766, 0.6318650263958535, 0.4514427746389133, 0.05742797393052121, 0.16733771279226026, 0.07635399218315037, 0.47786880040643537, 0.3456112852664633, 0.5093647091108775, 0.4024224091596628, -0.026757291577045386, 0.13740829313769526, 0.20916387079797488, 0.46199042300751497, 0.04193065719028099, -0.11096024741645627, 0.5377203096689113, -0.17035188244805805, -0.5095052773136665, -0.8466672176536231, -0.793524508946788}},
    {"OuHalfLife", {6}, {N, N, N, N, N, 0.8585418838719343, 2.1572974795005453, 1.649890323462094, 0.7371704524789883, 2.1276495250952863, 1.8828615324804279, 1.2635822636438385, 0.7353784765397354, 0.8324469490318264, 0.7504467888063345, 1.3275344991823939, 1.059228505861674, 1.4127544296779662, 1.159928335975943, 0.6750837673578218, 0.8035634646677539, 0.8764738420073819, 1.288354724900422, 0.723483311267596, 0.6239171763092897, 1.4994108438194786, 0.5922553643525311, 0.45918831220880413, 0.3753503467942961, 0.3864720984309171}},
    {"SpreadHurst", {12}, {N, N, N, N, N, N, N, N, N, N, N, 0.48625244432186654, 0.4875197900416547, 0.6178332278278094, 0.4863881585441008, 0.46218821416986894, 0.43396758937036967, 0.3674790596649124, 0.20422294827269943, 0.10724308339992529, 0.3024057329977919, 0.32305299100669327, 0.3508021574969839, 0.3162335808006778, 0.29189916629935614, 0.37637493520725146, 0.16749243095294428, 0.006593921458107163, 0.08961339321461444, 0.0}},
    {"VarianceRatio", {10, 3}, {N, N, N, N, N, N, N, N, N, 1.1361577513309842, 1.0510917974276346, 1.52553268347683, 1.2424712987713438, 0.9385848162907457, 0.8254480113602108, 1.0086423212202988, 0.638183306290653, 0.1486484694587932, 0.1666137593479894, 0.16961105211321703, 0.6745642396271287, 0.7255731075045185, 0.75017759177463, 0.6469892097142564, 0.47244049929319976, 0.4827831654984102, 0.5676705632647814, 0.3155699569715229, 0.2572710032951858, 0.3123142523214438}},
    {"GrangerCausality", {12, 2}, {N, N, N, N, N, N, N, N, N, N, N, 0.10975012337358746, 0.3017577516779248, 0.14015850135159025, 0.22283221413956383, 0.5443142881564413, 2.131456392568052, 3.7760965696975073, 2.3129157311958712, 5.394989127343646, 1.6480969374440408, 1.8490321368023943, 3.3440585117920465, 0.9990724845540756, 1.637021638038808, 1.2208516795728082, 0.7576462173775123, 0.2615395913561189, 0.5185216841251788, 0.6750898666655766}},
    {"HasbrouckInformationShare", {10}, {N, N, N, N, N, N, N, N, N, N, N, 0.307061508713912, 0.2785492065517883, 0.19081064258465436, 0.2472478112375853, 0.25755079944508896, 0.2584965183824146, 0.38164605514712857, 0.2253077123644152, 0.28125502491867477, 0.28717914036973624, 0.6111587601658268, 0.3099018991233797, 0.23762765736474714, 0.22781045680638037, 0.41079359890044836, 0.2809799968505374, 0.3549407204558889, 0.2882847009814713, 0.2984997378380764}},
};

struct MultiCase {
    const char* kind;
    std::vector<double> params;
    std::vector<std::string> names;
    std::vector<std::vector<double>> expected;  // empty: no value
};

const MultiCase kMulti[] = {
    {"SpreadBollingerBands", {5, 2.0}, {"middle", "upper", "lower", "percent_b"},
     {{}, {}, {}, {}, {53.872, 55.70530957560364, 52.03869042439636, 0.3358160541975624}, {53.994, 55.526297621221154, 52.461702378778845, 0.24091195176325111}, {53.674, 55.760857925207176, 51.58714207479282, 0.15881721443528024}, {53.154, 54.59747358825855, 51.710526411741455, 0.32888498826086016}, {53.068000000000005, 54.23057644909915, 51.905423550900856, 0.8836306854018866}, {53.308, 54.939264540165084, 51.676735459834916, 0.8561654076911436}, {53.496, 55.24645594060519, 51.74554405939482, 0.6839520735887077}, {53.744, 54.99942662071504, 52.48857337928496, 0.3988391691681126}, {53.958, 54.63107057579425, 53.28492942420575, 0.3306269741988455}, {53.976, 54.65312332702396, 53.298876672976036, 0.5546429262193858}, {53.717999999999996, 54.42786195841162, 53.008138041588374, 0.12105308389548626}, {53.42, 54.37849882629036, 52.46150117370964, 0.09833023323559814}, {53.368, 54.33384884945834, 52.40215115054166, 0.42856025035521994}, {52.946, 54.54602999971875, 51.34597000028125, 0.08563276931273939}, {52.49, 53.853700846960216, 51.12629915303979, 0.2360124833811839}, {52.428, 53.68456038454186, 51.171439615458134, 0.6758769436938594}, {52.61, 54.169538393243336, 51.05046160675666, 0.8045773044497833}, {52.568, 54.06868784229099, 51.067312157709004, 0.6505976083973473}, {52.774, 53.94392991243066, 51.60407008756934, 0.447005372423388}, {53.088, 53.73932480376538, 52.436675196234624, 0.6934518680565857}, {53.256, 54.01942386653811, 52.49257613346189, 0.7973446468596459}, {53.342, 54.29609852740689, 52.38790147259311, 0.8395875695150536}, {53.204, 54.45719431853165, 51.95080568146835, 0.15129110981605104}, {53.476, 54.72048222164883, 52.23151777835117, 0.7145470584917246}, {53.306, 54.78792307492663, 51.82407692507336, 0.2246820655517516}, {53.354, 54.899346563072505, 51.80865343692749, 0.6928370031169636}}},
    {"RelativeStrengthAB", {4, 3}, {"ratio", "ratio_ma", "ratio_rsi"},
     {{}, {}, {}, {2.0610612563402264, 2.0599201336642246, 68.67500267099896}, {2.048828509549124, 2.0591246605314018, 39.08184144327761}, {2.0625124825244656, 2.060263586663501, 64.64528981448312}, {2.0477240826147987, 2.055031582757154, 38.473457650082345}, {2.0634087237479806, 2.055618449609093, 62.57698736439652}, {2.068938193343899, 2.060645870557787, 68.9992796668213}, {2.070137524557957, 2.06255213106616, 70.63863996000167}, {2.067008277493102, 2.0673731797857355, 58.52589284725803}, {2.0517105780574125, 2.0644486433630935, 25.92609328379804}, {2.0692537313432835, 2.06452752786294, 62.17174799776492}, {2.06987331749802, 2.064461476097956, 63.127571588468584}, {2.064238543125876, 2.0637690425061495, 46.94584892030265}, {2.0723014256619146, 2.068916754407275, 65.77565582745481}, {2.0671611868484363, 2.0683936182835634, 49.10833115560251}, {2.0494002846106936, 2.0632753600617315, 21.228420538834786}, {2.0705128205128203, 2.0648439294084673, 60.854662155872006}, {2.072849025974026, 2.0649808294864953, 63.87132809357074}, {2.0669322709163347, 2.06492360050347, 49.4069688573089}, {2.062099358974359, 2.068098369094386, 38.67575976058078}, {2.0492227979274613, 2.0627758634480466, 20.703858906989417}, {2.0751864543438825, 2.0633602205405106, 67.03466582063912}, {2.0697072296355308, 2.06405396022031, 56.57156273406147}, {2.0625861050974215, 2.0641756467510755, 43.37359170132427}, {2.0476476476476475, 2.063781859181122, 25.01210919057641}, {2.0695049504950496, 2.062361483218914, 61.12812870160596}, {2.047704590818363, 2.0568608235146217, 35.5281473053002}, {2.0723514211886305, 2.0593021525374238, 62.3018076985891}}},
    {"Cointegration", {12, 1}, {"hedge_ratio", "spread", "adf_stat"},
     {{}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {2.262004638712691, -0.4771895819201575, -1.943623910966398}, {2.1722127391418735, 0.4324271179389285, -1.9524039287691393}, {2.182299988958587, 0.38275658266164214, -1.9468022973520012}, {2.0724201846521453, 0.11373573601714781, -2.142059192064438}, {1.921581379028013, 0.294361143926551, -1.843002322598311}, {2.0247820375014927, 0.11993461125045712, -3.774059872545935}, {2.1926477504311013, -0.5725728954381424, -2.9395064862195173}, {2.0505207822892686, 0.22688576796052473, -3.7931111290273316}, {2.0109357008976105, 0.2949453896944618, -3.9841045634108694}, {1.9998558900546552, 0.06753782886065096, -4.134276581407099}, {1.9503588394318043, -0.1501480255301999, -3.9079891538139586}, {1.8648809532989, -0.6557266868483396, -2.8054922410351626}, {1.9638028938677543, 0.4590612749174454, -3.4955750210325927}, {1.9638368679151676, 0.24921625880979548, -3.5224330459658617}, {1.9036768458847184, 0.044430352919974325, -3.7671091289296057}, {1.8638077760926979, -0.7600765894342771, -3.9074232435650904}, {1.971233214996907, 0.3614621057812144, -4.216448741717649}, {1.9319614152357587, -0.6811140408359506, -2.703804243197082}, {1.858688662099817, 0.5021854699659798, -2.6007488400951226}}},
    {"KalmanHedgeRatio", {0.0001, 0.001}, {"hedge_ratio", "intercept", "spread"},
     {{0.0, 0.0, 102.58}, {2.0492568824229607, 0.04026044955644323, 104.75}, {2.067797626023972, 0.04061333985014271, 0.9626661603522564}, {2.0603002827164647, 0.04046455576334697, -0.38591964983892524}, {2.0480838464240483, 0.040217428904701966, -0.6231159149325833}, {2.0616496420549426, 0.04050368347357206, 0.6822243806432056}, {2.046976675173598, 0.04020354519846706, -0.7349713327535454}, {2.0625270959943687, 0.04053075532188599, 0.7735115002049753}, {2.0681115671258112, 0.04062645971874144, 0.28310143888239736}, {2.0693342216483996, 0.040648875926203025, 0.0624947735774839}, {2.0662204468490106, 0.040585795550438196, -0.1586672823660109}, {2.050977037967125, 0.04029310822200927, -0.7785577222911257}, {2.068375448130448, 0.04068480522797602, 0.8781107339299581}, {2.06906505276518, 0.040697586077262586, 0.034987555221775324}, {2.063449070798296, 0.0405693862257712, -0.28187827275328914}, {2.071438038760524, 0.04077167851726862, 0.39408123757789326}, {2.066365648193549, 0.040694006544241684, -0.25410105189220644}, {2.048654831720592, 0.040254931922397444, -0.8752202411849055}, {2.0695797999120624, 0.040811598971602144, 1.0167974060697844}, {2.072010244505718, 0.04084416883888738, 0.12029586136196713}, {2.066143325137243, 0.04076873322879787, -0.2957584430259317}, {2.0613041737238227, 0.04066116011351267, -0.24264352407999468}, {2.048467804291271, 0.04043310200341443, -0.6469045975749452}, {2.074253994353095, 0.041082030461134046, 1.285079127106627}, {2.0689116609523572, 0.04100499192854294, -0.2693750869300402}, {2.061808441867608, 0.040905270287594615, -0.3624064849178268}, {2.0468967532556777, 0.04048122363666714, -0.7482369415746177}, {2.0686124451688377, 0.04078938087221788, 1.1012327369516157}, {2.0469866947597883, 0.04026625338215756, -1.0882728838309816}, {2.0714462755897802, 0.040696016196511434, 1.2358331332528962}}},
    {"LeadLagCrossCorrelation", {6, 2}, {"correlation"},
     {{}, {}, {}, {}, {}, {}, {}, {}, {}, {0.9780347788105069}, {0.9498078730422226}, {0.9269121674030963}, {0.9731058726588139}, {0.9448371510809376}, {0.9472430228553801}, {0.7374471182715849}, {0.8902976064275643}, {0.9648050505024489}, {0.9636442732706106}, {0.9642187216679677}, {0.9683841650596521}, {0.9366805837932535}, {0.9493591605186271}, {0.9568178042195479}, {0.9380946509359823}, {0.9482607175398317}, {0.8046076159656121}, {0.8477452373884721}, {0.8075493170465966}, {0.8239182113699184}}},
};

std::unique_ptr<Indicator> make(std::string_view kind, const std::vector<double>& params) {
    auto r = build_indicator(kind, params);
    EXPECT_TRUE(r.has_value()) << kind << ": " << (r ? "" : r.error().display());
    return r ? std::move(*r) : nullptr;
}

FeedSnapshot pair(double x, std::optional<double> y) {
    FeedSnapshot s;
    s.candle.open = s.candle.high = s.candle.low = s.candle.close = x;
    s.reference = y;
    return s;
}

Series run(Indicator& ind, const std::vector<double>& xs, const std::vector<double>& ys) {
    Series out;
    for (std::size_t i = 0; i < xs.size(); ++i) out.push_back(ind.update(pair(xs[i], ys[i])));
    return out;
}

// Runs the series with unusable bars slipped in (no reference, a NaN or infinite
// close or reference, and the other feeds present but no reference); each must give
// nothing, and the good bars' values are returned.
Series run_with_bad_bars(Indicator& ind, const std::vector<double>& xs, const std::vector<double>& ys) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<Trade> trades{{100.0, 1.0, 0, false}};
    OrderBook book{{{99.0, 1.0}}, {{101.0, 1.0}}};
    std::vector<CrossSectionEntry> cross{{1.0, 1.0, true, false, true, true}};
    Series out;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (i % 4 == 1) {
            FeedSnapshot other = pair(xs[i], std::nullopt);
            other.derivatives = DerivativesTick{};
            other.trades = trades;
            other.order_book = &book;
            other.cross_section = &cross;
            EXPECT_FALSE(ind.update(other));
            EXPECT_FALSE(ind.update(pair(nan, ys[i])));
            EXPECT_FALSE(ind.update(pair(xs[i], inf)));
            EXPECT_FALSE(ind.update(pair(-inf, nan)));
        }
        out.push_back(ind.update(pair(xs[i], ys[i])));
    }
    return out;
}

void expect_series_eq(const Series& got, const Series& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i) {
        ASSERT_EQ(got[i].has_value(), want[i].has_value()) << what << " at bar " << i;
        if (want[i]) EXPECT_EQ(*got[i], *want[i]) << what << " at bar " << i;
    }
}

double output(const Indicator& ind, std::string_view name) {
    for (const NamedOutput& o : ind.outputs())
        if (o.name == name) return o.value;
    ADD_FAILURE() << "no output " << name;
    return std::nan("");
}

}  // namespace

TEST(MultifeedPairValues, SingleOutputKindsMatchTheModelBitForBit) {
    for (const SingleCase& c : kSingle) {
        auto ind = make(c.kind, c.params);
        ASSERT_TRUE(ind);
        expect_series_eq(run(*ind, kClose, kRef), c.expected, c.kind);
        EXPECT_TRUE(ind->outputs().empty()) << c.kind;
        // The first value comes on the update that warmup_period names.
        std::size_t first = 0;
        while (!c.expected[first]) ++first;
        EXPECT_EQ(ind->warmup_period(), first + 1) << c.kind;
    }
}

TEST(MultifeedPairValues, NamedOutputsMatchTheModelBitForBit) {
    for (const MultiCase& c : kMulti) {
        auto ind = make(c.kind, c.params);
        ASSERT_TRUE(ind);
        EXPECT_TRUE(ind->outputs().empty()) << c.kind << " before its first value";
        std::size_t first = 0;
        for (std::size_t i = 0; i < kClose.size(); ++i) {
            const auto v = ind->update(pair(kClose[i], kRef[i]));
            const std::vector<double>& want = c.expected[i];
            ASSERT_EQ(v.has_value(), !want.empty()) << c.kind << " at bar " << i;
            if (want.empty()) continue;
            if (first == 0) first = i + 1;
            EXPECT_EQ(*v, want[0]) << c.kind << " at bar " << i;
            auto outs = ind->outputs();
            ASSERT_EQ(outs.size(), c.names.size()) << c.kind;
            for (std::size_t k = 0; k < c.names.size(); ++k) {
                EXPECT_EQ(outs[k].name, c.names[k]) << c.kind;
                EXPECT_EQ(outs[k].value, want[k]) << c.kind << "." << c.names[k] << " at bar " << i;
            }
        }
        EXPECT_EQ(ind->warmup_period(), first) << c.kind;
    }
}

TEST(MultifeedPairFeed, UnusableBarsGiveNothingAndChangeNothing) {
    for (const SingleCase& c : kSingle) {
        auto ind = make(c.kind, c.params);
        ASSERT_TRUE(ind);
        expect_series_eq(run_with_bad_bars(*ind, kClose, kRef), c.expected, c.kind);
    }
    for (const MultiCase& c : kMulti) {
        auto clean = make(c.kind, c.params);
        auto noisy = make(c.kind, c.params);
        ASSERT_TRUE(clean && noisy);
        const Series want = run(*clean, kClose, kRef);
        expect_series_eq(run_with_bad_bars(*noisy, kClose, kRef), want, c.kind);
        // The stored outputs of the last value are kept through bars without one.
        ASSERT_EQ(noisy->outputs().size(), clean->outputs().size());
        EXPECT_FALSE(noisy->update(pair(1.0, std::nullopt)));
        for (std::size_t k = 0; k < clean->outputs().size(); ++k)
            EXPECT_EQ(noisy->outputs()[k].value, clean->outputs()[k].value) << c.kind;
    }
}

namespace {

Series run_kind(std::string_view kind, const std::vector<double>& params, const std::vector<double>& xs,
                const std::vector<double>& ys) {
    auto ind = make(kind, params);
    return ind ? run(*ind, xs, ys) : Series{};
}

std::optional<double> last_of(std::string_view kind, const std::vector<double>& params, const std::vector<double>& xs,
                              const std::vector<double>& ys) {
    Series s = run_kind(kind, params, xs, ys);
    return s.empty() ? std::nullopt : s.back();
}

}  // namespace

TEST(MultifeedPairEdges, AConstantReferenceGivesZeroBeta) {
    const std::vector<double> xs{1, 2, 3}, ys{5, 5, 5};
    EXPECT_EQ(last_of("Beta", {3}, xs, ys), 0.0);
    EXPECT_EQ(last_of("TreynorRatio", {3, 0.01}, xs, ys), 0.0);
    // Zero beta: the spread is x less the window mean of x.
    EXPECT_EQ(last_of("BetaNeutralSpread", {3}, xs, ys), 1.0);
    EXPECT_EQ(last_of("PairwiseBeta", {2}, {1, 2, 3}, {5, 5, 5}), 0.0);
    // Alpha with a still reference is the mean of x less the risk-free value.
    EXPECT_EQ(last_of("Alpha", {3, 0.5}, xs, ys), 1.5);
}

TEST(MultifeedPairEdges, AlphaOfASeriesAgainstItselfIsZero) {
    auto v = last_of("Alpha", {5, 0.0}, kClose, kClose);
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 0.0, 1e-12);
}

TEST(MultifeedPairEdges, InformationRatioOfAConstantActiveValueIsZero) {
    EXPECT_EQ(last_of("InformationRatio", {3}, {10, 11, 12, 13}, {7, 8, 9, 10}), 0.0);
}

TEST(MultifeedPairEdges, PairwiseBetaSkipsNonPositivePricesKeepingItsPreviousPair) {
    auto clean = make("PairwiseBeta", {3});
    auto noisy = make("PairwiseBeta", {3});
    for (std::size_t i = 0; i < kClose.size(); ++i) {
        if (i % 3 == 2) {
            EXPECT_FALSE(noisy->update(pair(0.0, kRef[i])));
            EXPECT_FALSE(noisy->update(pair(kClose[i], -1.0)));
            EXPECT_FALSE(noisy->update(pair(-0.0, 0.0)));
        }
        EXPECT_EQ(noisy->update(pair(kClose[i], kRef[i])), clean->update(pair(kClose[i], kRef[i])));
    }
}

TEST(MultifeedPairEdges, CorrelationOfLockstepAndOppositeMoves) {
    const std::vector<double> xs{1, 3, 2, 5, 4, 9};
    std::vector<double> same, opposite;
    for (double x : xs) {
        same.push_back(x + 10);
        opposite.push_back(20 - x);
    }
    EXPECT_EQ(last_of("RollingCorrelation", {4}, xs, same), 1.0);
    EXPECT_EQ(last_of("RollingCorrelation", {4}, xs, opposite), -1.0);
    EXPECT_EQ(last_of("PearsonCorrelation", {4}, xs, same), 1.0);
    EXPECT_EQ(last_of("PearsonCorrelation", {4}, xs, opposite), -1.0);
    // A still series has no correlation.
    EXPECT_EQ(last_of("RollingCorrelation", {2}, {1, 2, 3}, {4, 4, 4}), 0.0);
}

TEST(MultifeedPairEdges, DistanceSsdWithAZeroOldestValueIsZero) {
    EXPECT_EQ(last_of("DistanceSsd", {2}, {0, 5}, {1, 2}), 0.0);
    EXPECT_EQ(last_of("DistanceSsd", {2}, {1, 5}, {0, 2}), 0.0);
    // (1/1 - 1/1)^2 + (3/1 - 2/1)^2
    EXPECT_EQ(last_of("DistanceSsd", {2}, {1, 3}, {1, 2}), 1.0);
}

TEST(MultifeedPairEdges, KendallTauOfTiedAndMonotoneSeries) {
    EXPECT_EQ(last_of("KendallTau", {4}, {2, 2, 2, 2, 2}, {1, 5, 2, 7, 3}), 0.0);
    std::vector<double> cubes;
    for (double x : kRef) cubes.push_back(x * x * x);
    EXPECT_EQ(last_of("KendallTau", {7}, kRef, cubes), 1.0);
    // One tie in y among 6 pairs: C = 4, D = 1, Ty = 1: 3 / sqrt(6 x 5).
    EXPECT_EQ(last_of("KendallTau", {4}, {1, 2, 3, 4}, {1, 3, 2, 3}), 3.0 / std::sqrt(30.0));
}

TEST(MultifeedPairEdges, SpearmanTiesShareTheirAverageRank) {
    // Ranks (1, 2.5, 2.5, 4) against (1, 2, 3, 4): 1.125 / sqrt(1.125 x 1.25).
    EXPECT_EQ(last_of("SpearmanCorrelation", {4}, {1, 2, 2, 3}, {10, 20, 30, 40}),
              1.125 / std::sqrt(1.125 * 1.25));
}

TEST(MultifeedPairEdges, EstimatedLeverageRatioGuardsTheReference) {
    EXPECT_EQ(last_of("EstimatedLeverageRatio", {}, {10}, {0.0}), 0.0);
    EXPECT_EQ(last_of("EstimatedLeverageRatio", {}, {10}, {-4.0}), 0.0);
    EXPECT_EQ(last_of("EstimatedLeverageRatio", {}, {10}, {4.0}), 2.5);
    EXPECT_EQ(last_of("EstimatedLeverageRatio", {}, {10}, {std::nan("")}), std::nullopt);
}

TEST(MultifeedSpreadEdges, PairSpreadZScoreNeedsPositivePricesAndHedgesNothingAgainstAStillReference) {
    EXPECT_EQ(last_of("PairSpreadZScore", {2, 2}, {1, 2, 0.0}, {1, 2, 3}), std::nullopt);
    EXPECT_EQ(last_of("PairSpreadZScore", {2, 2}, {1, 2, 3}, {1, 2, -3}), std::nullopt);
    // Beta 0: the spreads are ln 3, ln 5, ln 7, whose last z-score is
    // 1.1327709869552882 (the model, and a plain mean and population deviation).
    Series s = run_kind("PairSpreadZScore", {2, 3}, {2, 3, 5, 7}, {7, 7, 7, 7});
    ASSERT_EQ(s.size(), 4u);
    EXPECT_FALSE(s[2]);
    EXPECT_EQ(s[3], 1.1327709869552882);
}

TEST(MultifeedSpreadEdges, AConstantSpreadGivesTheNeutralValues) {
    const std::vector<double> xs{5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    const std::vector<double> ys{2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    auto bands = make("SpreadBollingerBands", {4, 2.0});
    std::optional<double> v;
    for (std::size_t i = 0; i < xs.size(); ++i) v = bands->update(pair(xs[i], ys[i]));
    EXPECT_EQ(v, 3.0);
    EXPECT_EQ(output(*bands, "upper"), 3.0);
    EXPECT_EQ(output(*bands, "lower"), 3.0);
    EXPECT_EQ(output(*bands, "percent_b"), 0.5);
    EXPECT_EQ(last_of("SpreadAr1Coefficient", {5}, xs, ys), 0.0);
    EXPECT_EQ(last_of("OuHalfLife", {5}, xs, ys), 0.0);
    EXPECT_EQ(last_of("SpreadHurst", {8}, xs, ys), 0.5);
    EXPECT_EQ(last_of("VarianceRatio", {6, 2}, xs, ys), 1.0);
}

TEST(MultifeedSpreadEdges, OuHalfLifeOfADivergingSpreadIsZero) {
    // Spread 1, 2, 4, 8, 16: each change equals the level, slope 1.
    EXPECT_EQ(last_of("OuHalfLife", {5}, {1, 2, 4, 8, 16}, {0, 0, 0, 0, 0}), 0.0);
    // A reverting spread 4, -2, 1: changes -6, 3 on levels 4, -2: slope -1.5.
    EXPECT_EQ(last_of("OuHalfLife", {3}, {4, -2, 1}, {0, 0, 0}), -0.6931471805599453 / -1.5);
}

TEST(MultifeedSpreadEdges, RelativeStrengthSkipsAZeroReferenceWithoutFeedingItsAverages) {
    auto clean = make("RelativeStrengthAB", {3, 2});
    auto noisy = make("RelativeStrengthAB", {3, 2});
    for (std::size_t i = 0; i < kClose.size(); ++i) {
        if (i % 2 == 0) EXPECT_FALSE(noisy->update(pair(kClose[i], 0.0)));
        EXPECT_EQ(noisy->update(pair(kClose[i], kRef[i])), clean->update(pair(kClose[i], kRef[i])));
    }
    // A negative reference is allowed.
    auto neg = make("RelativeStrengthAB", {1, 1});
    EXPECT_FALSE(neg->update(pair(4.0, -2.0)));
    EXPECT_EQ(neg->update(pair(6.0, -2.0)), -3.0);
    EXPECT_EQ(output(*neg, "ratio_ma"), -3.0);
    EXPECT_EQ(output(*neg, "ratio_rsi"), 0.0);
}

TEST(MultifeedRegressionEdges, CointegrationAgainstAStillReference) {
    // 1e-20 reads as 0 lags, so a window of 4 is enough.
    auto ind = make("Cointegration", {4, 1e-20});
    ASSERT_TRUE(ind);
    const std::vector<double> xs{1, 2, 4, 9, 5}, ys{3, 3, 3, 3, 3};
    Series s = run(*ind, xs, ys);
    EXPECT_FALSE(s[2]);
    ASSERT_TRUE(s[3]);
    EXPECT_EQ(*s[3], 0.0);
    EXPECT_EQ(output(*ind, "hedge_ratio"), 0.0);
    // Window 2, 4, 9, 5 has mean 5: the spread of the last bar is 0.
    EXPECT_EQ(output(*ind, "spread"), 0.0);
}

TEST(MultifeedRegressionEdges, ASingularAdfRegressionGivesZero) {
    auto ind = make("Cointegration", {6, 1});
    for (int i = 0; i < 8; ++i) ind->update(pair(7.0, 3.0 + i));
    // x is constant: every residual is 0 and X'X is all zeros.
    EXPECT_EQ(output(*ind, "adf_stat"), 0.0);
    EXPECT_EQ(output(*ind, "hedge_ratio"), 0.0);
}

TEST(MultifeedRegressionEdges, KalmanFirstUpdateReportsTheCloseAsSpread) {
    auto ind = make("KalmanHedgeRatio", {0.5, 1.0});
    EXPECT_EQ(ind->update(pair(42.5, 10.0)), 0.0);
    EXPECT_EQ(output(*ind, "hedge_ratio"), 0.0);
    EXPECT_EQ(output(*ind, "intercept"), 0.0);
    EXPECT_EQ(output(*ind, "spread"), 42.5);
    // Second update, by hand: P' = diag(1, 1), S = 1 + 4 + 0 + 1 = 6,
    // K = (2/6, 1/6), e = 10: beta = 10/3, alpha = 10/6.
    EXPECT_EQ(ind->update(pair(10.0, 2.0)), 2.0 / 6.0 * 10.0);
    EXPECT_EQ(output(*ind, "intercept"), 1.0 / 6.0 * 10.0);
    EXPECT_EQ(output(*ind, "spread"), 10.0);
}

TEST(MultifeedRegressionEdges, LeadLagFindsAShiftedCopy) {
    std::vector<double> xs, ys;
    for (std::size_t i = 2; i < kClose.size(); ++i) {
        xs.push_back(kClose[i]);
        ys.push_back(kClose[i - 2]);  // the reference trails the close by 2 bars
    }
    auto v = last_of("LeadLagCrossCorrelation", {6, 3}, xs, ys);
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 1.0, 1e-15);
    auto w = last_of("LeadLagCrossCorrelation", {6, 3}, ys, xs);
    ASSERT_TRUE(w);
    EXPECT_NEAR(*w, 1.0, 1e-15);
}

TEST(MultifeedRegressionEdges, GrangerGivesZeroForSingularDesigns) {
    // A reference identical to the close repeats the close's columns exactly.
    EXPECT_EQ(last_of("GrangerCausality", {8, 1}, kClose, kClose), 0.0);
    // A constant close makes the intercept and the lagged close collinear.
    std::vector<double> still(kRef.size(), 2.0);
    EXPECT_EQ(last_of("GrangerCausality", {8, 1}, still, kRef), 0.0);
}

TEST(MultifeedRegressionEdges, HasbrouckIsOneHalfWhileTheModelIsIllPosed) {
    std::vector<double> xs(12, 5.0), ys(12, 4.0);
    Series s = run_kind("HasbrouckInformationShare", {6}, xs, ys);
    EXPECT_FALSE(s[6]);
    EXPECT_EQ(s[7], 0.5);
    EXPECT_EQ(s[11], 0.5);
}
