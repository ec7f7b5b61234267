// A set of rows of one list as one bit per row: joining, intersecting and counting sets of tens of
// thousands of rows costs a few hundred word operations.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

namespace vmk::screening {

using RowId = std::uint32_t;

class RowBits {
 public:
  RowBits() = default;
  explicit RowBits(RowId rows, bool all = false) : rows_(rows), words_((rows + 63) / 64, all ? ~0ull : 0) {
    if (all && rows % 64 != 0) words_.back() = (1ull << (rows % 64)) - 1;
  }

  void Set(RowId row) { words_[row / 64] |= 1ull << (row % 64); }
  bool Test(RowId row) const { return (words_[row / 64] >> (row % 64) & 1) != 0; }

  std::size_t Count() const {
    std::size_t count = 0;
    for (const std::uint64_t word : words_) count += static_cast<std::size_t>(std::popcount(word));
    return count;
  }
  bool None() const {
    for (const std::uint64_t word : words_) {
      if (word != 0) return false;
    }
    return true;
  }

  RowBits& operator&=(const RowBits& other) {
    for (std::size_t i = 0; i < words_.size(); ++i) words_[i] &= other.words_[i];
    return *this;
  }
  RowBits& operator|=(const RowBits& other) {
    for (std::size_t i = 0; i < words_.size(); ++i) words_[i] |= other.words_[i];
    return *this;
  }
  RowBits& Remove(const RowBits& other) {
    for (std::size_t i = 0; i < words_.size(); ++i) words_[i] &= ~other.words_[i];
    return *this;
  }

  // Calls visit(row) for every row in the set, ascending.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (std::size_t i = 0; i < words_.size(); ++i) {
      for (std::uint64_t word = words_[i]; word != 0; word &= word - 1) {
        visit(static_cast<RowId>(i * 64 + static_cast<std::size_t>(std::countr_zero(word))));
      }
    }
  }

  RowId Rows() const { return rows_; }

 private:
  RowId rows_ = 0;
  std::vector<std::uint64_t> words_;
};

}  // namespace vmk::screening
