#include "export/row_text.h"

#include <cstring>

#include "db/blob.h"
#include "db/query.h"
#include "export/number_text.h"

RowFormatter::RowFormatter(const FormatSettings& settings)
    : decimal_separator_(settings.decimal_separator),
      forms_(settings) {}

void RowFormatter::AppendRow(const Query& query, std::string* out) const {
  const size_t count = query.fields().size();
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) out->push_back('\t');
    AppendValue(query, i, out);
  }
}

void RowFormatter::AppendValue(const Query& query, size_t field, std::string* out) const {
  if (query.IsNull(field)) return;
  const uint64_t slot = query.Slot(field);
  switch (query.fields()[field].kind) {
    case ValueKind::kText: {
      std::string_view text = query.cache().Text(slot);
      out->append(text.substr(0, text.find('\0')));
      break;
    }
    case ValueKind::kSmallInt:
    case ValueKind::kInteger:
    case ValueKind::kLargeInt:
      AppendIntegerText(static_cast<int64_t>(slot), out);
      break;
    case ValueKind::kFloat: {
      double value;
      std::memcpy(&value, &slot, sizeof value);
      AppendFloatText(value, decimal_separator_, out);
      break;
    }
    case ValueKind::kScaled:
      AppendScaledText(static_cast<int64_t>(slot), decimal_separator_, out);
      break;
    case ValueKind::kDate:
      forms_.date.Append(UnpackCalendar(slot), out);
      break;
    case ValueKind::kTime:
      forms_.time.Append(UnpackCalendar(slot), out);
      break;
    case ValueKind::kDateTime:
      forms_.date_time.Append(UnpackCalendar(slot), out);
      break;
    case ValueKind::kBlob:
      if (slot != 0) {
        ISC_QUAD id;
        std::memcpy(&id, &slot, sizeof id);
        AppendBlobContent(query.database(), query.transaction(), id, out);
      }
      break;
  }
}
