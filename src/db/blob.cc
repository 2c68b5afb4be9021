#include "db/blob.h"

#include <algorithm>

#include "db/client_library.h"
#include "db/database.h"

namespace {

constexpr unsigned short kMaxSegment = 16384;
constexpr short kInfoAnswerSize = 100;
// A segment longer than the space asked for: the part delivered is good.
constexpr ISC_STATUS kPartialSegment = 335544366;

// The total length from a blob information answer.
size_t TotalLength(const ClientCalls& c, const char* answer, size_t size) {
  size_t i = 0;
  while (i + 3 <= size && answer[i] != isc_info_end) {
    char item = answer[i];
    auto length = static_cast<short>(c.vax_integer(answer + i + 1, 2));
    if (length < 0 || i + 3 + static_cast<size_t>(length) > size) break;
    if (item == isc_info_blob_total_length) {
      return static_cast<size_t>(c.vax_integer(answer + i + 3, length));
    }
    i += 3 + static_cast<size_t>(length);
  }
  return 0;
}

}  // namespace

void AppendBlobContent(Database* database, Transaction* transaction, ISC_QUAD id,
                       std::string* out) {
  const ClientCalls& c = ClientLibrary();
  ISC_STATUS_ARRAY status;
  isc_blob_handle blob = 0;
  c.open_blob2(status, database->handle(), transaction->handle(), &blob, &id, 0, nullptr);
  CheckStatus(status);

  auto fail = [&](const ISC_STATUS* failure) {
    ISC_STATUS_ARRAY ignored;
    c.close_blob(ignored, &blob);
    RaiseDatabaseError(failure);
  };

  const char items[] = {isc_info_blob_num_segments, isc_info_blob_max_segment,
                        isc_info_blob_total_length, isc_info_blob_type};
  char answer[kInfoAnswerSize] = {};
  c.blob_info(status, &blob, sizeof items, items, sizeof answer, answer);
  if (status[1] > 0) fail(status);
  size_t total = TotalLength(c, answer, sizeof answer);

  size_t start = out->size();
  out->resize(start + total);
  size_t done = 0;
  while (done < total) {
    auto ask = static_cast<unsigned short>(std::min<size_t>(kMaxSegment, total - done));
    unsigned short got = 0;
    c.get_segment(status, &blob, &got, ask, &(*out)[start + done]);
    if (status[1] > 0 && !StatusHolds(status, kPartialSegment)) fail(status);
    if (got == 0) break;  // nothing more to be had; never spin
    done += got;
  }
  out->resize(start + done);

  c.close_blob(status, &blob);
  CheckStatus(status);
}
