// The DeMark kinds: reference values over one candle series from an independent model
// of the rules, compared bit for bit; hand-built candle runs of the counts, levels and
// oscillators; and each bar signal's buy, sell and boundary cases.
#include <gtest/gtest.h>

#include "support/pattern_support.hpp"

TEST(Demark, EveryKindMatchesTheIndependentModel) {
    pattern_support::check_runs("indicators/patterns/data/demark_reference.txt");
}

TEST(Demark, HandBuiltRuns) { pattern_support::check_runs("indicators/patterns/data/demark_runs.txt"); }

TEST(Demark, BarSignals) { pattern_support::check_formations("indicators/patterns/data/demark_signal.txt"); }
