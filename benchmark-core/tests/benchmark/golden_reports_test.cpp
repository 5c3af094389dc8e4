// Whole reports of richer strategies, byte for byte with their hashes. The expected
// texts and hashes come from a separate Python model of the engine written from the
// rules of the bar loop, orders, fills and report (not from this code), with the
// hash taken by b3sum over the text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "benchmark/formats.hpp"
#include "benchmark/runner.hpp"
#include "hash/canonical.hpp"
#include "json/parse.hpp"

using namespace ostrel;

namespace {

struct GoldenCase {
    const char* id;
    const char* strategy;
    const char* candles;
    const char* report;
    const char* hash;
};

// Sma/Ema crosses on both sides, limit entries 0.3% inside the close with one bar of latency (maker fee),
// risk_per_trade sizing under a 60% position cap, fixed-bps slippage, stop loss, trailing stop and a
// take profit that is never reached.
const GoldenCase kG1{
    "g1",
    R"({"spec_version":1,"symbol":"G1","timeframe":"1h","indicators":{"fast":{"type":"Sma","params":[3]},"slow":{"typ)"
    R"(e":"Ema","params":[5]}},"entry":{"cross_above":["fast","slow"]},"exit":{"cross_below":["fast","slow"]},"short_)"
    R"(entry":{"cross_below":["fast","slow"]},"short_exit":{"cross_above":["fast","slow"]},"sizing":{"type":"risk_per)"
    R"(_trade","risk_pct":1},"costs":{"maker_bps":2,"taker_bps":7.5,"slippage":{"type":"fixed_bps","bps":3}},"risk":{)"
    R"("trailing_stop_pct":2.5,"take_profit_pct":4,"max_position_pct":60,"stop_loss_pct":2},"execution":{"order_type")"
    R"(:"limit","limit_offset_pct":-0.3,"latency_bars":1}})",
    R"([[1000,99.54,99.8,98.1,99.63,22.0],[2000,100.08,100.16,96.41,98.0,3.0],[3000,97.97,98.29,93.48,93.98,19.0],[40)"
    R"(00,94.05,96.14,93.9,95.84,55.0],[5000,95.87,96.14,95.2,96.06,42.0],[6000,95.84,97.6,94.53,95.35,40.0],[7000,95)"
    R"(.79,99.79,94.63,97.79,17.0],[8000,97.64,98.28,96.95,97.67,54.0],[9000,97.39,97.44,96.61,97.43,31.0],[10000,97.)"
    R"(32,98.42,94.47,95.43,47.0],[11000,96.25,97.83,95.77,97.2,12.0],[12000,96.94,97.94,96.56,97.46,26.0],[13000,97.)"
    R"(09,98.22,95.88,97.47,2.0],[14000,97.78,97.99,95.37,95.74,7.0],[15000,95.77,97.57,94.76,96.11,13.0],[16000,96.1)"
    R"(2,96.38,94.31,94.68,18.0],[17000,94.6,95.46,93.5,95.34,53.0],[18000,94.84,96.63,94.08,96.04,4.0],[19000,95.36,)"
    R"(97.78,94.28,97.22,12.0],[20000,97.19,98.27,93.95,94.22,59.0],[21000,93.53,94.35,92.53,93.06,17.0],[22000,92.97)"
    R"(,93.46,90.77,91.73,43.0],[23000,92.13,92.24,90.04,90.39,1.0],[24000,90.02,91.48,89.83,91.36,37.0],[25000,91.35)"
    R"(,93.96,90.77,93.86,1.0],[26000,94.05,96.41,93.61,94.75,22.0],[27000,94.42,95.0,91.79,92.58,38.0],[28000,92.28,)"
    R"(92.84,89.72,90.08,8.0],[29000,89.77,91.27,89.03,90.68,38.0],[30000,91.03,94.93,90.99,94.02,28.0]])",
    R"({"equity":[{"equity":10000,"time":1000},{"equity":10000,"time":2000},{"equity":10000,"time":3000},{"equity":10)"
    R"(000,"time":4000},{"equity":10000,"time":5000},{"equity":10000,"time":6000},{"equity":10000,"time":7000},{"equi)"
    R"(ty":10000,"time":8000},{"equity":10000,"time":9000},{"equity":10000,"time":10000},{"equity":10046.83629846,"ti)"
    R"(me":11000},{"equity":10060.33874123,"time":12000},{"equity":10035.83063108,"time":13000},{"equity":10035.83063)"
    R"(108,"time":14000},{"equity":9996.10116317,"time":15000},{"equity":9996.10116317,"time":16000},{"equity":9996.1)"
    R"(0116317,"time":17000},{"equity":9957.98382496,"time":18000},{"equity":9957.98382496,"time":19000},{"equity":99)"
    R"(57.98382496,"time":20000},{"equity":9957.98382496,"time":21000},{"equity":9853.74862927,"time":22000},{"equity)"
    R"(":9853.74862927,"time":23000},{"equity":9856.39390718,"time":24000},{"equity":9750.45670926,"time":25000},{"eq)"
    R"(uity":9750.45670926,"time":26000},{"equity":9750.45670926,"time":27000},{"equity":9750.45670926,"time":28000},)"
    R"({"equity":9797.42498392,"time":29000},{"equity":9812.72044983,"time":30000}],"fees_paid":28.38585969,"initial_)"
    R"(capital":10000,"metrics":{"calmar":-0.60800418,"max_drawdown":3.08023457,"num_trades":6,"pnl":-187.27955017,"p)"
    R"(rofit_factor":0.34373979,"return_pct":-1.8727955,"sharpe":-0.20149565,"sortino":-0.215413,"win_rate":33.333333)"
    R"(33},"schema_version":1,"symbol":"G1","timeframe":"1h","trades":[{"entry_price":96.278875,"entry_time":11000,"e)"
    R"(xit_price":97.060873,"exit_time":13000,"pnl":35.83063108,"qty":51.93247221,"reason":"signal","return_pct":0.71)"
    R"(661262},{"entry_price":95.798731,"entry_time":15000,"exit_price":95.13075,"exit_time":15000,"pnl":-39.72946792)"
    R"(,"qty":52.37976812,"reason":"trailing_stop","return_pct":-0.79175246},{"entry_price":95.7929235,"entry_time":1)"
    R"(8000,"exit_price":96.432,"exit_time":18000,"pnl":-38.11733821,"qty":-52.17557205,"reason":"trailing_stop","ret)"
    R"(urn_pct":-0.76264411},{"entry_price":92.997891,"entry_time":22000,"exit_price":91.13793318,"exit_time":22000,")"
    R"(pnl":-104.23519569,"qty":53.53876157,"reason":"stop_loss","return_pct":-2.0935},{"entry_price":91.42737356,"en)"
    R"(try_time":24000,"exit_price":93.25592103,"exit_time":25000,"pnl":-103.29192001,"qty":-53.88839385,"reason":"st)"
    R"(op_loss","return_pct":-2.0965},{"entry_price":89.796931,"entry_time":29000,"exit_price":91.03,"exit_time":3000)"
    R"(0,"pnl":62.26374057,"qty":54.29170352,"reason":"trailing_stop","return_pct":1.27714511}]})",
    "bfa2071715740111834a30d86a56bb51f39db02368aff72ae1a836c8ff97b959"};

// Price-only rules, stop-limit entries, vol_target sizing over 4 closes, volume-impact slippage,
// partial fills at half the bar's volume, leverage cap 2, stop loss and an explicit warm-up of 3.
const GoldenCase kG2{
    "g2",
    R"({"spec_version":1,"symbol":"G2","timeframe":"1h","indicators":{},"entry":{"rising":[{"price":"close"},2]},"exi)"
    R"(t":{"falling":[{"price":"close"},1]},"short_entry":{"falling":[{"price":"close"},2]},"sizing":{"type":"vol_tar)"
    R"(get","target_vol":0.01,"lookback":4},"costs":{"taker_bps":10,"slippage":{"type":"volume_impact","coef":0.2}},")"
    R"(risk":{"stop_loss_pct":3,"max_leverage":2},"execution":{"order_type":"stop_limit","stop_offset_pct":0.2,"limit)"
    R"(_offset_pct":0.9,"partial_fills":true,"max_participation":0.5},"warmup":3})",
    R"([[1000,99.78,100.8,99.24,100.54,49.0],[2000,101.1,104.04,100.86,102.79,6.0],[3000,103.23,104.23,101.8,102.33,1)"
    R"(4.0],[4000,102.52,103.24,97.62,99.04,14.0],[5000,99.38,102.21,98.79,101.77,46.0],[6000,101.08,101.89,100.29,10)"
    R"(0.45,18.0],[7000,100.05,101.26,97.9,99.3,6.0],[8000,98.47,101.19,97.14,99.47,23.0],[9000,100.15,104.04,98.85,1)"
    R"(03.74,29.0],[10000,102.76,103.89,99.05,99.45,3.0],[11000,99.64,100.76,98.88,100.42,60.0],[12000,100.27,100.68,)"
    R"(100.19,100.65,22.0],[13000,100.92,104.26,99.64,102.47,41.0],[14000,102.55,105.26,101.76,104.09,23.0],[15000,10)"
    R"(4.53,105.82,103.2,103.67,46.0],[16000,103.11,103.77,100.59,101.11,7.0],[17000,101.36,103.35,101.31,102.51,60.0)"
    R"(],[18000,102.65,105.38,101.19,105.19,55.0],[19000,105.15,110.15,104.18,109.3,33.0],[20000,109.16,112.58,108.98)"
    R"(,111.98,26.0],[21000,111.56,116.32,110.49,115.05,35.0],[22000,115.84,119.8,115.15,118.46,26.0],[23000,118.5,11)"
    R"(8.91,116.27,116.8,47.0],[24000,116.45,120.97,115.81,120.85,52.0],[25000,120.67,121.44,116.3,116.97,6.0],[26000)"
    R"(,117.33,117.63,115.49,115.68,19.0],[27000,116.47,116.74,112.77,113.86,60.0],[28000,114.24,114.85,110.48,112.77)"
    R"(,53.0],[29000,112.49,113.02,110.22,111.31,40.0],[30000,111.07,112.42,107.75,109.0,23.0]])",
    R"({"equity":[{"equity":10000,"time":1000},{"equity":10000,"time":2000},{"equity":10000,"time":3000},{"equity":10)"
    R"(000,"time":4000},{"equity":9559.36320168,"time":5000},{"equity":9559.36320168,"time":6000},{"equity":9559.3632)"
    R"(0168,"time":7000},{"equity":9559.36320168,"time":8000},{"equity":8144.49167792,"time":9000},{"equity":8144.491)"
    R"(67792,"time":10000},{"equity":8144.49167792,"time":11000},{"equity":8144.49167792,"time":12000},{"equity":7716)"
    R"(.52990707,"time":13000},{"equity":6515.23450606,"time":14000},{"equity":5574.83900622,"time":15000},{"equity":)"
    R"(5574.83900622,"time":16000},{"equity":5574.83900622,"time":17000},{"equity":5181.03990122,"time":18000},{"equi)"
    R"(ty":4933.95762188,"time":19000},{"equity":4446.92490663,"time":20000},{"equity":3748.08558875,"time":21000},{")"
    R"(equity":3148.56381255,"time":22000},{"equity":2508.01958966,"time":23000},{"equity":2450.31766452,"time":24000)"
    R"(},{"equity":2336.13241135,"time":25000},{"equity":2277.22562923,"time":26000},{"equity":2277.39685603,"time":2)"
    R"(7000},{"equity":2251.69211576,"time":28000},{"equity":2251.69211576,"time":29000},{"equity":2251.69211576,"tim)"
    R"(e":30000}],"fees_paid":53.5037653,"initial_capital":10000,"metrics":{"calmar":-1,"max_drawdown":77.48307884,"n)"
    R"(um_trades":15,"pnl":-7748.30788424,"profit_factor":0,"return_pct":-77.48307884,"sharpe":-0.75249477,"sortino":)"
    R"(-0.60127504,"win_rate":0},"schema_version":1,"symbol":"G2","timeframe":"1h","trades":[{"entry_price":80.401659)"
    R"(99,"entry_time":5000,"exit_price":99.38,"exit_time":5000,"pnl":-440.63679832,"qty":-23,"reason":"stop_loss","r)"
    R"(eturn_pct":-23.82801757},{"entry_price":2.67547901,"entry_time":9000,"exit_price":100.15,"exit_time":9000,"pnl)"
    R"(":-1414.87152376,"qty":-14.5,"reason":"stop_loss","return_pct":-3647.09818353},{"entry_price":121.57369025,"en)"
    R"(try_time":13000,"exit_price":100.92,"exit_time":13000,"pnl":-427.96177085,"qty":20.5,"reason":"stop_loss","ret)"
    R"(urn_pct":-17.17162973},{"entry_price":206.70121843,"entry_time":14000,"exit_price":102.55,"exit_time":14000,"p)"
    R"(nl":-1201.295401,"qty":11.5,"reason":"stop_loss","return_pct":-50.53693947},{"entry_price":145.1670638,"entry_)"
    R"(time":15000,"exit_price":104.53,"exit_time":15000,"pnl":-940.39549984,"qty":23,"reason":"stop_loss","return_pc)"
    R"(t":-28.16531505},{"entry_price":116.75056689,"entry_time":18000,"exit_price":102.65,"exit_time":18000,"pnl":-3)"
    R"(93.799105,"qty":27.5,"reason":"stop_loss","return_pct":-12.26543719},{"entry_price":119.89963396,"entry_time":)"
    R"(19000,"exit_price":105.15,"exit_time":19000,"pnl":-247.08227934,"qty":16.5,"reason":"stop_loss","return_pct":-)"
    R"(12.48934888},{"entry_price":146.36852649,"entry_time":20000,"exit_price":109.16,"exit_time":20000,"pnl":-487.0)"
    R"(3271525,"qty":13,"reason":"stop_loss","return_pct":-25.59570416},{"entry_price":151.23088442,"entry_time":2100)"
    R"(0,"exit_price":111.56,"exit_time":21000,"pnl":-698.83931789,"qty":17.5,"reason":"stop_loss","return_pct":-26.4)"
    R"(0576722},{"entry_price":161.67954017,"entry_time":22000,"exit_price":115.84,"exit_time":22000,"pnl":-599.52177)"
    R"(619,"qty":13,"reason":"stop_loss","return_pct":-28.52374497},{"entry_price":145.49320777,"entry_time":23000,"e)"
    R"(xit_price":118.5,"exit_time":23000,"pnl":-640.54422289,"qty":23.5,"reason":"stop_loss","return_pct":-18.734346)"
    R"(02},{"entry_price":121.83884468,"entry_time":24000,"exit_price":116.45,"exit_time":24000,"pnl":-57.70192514,"q)"
    R"(ty":10.25423066,"reason":"stop_loss","return_pct":-4.61850532},{"entry_price":158.45262843,"entry_time":25000,)"
    R"("exit_price":120.67,"exit_time":25000,"pnl":-114.18525317,"qty":3,"reason":"stop_loss","return_pct":-24.020902)"
    R"(29},{"entry_price":126.04996047,"entry_time":26000,"exit_price":117.33,"exit_time":26000,"pnl":-58.90678211,"q)"
    R"(ty":6.57196751,"reason":"stop_loss","return_pct":-7.11094268},{"entry_price":113.99789047,"entry_time":27000,")"
    R"(exit_price":117.32944884,"exit_time":28000,"pnl":-25.53351348,"qty":-7.16652611,"reason":"signal","return_pct")"
    R"(:-3.12539618}]})",
    "f589ac1db8551df0c0f302aaf9b11ce2e121122f1318535611a9700ebad7b1ad"};

// Rsi(4) rules with close fills, bars_since_entry exit, fraction 3 at leverage 5, take profit and a
// short liquidated by a spike (equity ends below zero).
const GoldenCase kG3{
    "g3",
    R"({"spec_version":1,"symbol":"G3","timeframe":"1h","indicators":{"rsi":{"type":"Rsi","params":[4]}},"entry":{"lt)"
    R"(":["rsi",45]},"exit":{"any":[{"gt":["rsi",60]},{"bars_since_entry":{"ge":4}}]},"short_entry":{"gt":["rsi",70]})"
    R"(,"sizing":{"type":"fixed_fraction","fraction":3},"costs":{"taker_bps":5},"risk":{"take_profit_pct":5,"max_leve)"
    R"(rage":5,"liquidation":true},"execution":{"fill_timing":"close"}})",
    R"([[1000,100.52,103.48,99.91,103.43,32.0],[2000,103.46,103.87,100.75,101.13,32.0],[3000,101.89,103.85,101.32,102)"
    R"(.58,1.0],[4000,102.47,102.82,99.93,100.95,7.0],[5000,101.03,102.03,100.58,100.74,57.0],[6000,100.53,101.65,100)"
    R"(.44,101.48,15.0],[7000,101.56,102.27,96.54,96.77,44.0],[8000,96.85,99.0,96.69,98.96,54.0],[9000,99.73,100.64,9)"
    R"(6.82,97.47,47.0],[10000,97.6,98.22,95.76,96.84,46.0],[11000,95.83,97.51,95.72,95.8,13.0],[12000,95.63,99.15,94)"
    R"(.63,98.03,33.0],[13000,97.43,101.11,97.27,99.8,26.0],[14000,99.59,101.41,99.22,100.22,44.0],[15000,100.21,100.)"
    R"(41,99.03,99.36,11.0],[16000,98.97,99.16,98.7,98.71,3.0],[17000,98.43,102.81,97.75,102.0,42.0],[18000,102.23,10)"
    R"(5.77,102.07,104.35,35.0],[19000,104.81,105.45,103.11,103.54,55.0],[20000,103.13,103.26,101.04,102.06,47.0],[21)"
    R"(000,102.77,149.02,101.22,102.9,48.0],[22000,102.68,102.78,102.05,102.6,4.0],[23000,102.21,104.28,101.56,102.44)"
    R"(,27.0],[24000,102.06,102.82,101.22,102.24,40.0],[25000,102.32,103.52,99.68,100.53,41.0],[26000,100.77,104.12,9)"
    R"(9.66,103.17,52.0],[27000,103.74,105.69,99.49,99.88,5.0],[28000,99.94,101.46,99.82,100.12,16.0],[29000,100.04,1)"
    R"(03.86,99.43,103.59,11.0],[30000,103.86,106.33,103.28,106.0,46.0]])",
    R"({"equity":[{"equity":10000,"time":1000},{"equity":10000,"time":2000},{"equity":10000,"time":3000},{"equity":10)"
    R"(000,"time":4000},{"equity":10000,"time":5000},{"equity":10000,"time":6000},{"equity":8592.60741033,"time":7000)"
    R"(},{"equity":9240.02562081,"time":8000},{"equity":8799.54473788,"time":9000},{"equity":8613.30114308,"time":100)"
    R"(00},{"equity":8598.98699251,"time":11000},{"equity":9186.58144501,"time":12000},{"equity":9862.39315639,"time")"
    R"(:13000},{"equity":9862.39315639,"time":14000},{"equity":9862.39315639,"time":15000},{"equity":9862.39315639,"t)"
    R"(ime":16000},{"equity":9862.39315639,"time":17000},{"equity":9165.93415731,"time":18000},{"equity":9150.7997348)"
    R"(7,"time":19000},{"equity":9529.477928,"time":20000},{"equity":-18.29473637,"time":21000},{"equity":-18.2947363)"
    R"(7,"time":22000},{"equity":-18.29473637,"time":23000},{"equity":-18.29473637,"time":24000},{"equity":-18.294736)"
    R"(37,"time":25000},{"equity":-18.29473637,"time":26000},{"equity":-18.29473637,"time":27000},{"equity":-18.29473)"
    R"(637,"time":28000},{"equity":-18.29473637,"time":29000},{"equity":-18.29473637,"time":30000}],"fees_paid":117.7)"
    R"(0498372,"initial_capital":10000,"metrics":{"calmar":-1,"max_drawdown":100.18294736,"num_trades":4,"pnl":-10018)"
    R"(.29473637,"profit_factor":0.11198721,"return_pct":-100.18294736,"sharpe":-0.1894933,"sortino":-0.1877504,"win_)"
    R"(rate":25},"schema_version":1,"symbol":"G3","timeframe":"1h","trades":[{"entry_price":101.48,"entry_time":6000,)"
    R"("exit_price":96.84,"exit_time":10000,"pnl":-1401.01300749,"qty":295.62475365,"reason":"signal","return_pct":-4)"
    R"(.67004336},{"entry_price":95.8,"entry_time":11000,"exit_price":100.59,"exit_time":13000,"pnl":1263.40616387,"q)"
    R"(ty":269.27934215,"reason":"take_profit","return_pct":4.8975},{"entry_price":102,"entry_time":17000,"exit_price)"
    R"(":104.35,"exit_time":18000,"pnl":-711.59342151,"qty":-290.07038695,"reason":"signal","return_pct":-2.40507353})"
    R"(,{"entry_price":103.54,"entry_time":19000,"exit_price":138.00156333,"exit_time":21000,"pnl":-9169.09447124,"qt)"
    R"(y":-265.13810319,"reason":"liquidation","return_pct":-33.399975}]})",
    "dc333b4f4e43b528ae8b5f3fb854aca910774a20faef8b12cdb0ab97d8db765b"};

json::Value parse_or_fail(const char* text) {
    auto r = json::parse(text);
    EXPECT_TRUE(r.has_value());
    return r ? std::move(*r) : json::Value();
}

void check_golden(const GoldenCase& g) {
    SCOPED_TRACE(g.id);
    BenchmarkCase c;
    c.id = g.id;
    c.description = "golden";
    c.strategy = parse_or_fail(g.strategy);
    c.dataset_ref = "d";
    c.expected = parse_or_fail(g.report);
    c.expected_hash = g.hash;
    json::Value data = parse_or_fail(g.candles);
    std::vector<Candle> candles;
    ASSERT_FALSE(read_candles(data, candles));
    ASSERT_EQ(candles.size(), 30u);
    auto r = run_case(c, candles);
    ASSERT_TRUE(r.has_value()) << r.error().display();
    EXPECT_EQ(r->recomputed(), g.report);
    EXPECT_EQ(r->hash, g.hash);
    EXPECT_TRUE(r->passed);
    EXPECT_TRUE(r->hash_match);
}

}  // namespace

TEST(GoldenReports, LimitEntriesRiskSizingAndTrailingStop) { check_golden(kG1); }

TEST(GoldenReports, StopLimitVolTargetVolumeImpactAndPartialFills) { check_golden(kG2); }

TEST(GoldenReports, CloseFillsTakeProfitAndShortLiquidation) { check_golden(kG3); }
