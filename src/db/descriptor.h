// An XSQLDA with its variables' value buffers, as the describe calls fill it.
//
//   Descriptor d;
//   d.Resize(n);               room for n variables (sqln = n)
//   describe call on d.get()
//   if (d.get()->sqld > n) { d.Resize(sqld); describe again }
//   d.AllocateBuffers();       a zero-filled data buffer and a null
//                              indicator (0: not null) for each variable
#ifndef QELT_DB_DESCRIPTOR_H_
#define QELT_DB_DESCRIPTOR_H_

#include <ibase.h>

#include <memory>
#include <vector>

class Descriptor {
 public:
  void Resize(int variables);
  void AllocateBuffers();
  void Clear();

  XSQLDA* get() { return sqlda_; }
  const XSQLDA* get() const { return sqlda_; }
  // The described variables: sqld of them, or none before a describe.
  int count() const { return sqlda_ ? sqlda_->sqld : 0; }
  XSQLVAR& operator[](int i) { return sqlda_->sqlvar[i]; }
  const XSQLVAR& operator[](int i) const { return sqlda_->sqlvar[i]; }

 private:
  std::vector<max_align_t> storage_;
  XSQLDA* sqlda_ = nullptr;
  std::vector<max_align_t> buffers_;
};

#endif  // QELT_DB_DESCRIPTOR_H_
