#include "db/parameter_blocks.h"

#include <ibase.h>

#include "db/ib_errors.h"

namespace {

constexpr size_t kMaxValueLength = 255;

void AppendItem(char item, const std::string& value, const char* what, std::string* block) {
  if (value.size() > kMaxValueLength) {
    throw EIBClientError(std::string(what) + " is longer than 255 bytes");
  }
  block->push_back(item);
  block->push_back(static_cast<char>(value.size()));
  block->append(value);
}

}  // namespace

std::string ConnectionParameterBlock(const std::string& user_name, const std::string& password) {
  std::string block(1, isc_dpb_version1);
  AppendItem(isc_dpb_user_name, user_name, "User name", &block);
  AppendItem(isc_dpb_password, password, "Password", &block);
  return block;
}

std::string TransactionParameterBlock() {
  return std::string{isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version,
                     isc_tpb_nowait};
}
