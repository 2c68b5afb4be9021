// The benchmark's floor: what the client library itself costs for a
// "select * from TABLE", with nothing done to the rows.
//
//   floor DATABASE USER PASSWORD TABLE
//
// It makes the same calls with the same parameter blocks as qelt (attach,
// dialect info, isc_start_multiple, prepare in dialect 3, describe, execute,
// cursor name, one isc_dsql_fetch per row), discards every row and, when the
// result has blob columns, reads every blob fully after all rows are fetched
// (open, info, 16384-byte segments, close), as qelt does while it forms the
// lines. Prints the row count and the blob bytes read; exit status 1 on any
// client-library failure.
#include <ibase.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Check(const ISC_STATUS* status, const char* what) {
  if (status[1] == 0) return;
  std::fprintf(stderr, "floor: %s failed\n", what);
  isc_print_status(status);
  std::exit(1);
}

// The descriptor and its data buffers, null indicator first, each 8-aligned.
struct Output {
  std::vector<char> sqlda_storage;
  std::vector<long long> data;
  XSQLDA* sqlda() { return reinterpret_cast<XSQLDA*>(sqlda_storage.data()); }

  void Resize(int n) {
    sqlda_storage.assign(XSQLDA_LENGTH(n), 0);
    sqlda()->version = SQLDA_VERSION1;
    sqlda()->sqln = static_cast<ISC_SHORT>(n);
  }

  void Allocate() {
    XSQLDA* da = sqlda();
    std::vector<size_t> offsets;
    size_t units = 0;
    for (int i = 0; i < da->sqld; ++i) {
      size_t size = static_cast<size_t>(da->sqlvar[i].sqllen);
      if ((da->sqlvar[i].sqltype & ~1) == SQL_VARYING) size += 2;
      offsets.push_back(units);
      units += 1 + (size + 7) / 8;
    }
    data.assign(units == 0 ? 1 : units, 0);
    for (int i = 0; i < da->sqld; ++i) {
      da->sqlvar[i].sqlind = reinterpret_cast<ISC_SHORT*>(&data[offsets[i]]);
      da->sqlvar[i].sqldata = reinterpret_cast<ISC_SCHAR*>(&data[offsets[i] + 1]);
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: floor DATABASE USER PASSWORD TABLE\n");
    return 2;
  }
  const std::string database = argv[1], user = argv[2], password = argv[3];
  const std::string sql = std::string("select * from ") + argv[4];
  ISC_STATUS_ARRAY status;

  // Connection block: version 1, user name, password.
  std::string dpb(1, isc_dpb_version1);
  dpb += static_cast<char>(isc_dpb_user_name);
  dpb += static_cast<char>(user.size());
  dpb += user;
  dpb += static_cast<char>(isc_dpb_password);
  dpb += static_cast<char>(password.size());
  dpb += password;

  isc_db_handle db = 0;
  isc_attach_database(status, static_cast<short>(database.size()), database.c_str(), &db,
                      static_cast<short>(dpb.size()), dpb.data());
  Check(status, "attach");

  const char dialect_item[] = {isc_info_db_sql_dialect};
  char answer[512] = {};
  isc_database_info(status, &db, sizeof dialect_item, dialect_item, sizeof answer, answer);
  Check(status, "database info");

  // Transaction block 3 15 17 7, through isc_start_multiple like qelt.
  const char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version,
                      isc_tpb_nowait};
  struct {
    isc_db_handle* db;
    int tpb_length;
    const char* tpb;
  } teb = {&db, sizeof tpb, tpb};
  isc_tr_handle tr = 0;
  isc_start_multiple(status, &tr, 1, &teb);
  Check(status, "start transaction");

  isc_stmt_handle stmt = 0;
  isc_dsql_alloc_statement2(status, &db, &stmt);
  Check(status, "allocate statement");
  isc_dsql_prepare(status, &tr, &stmt, 0, sql.c_str(), 3, nullptr);
  Check(status, "prepare");

  Output out;
  out.Resize(1);
  isc_dsql_describe(status, &stmt, SQLDA_VERSION1, out.sqlda());
  Check(status, "describe");
  if (out.sqlda()->sqld > out.sqlda()->sqln) {
    int n = out.sqlda()->sqld;
    out.Resize(n);
    isc_dsql_describe(status, &stmt, SQLDA_VERSION1, out.sqlda());
    Check(status, "describe");
  }
  out.Allocate();

  std::vector<int> blob_columns;
  for (int i = 0; i < out.sqlda()->sqld; ++i) {
    if ((out.sqlda()->sqlvar[i].sqltype & ~1) == SQL_BLOB) blob_columns.push_back(i);
  }

  isc_dsql_execute2(status, &tr, &stmt, SQLDA_VERSION1, nullptr, nullptr);
  Check(status, "execute");
  isc_dsql_set_cursor_name(status, &stmt, "00000000", 0);
  Check(status, "cursor name");

  // Blob identifiers are kept until every row is in, like qelt reads them
  // only while it forms the lines after the fetch.
  std::vector<ISC_QUAD> blobs;
  long long rows = 0;
  for (;;) {
    ISC_STATUS answer_code = isc_dsql_fetch(status, &stmt, SQLDA_VERSION1, out.sqlda());
    if (answer_code == 100) break;
    Check(status, "fetch");
    ++rows;
    for (int i : blob_columns) {
      const XSQLVAR& var = out.sqlda()->sqlvar[i];
      if ((var.sqltype & 1) && *var.sqlind == -1) continue;
      ISC_QUAD id;
      std::memcpy(&id, var.sqldata, sizeof id);
      blobs.push_back(id);
    }
  }

  long long blob_bytes = 0;
  std::vector<char> segment(16384);
  for (ISC_QUAD& id : blobs) {
    isc_blob_handle blob = 0;
    isc_open_blob2(status, &db, &tr, &blob, &id, 0, nullptr);
    Check(status, "open blob");
    const char items[] = {isc_info_blob_num_segments, isc_info_blob_max_segment,
                          isc_info_blob_total_length, isc_info_blob_type};
    char info[100] = {};
    isc_blob_info(status, &blob, sizeof items, items, sizeof info, info);
    Check(status, "blob info");
    // Read up to the total length the info gives, as qelt does: asking once
    // more for the end would cost a round trip per blob through a server.
    long long total = -1;
    for (int i = 0; i + 3 <= static_cast<int>(sizeof info) && info[i] != isc_info_end;) {
      short length = static_cast<short>(isc_vax_integer(info + i + 1, 2));
      if (info[i] == isc_info_blob_total_length) {
        total = isc_vax_integer(info + i + 3, length);
        break;
      }
      i += 3 + length;
    }
    long long done = 0;
    while (total < 0 || done < total) {
      unsigned short ask = 16384;
      if (total >= 0 && total - done < ask) ask = static_cast<unsigned short>(total - done);
      unsigned short got = 0;
      ISC_STATUS code = isc_get_segment(status, &blob, &got, ask, segment.data());
      if (code == isc_segstr_eof) break;
      if (code != 0 && code != isc_segment) Check(status, "get segment");
      if (got == 0) break;
      done += got;
    }
    blob_bytes += done;
    isc_close_blob(status, &blob);
    Check(status, "close blob");
  }

  isc_dsql_free_statement(status, &stmt, DSQL_drop);
  Check(status, "free statement");
  isc_commit_transaction(status, &tr);
  Check(status, "commit");
  isc_detach_database(status, &db);
  Check(status, "detach");
  std::printf("%lld rows, %lld blob bytes\n", rows, blob_bytes);
  return 0;
}
