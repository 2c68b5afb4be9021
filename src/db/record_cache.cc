#include "db/record_cache.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kTextBlockBits = 20;
constexpr size_t kTextBlockSize = size_t{1} << kTextBlockBits;  // 1 MiB
constexpr int kLengthBits = 16;

}  // namespace

void RecordCache::Reset(size_t field_count) {
  field_count_ = field_count;
  row_count_ = 0;
  rows_.clear();
  text_blocks_.clear();
  text_used_ = 0;
  released_blocks_ = 0;
  released_text_blocks_ = 0;
}

uint64_t* RecordCache::BeginRow(uint8_t** nulls) {
  size_t block = row_count_ / kRowsPerBlock;
  if (block == rows_.size()) {
    size_t n = kRowsPerBlock * field_count_;
    // Its rows' text goes to the current block or later ones.
    size_t first_text = text_blocks_.empty() ? 0 : text_blocks_.size() - 1;
    rows_.push_back(
        {std::make_unique<uint64_t[]>(n), std::make_unique<uint8_t[]>(n), first_text});
  }
  size_t start = (row_count_ % kRowsPerBlock) * field_count_;
  *nulls = rows_[block].nulls.get() + start;
  return rows_[block].slots.get() + start;
}

void RecordCache::ReleaseRowsBefore(size_t row) {
  size_t blocks = std::min(row / kRowsPerBlock, rows_.size());
  for (; released_blocks_ < blocks; ++released_blocks_) {
    rows_[released_blocks_].slots.reset();
    rows_[released_blocks_].nulls.reset();
  }
  // Text blocks before the one the oldest kept row block starts in hold
  // nothing that is still read.
  // The last one stays, as new text is stored there.
  size_t keep_text = released_blocks_ < rows_.size() ? rows_[released_blocks_].first_text_block
                                                     : text_blocks_.size();
  keep_text = std::min(keep_text, text_blocks_.empty() ? 0 : text_blocks_.size() - 1);
  for (; released_text_blocks_ < keep_text; ++released_text_blocks_) {
    text_blocks_[released_text_blocks_].reset();
  }
}

uint64_t RecordCache::StoreText(const char* data, size_t size) {
  // A value never straddles two blocks; its length always fits one.
  if (text_blocks_.empty() || kTextBlockSize - text_used_ < size) {
    text_blocks_.push_back(std::make_unique<char[]>(kTextBlockSize));
    text_used_ = 0;
  }
  uint64_t position = ((text_blocks_.size() - 1) << kTextBlockBits) + text_used_;
  if (size > 0) std::memcpy(text_blocks_.back().get() + text_used_, data, size);
  text_used_ += size;
  return (position << kLengthBits) | size;
}

std::string_view RecordCache::Text(uint64_t slot) const {
  size_t size = slot & ((uint64_t{1} << kLengthBits) - 1);
  uint64_t position = slot >> kLengthBits;
  const char* block = text_blocks_[position >> kTextBlockBits].get();
  return std::string_view(block + (position & (kTextBlockSize - 1)), size);
}
