// The engine's bounded bar history and the value slots that rules read.
//
// A rule reads indicator values by key ("id" or "id.output"). Rather than keeping a
// map of every key on every bar, the keys that the rules reference are numbered once
// at set-up (`SlotTable`); each bar then holds one value per numbered key, with a
// presence flag (an indicator that gave no value on a bar leaves its keys absent).
// Values under keys that no rule reads are not kept at all, since nothing reads them.
//
// Engine use, per run:
//   RuleSet rules(spec);                           // strategy/eval.hpp
//   BarHistory history(capacity, rules.slots().size());
//   ValueRow row(rules.slots().size());
//   std::vector<IndicatorKeys> keys;               // one per indicator, id order:
//   keys.emplace_back(id, rules.slots());
// per bar, after settling the pending order:
//   row.clear();
//   for each indicator k: if (auto v = ind.update(snapshot)) {
//       row.set(keys[k].id_slot(), *v);
//       for (const NamedOutput& o : ind.outputs()) row.set(keys[k].output_slot(o.name), o.value);
//   }
//   history.push(candle, row);                     // drops the oldest bar when full
// Stores into one slot replace earlier ones on the same bar, so the last store wins,
// as with a map keyed by text. The RuleSet (and so its SlotTable) must stay in place
// while IndicatorKeys refer to it, and every ValueRow pushed into a history must have
// the history's slot count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "indicators/indicator.hpp"

namespace ostrel {

// The referenced keys, numbered in byte order.
class SlotTable {
public:
    static constexpr std::uint32_t npos = UINT32_MAX;

    SlotTable() = default;
    // Any order, repeats allowed.
    explicit SlotTable(std::vector<std::string> keys);

    // The slot of `key`, or npos when no rule reads it. Set-up time only.
    std::uint32_t find(std::string_view key) const;
    std::size_t size() const { return keys_.size(); }
    const std::vector<std::string>& keys() const { return keys_; }

private:
    std::vector<std::string> keys_;
};

// The values of one bar under construction, one per slot.
class ValueRow {
public:
    explicit ValueRow(std::size_t slots) : values_(slots, 0.0), present_(slots, 0) {}

    void clear() {
        for (auto& p : present_) p = 0;
    }
    // npos (a key no rule reads) is ignored.
    void set(std::uint32_t slot, double v) {
        if (slot == SlotTable::npos) return;
        values_[slot] = v;
        present_[slot] = 1;
    }
    std::optional<double> get(std::uint32_t slot) const {
        if (slot == SlotTable::npos || !present_[slot]) return std::nullopt;
        return values_[slot];
    }

private:
    friend class BarHistory;
    std::vector<double> values_;
    std::vector<std::uint8_t> present_;
};

// The keys of one indicator: its id, and "id.name" for each output name, formatted
// and resolved the first time the name is seen and reused on every later bar.
class IndicatorKeys {
public:
    IndicatorKeys(std::string id, const SlotTable& slots);

    const std::string& id() const { return id_; }
    std::uint32_t id_slot() const { return id_slot_; }
    // Compares the name's bytes with the names seen so far; allocates only for a name
    // not seen before.
    std::uint32_t output_slot(std::string_view name);

private:
    struct Output {
        std::string name;
        std::string key;
        std::uint32_t slot;
    };
    std::string id_;
    const SlotTable* slots_;
    std::uint32_t id_slot_;
    std::vector<Output> outputs_;
};

// The latest bars, oldest first, the current bar last, at most `capacity` of them.
// Storage grows with the first bars up to the capacity and is then reused in a ring,
// so a capacity far above the number of bars never allocates for bars that never
// come, and a full history never allocates.
class BarHistory {
public:
    // capacity 0 is taken as 1.
    BarHistory(std::size_t capacity, std::size_t slots);

    // Appends a bar with the row's values; when full, the oldest bar is dropped first.
    void push(const Candle& candle, const ValueRow& row);

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    // i counts from the oldest bar held (0) to the current one (size() - 1).
    const Candle& candle(std::size_t i) const { return candles_[physical(i)]; }
    std::optional<double> value(std::size_t i, std::uint32_t slot) const {
        if (slot == SlotTable::npos) return std::nullopt;
        std::size_t at = physical(i) * slots_ + slot;
        if (!present_[at]) return std::nullopt;
        return values_[at];
    }

private:
    std::size_t physical(std::size_t i) const {
        std::size_t p = start_ + i;
        return p >= capacity_ ? p - capacity_ : p;
    }

    std::size_t capacity_;
    std::size_t slots_;
    std::size_t size_ = 0;
    std::size_t start_ = 0;  // physical place of the oldest bar
    std::vector<Candle> candles_;
    std::vector<double> values_;
    std::vector<std::uint8_t> present_;
};

}  // namespace ostrel
