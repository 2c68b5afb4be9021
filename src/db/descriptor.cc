#include "db/descriptor.h"

#include <cstring>

namespace {

size_t Units(size_t bytes) { return (bytes + sizeof(max_align_t) - 1) / sizeof(max_align_t); }

// The data bytes a variable of the described type takes.
size_t DataSize(const XSQLVAR& var) {
  size_t size = static_cast<size_t>(var.sqllen);
  if ((var.sqltype & ~1) == SQL_VARYING) size += 2;
  return size == 0 ? 1 : size;
}

}  // namespace

void Descriptor::Resize(int variables) {
  storage_.assign(Units(XSQLDA_LENGTH(variables)), max_align_t{});
  buffers_.clear();
  sqlda_ = reinterpret_cast<XSQLDA*>(storage_.data());
  sqlda_->version = SQLDA_VERSION1;
  sqlda_->sqln = static_cast<ISC_SHORT>(variables);
  sqlda_->sqld = 0;
}

void Descriptor::AllocateBuffers() {
  const int n = count();
  std::vector<size_t> offsets(static_cast<size_t>(n));
  size_t total = 0;
  for (int i = 0; i < n; ++i) {
    offsets[i] = total;
    // The null indicator first, then the data, each variable aligned.
    total += Units(sizeof(ISC_SHORT)) + Units(DataSize((*this)[i]));
  }
  buffers_.assign(total, max_align_t{});
  for (int i = 0; i < n; ++i) {
    XSQLVAR& var = (*this)[i];
    max_align_t* base = buffers_.data() + offsets[i];
    var.sqlind = reinterpret_cast<ISC_SHORT*>(base);
    var.sqldata = reinterpret_cast<ISC_SCHAR*>(base + Units(sizeof(ISC_SHORT)));
  }
}

void Descriptor::Clear() {
  storage_.clear();
  buffers_.clear();
  sqlda_ = nullptr;
}
