#pragma once
// Recently read rows by key. A returned reference stays valid for the next kSlots - 1 reads, so a
// grid can hold the rows it paints; clear() forgets the keys but keeps the memory.
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "db_engine/value.h"

namespace engine {

class RowCache {
 public:
  static constexpr std::size_t kSlots = 256;

  RowCache() { slots_.reserve(kSlots); }  // never reallocated: references stay put

  const Row* find(std::int64_t key) const {
    const auto found = where_.find(key);
    return found == where_.end() ? nullptr : &slots_[found->second].second;
  }

  const Row& store(std::int64_t key, Row row) {
    std::size_t slot = slots_.size();
    if (slots_.size() < kSlots) {
      slots_.emplace_back(key, std::move(row));
    } else {
      slot = next_;
      next_ = (next_ + 1) % kSlots;
      const auto evicted = where_.find(slots_[slot].first);
      if (evicted != where_.end() && evicted->second == slot) where_.erase(evicted);
      slots_[slot] = {key, std::move(row)};
    }
    where_[key] = slot;
    return slots_[slot].second;
  }

  void forget(std::int64_t key) { where_.erase(key); }
  void clear() { where_.clear(); }

 private:
  std::vector<std::pair<std::int64_t, Row>> slots_;
  std::unordered_map<std::int64_t, std::size_t> where_;
  std::size_t next_ = 0;
};

}  // namespace engine
