#include "strategy/history.hpp"

#include <algorithm>

namespace ostrel {

namespace strategy_detail {

// Bars reserved up front; beyond this the storage grows with the bars themselves.
inline constexpr std::size_t kInitialHistoryReserve = 4096;

}  // namespace strategy_detail

SlotTable::SlotTable(std::vector<std::string> keys) : keys_(std::move(keys)) {
    std::sort(keys_.begin(), keys_.end());
    keys_.erase(std::unique(keys_.begin(), keys_.end()), keys_.end());
}

std::uint32_t SlotTable::find(std::string_view key) const {
    auto it = std::lower_bound(keys_.begin(), keys_.end(), key,
                               [](const std::string& a, std::string_view b) { return std::string_view(a) < b; });
    if (it == keys_.end() || *it != key) return npos;
    return static_cast<std::uint32_t>(it - keys_.begin());
}

IndicatorKeys::IndicatorKeys(std::string id, const SlotTable& slots)
    : id_(std::move(id)), slots_(&slots), id_slot_(slots.find(id_)) {}

std::uint32_t IndicatorKeys::output_slot(std::string_view name) {
    for (const Output& o : outputs_)
        if (o.name == name) return o.slot;
    std::string key;
    key.reserve(id_.size() + 1 + name.size());
    key += id_;
    key += '.';
    key += name;
    std::uint32_t slot = slots_->find(key);
    outputs_.push_back(Output{std::string(name), std::move(key), slot});
    return slot;
}

BarHistory::BarHistory(std::size_t capacity, std::size_t slots)
    : capacity_(capacity == 0 ? 1 : capacity), slots_(slots) {
    std::size_t reserve = std::min(capacity_, strategy_detail::kInitialHistoryReserve);
    candles_.reserve(reserve);
    values_.reserve(reserve * slots_);
    present_.reserve(reserve * slots_);
}

void BarHistory::push(const Candle& candle, const ValueRow& row) {
    if (size_ < capacity_) {
        candles_.push_back(candle);
        values_.insert(values_.end(), row.values_.begin(), row.values_.end());
        present_.insert(present_.end(), row.present_.begin(), row.present_.end());
        ++size_;
        return;
    }
    std::size_t p = start_;
    start_ = start_ + 1 == capacity_ ? 0 : start_ + 1;
    candles_[p] = candle;
    std::copy(row.values_.begin(), row.values_.end(), values_.begin() + static_cast<std::ptrdiff_t>(p * slots_));
    std::copy(row.present_.begin(), row.present_.end(), present_.begin() + static_cast<std::ptrdiff_t>(p * slots_));
}

}  // namespace ostrel
