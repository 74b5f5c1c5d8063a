// The result of the record store's internal steps, and how a public
// operation reports it.
//
// A Status is success or one code of the error table (errors.h). It cannot
// be dropped ([[nodiscard]]) and is never an int: a code is made on purpose,
// by naming it (Status::fail(error::kDiskFull)) or by mapping an
// operating-system error (Status::fromErrno(-errno)), so that a negated errno
// can never pass for a code of the table, nor the other way round.
#pragma once

#include <cstdint>
#include <new>
#include <utility>

#include "recordstore/errors.h"

namespace qinghe::recordstore {

class [[nodiscard]] Status {
  public:
    constexpr Status() = default;  // success
    // A code of the error table (negative).
    static constexpr Status fail(int code) { return Status(code); }
    // The result of a public function of the record store: 0 or a code.
    static constexpr Status fromCode(int code) { return Status(code); }
    // The code of an operating-system error (-errno), see fileErrorCode.
    static Status fromErrno(std::int64_t negativeErrno) {
        return Status(fileErrorCode(negativeErrno));
    }

    constexpr bool ok() const { return code_ == error::kOk; }
    constexpr bool is(int code) const { return code_ == code; }
    constexpr int code() const { return code_; }

  private:
    constexpr explicit Status(int code) : code_(code) {}
    int code_ = error::kOk;
};

// Runs one public operation: the calling thread's last error is cleared,
// `body` runs, and the Status it returns becomes the last error. True when
// that is success. Every operation of the registry reports through here.
//
// An allocation that fails is the operation's failure (-55), never an abort:
// the locks and files it holds are let go as its steps unwind, and what it
// had changed is as a failure at that step leaves it.
template <typename Body>
bool report(Body&& body) {
    setLastError(error::kOk);
    Status status;
    try {
        status = std::forward<Body>(body)();
    } catch (const std::bad_alloc&) {
        status = Status::fail(error::kOutOfMemory);
    }
    setLastError(status.code());
    return status.ok();
}

}  // namespace qinghe::recordstore
