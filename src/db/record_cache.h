// The query's record cache: every fetched row, held compactly.
//
// A row is a fixed number of 8-byte value slots and a null flag per value;
// rows live in blocks of 1000, so the cache grows in steps of 1000 rows and
// never moves a row once stored. Bytes of variable length (text values) live
// in a separate store of large blocks; a text slot holds where they are.
//
//   cache.Reset(field_count);
//   uint64_t* slots = cache.BeginRow(&nulls); ... fill ...; cache.CommitRow();
//   cache.Slot(row, field), cache.IsNull(row, field), cache.Text(slot)
//
// A row that was begun but not committed (its capture failed) is not counted
// and is overwritten by the next BeginRow(). ReleaseRowsBefore(n) gives back
// the memory of rows before row n, for a reader that never goes back; those
// rows must not be read afterwards.
#ifndef QELT_DB_RECORD_CACHE_H_
#define QELT_DB_RECORD_CACHE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class RecordCache {
 public:
  static constexpr size_t kRowsPerBlock = 1000;

  void Reset(size_t field_count);

  // Room for one more row's slots and null flags, not yet counted.
  uint64_t* BeginRow(uint8_t** nulls);
  void CommitRow() { ++row_count_; }

  size_t row_count() const { return row_count_; }
  uint64_t Slot(size_t row, size_t field) const {
    return rows_[row / kRowsPerBlock].slots[(row % kRowsPerBlock) * field_count_ + field];
  }
  bool IsNull(size_t row, size_t field) const {
    return rows_[row / kRowsPerBlock].nulls[(row % kRowsPerBlock) * field_count_ + field] != 0;
  }

  void ReleaseRowsBefore(size_t row);

  // Stores `size` bytes (at most 65535) and returns the slot value naming them.
  uint64_t StoreText(const char* data, size_t size);
  std::string_view Text(uint64_t slot) const;

 private:
  struct RowBlock {
    std::unique_ptr<uint64_t[]> slots;
    std::unique_ptr<uint8_t[]> nulls;
    size_t first_text_block;  // the text block its first row's values went to
  };

  size_t field_count_ = 0;
  size_t row_count_ = 0;
  std::vector<RowBlock> rows_;
  std::vector<std::unique_ptr<char[]>> text_blocks_;
  size_t text_used_ = 0;  // bytes used in the last text block
  size_t released_blocks_ = 0;       // row blocks given back from the front
  size_t released_text_blocks_ = 0;  // text blocks likewise
};

#endif  // QELT_DB_RECORD_CACHE_H_
