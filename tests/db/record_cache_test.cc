#include "db/record_cache.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string TextOf(size_t row) { return std::string(600, static_cast<char>('a' + row % 26)) + std::to_string(row); }

// Rows spread over several row blocks and text blocks (a text block holds
// 1 MiB, so about 1700 of these rows).
void Fill(RecordCache* cache, size_t rows) {
  cache->Reset(2);
  for (size_t row = 0; row < rows; ++row) {
    uint8_t* nulls;
    uint64_t* slots = cache->BeginRow(&nulls);
    std::string text = TextOf(row);
    slots[0] = row;
    nulls[0] = 0;
    slots[1] = cache->StoreText(text.data(), text.size());
    nulls[1] = row % 3 == 0;
    cache->CommitRow();
  }
}

TEST(RecordCacheTest, HoldsEveryRowAndItsText) {
  RecordCache cache;
  Fill(&cache, 5500);
  ASSERT_EQ(cache.row_count(), 5500u);
  for (size_t row : {0u, 999u, 1000u, 1701u, 5499u}) {
    EXPECT_EQ(cache.Slot(row, 0), row);
    EXPECT_EQ(cache.IsNull(row, 1), row % 3 == 0);
    EXPECT_EQ(cache.Text(cache.Slot(row, 1)), TextOf(row));
  }
}

TEST(RecordCacheTest, ReleasingEarlierRowsKeepsTheLaterOnes) {
  RecordCache cache;
  Fill(&cache, 5500);
  for (size_t release : {999u, 1000u, 2999u, 3500u, 5499u}) {
    cache.ReleaseRowsBefore(release);
    for (size_t row = release; row < 5500; row += 97) {
      EXPECT_EQ(cache.Slot(row, 0), row);
      EXPECT_EQ(cache.Text(cache.Slot(row, 1)), TextOf(row));
    }
  }
  EXPECT_EQ(cache.Text(cache.Slot(5499, 1)), TextOf(5499));
}

TEST(RecordCacheTest, AnUncommittedRowIsNotCounted) {
  RecordCache cache;
  Fill(&cache, 3);
  uint8_t* nulls;
  uint64_t* slots = cache.BeginRow(&nulls);
  slots[0] = 77;
  EXPECT_EQ(cache.row_count(), 3u);
  slots = cache.BeginRow(&nulls);
  slots[0] = 4;
  cache.CommitRow();
  EXPECT_EQ(cache.Slot(3, 0), 4u);
}

}  // namespace
