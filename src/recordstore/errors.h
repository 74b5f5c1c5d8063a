// Public header of the record store (README.md lists the others).
//
// Error codes of the record store and the calling thread's last error.
//
// Every operation clears the calling thread's last error when it starts and
// sets it when it ends: 0 for success, else one of the negative codes below.
// A boolean result is true exactly when the last error is 0. Nothing is
// thrown across the record store's interface.
//
// Messages are the fixed Chinese texts of the error table, as GBK bytes; a
// code outside the table has the message of code -1.
//
// One error is not returned but raised: the fatal run-time error of
// readField, which goes to the handler that the program installs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qinghe::recordstore {

namespace error {
inline constexpr int kOk = 0;
inline constexpr int kUnknown = -1;       // an operating-system error without its own code
inline constexpr int kCreateFailed = -2;  // a write to a new main file failed
inline constexpr int kFileNotFound = -3;
inline constexpr int kBadPath = -4;
inline constexpr int kTooManyOpenFiles = -5;
inline constexpr int kAccessDenied = -6;
inline constexpr int kBadHandle = -7;
inline constexpr int kCurrentDirectory = -8;
inline constexpr int kDirectoryFull = -9;
inline constexpr int kSeekFailed = -10;  // also: a record position beyond the end of the file
inline constexpr int kHardwareError = -11;
inline constexpr int kSharingViolation = -12;
inline constexpr int kLockViolation = -13;
inline constexpr int kDiskFull = -14;
inline constexpr int kEndOfFile = -15;
inline constexpr int kNoFields = -16;
inline constexpr int kBadFieldType = -17;
inline constexpr int kBadFieldName = -18;
inline constexpr int kBadFieldSize = -19;
inline constexpr int kDuplicateFieldName = -20;
inline constexpr int kOpenFailed = -21;
inline constexpr int kNotATable = -22;
inline constexpr int kVersionTooHigh = -23;
inline constexpr int kBadAlias = -24;
inline constexpr int kBeforeFirstRecord = -25;
inline constexpr int kAfterLastRecord = -26;
inline constexpr int kLockFailed = -28;
inline constexpr int kUnlockFailed = -29;
inline constexpr int kIndexOpenFailed = -30;
inline constexpr int kAuxReadFailed = -35;
inline constexpr int kAuxVersionMismatch = -36;
inline constexpr int kAuxDamaged = -37;
inline constexpr int kAlreadyOpen = -38;
inline constexpr int kFieldNotFound = -40;  // a field to copy that the table does not have
inline constexpr int kFieldReadFailed = -46;
inline constexpr int kFileSizeWrong = -48;
inline constexpr int kOutOfMemory = -55;  // an allocation failed
inline constexpr int kAuxCreateFailed = -50;
inline constexpr int kAuxAccessFailed = -59;  // also: a broken or cyclic block chain
inline constexpr int kNoCurrentRecord = -60;
inline constexpr int kNoSuchField = -61;
inline constexpr int kRecordReadFailed = -62;
inline constexpr int kRecordWriteFailed = -63;
inline constexpr int kCountUnreadable = -65;
inline constexpr int kNoCurrentTable = -67;
inline constexpr int kBadKeyField = -71;  // a sort key that is missing or a memo or byte array
inline constexpr int kValueTypeMismatch = -72;
inline constexpr int kExpressionFailed = -75;
inline constexpr int kWrongPassword = -78;
inline constexpr int kRekeyFailed = -79;
inline constexpr int kBadPasswordText = -80;  // the password "?"
}  // namespace error

// The GBK message of a code: empty for 0, "未知错误" for a code outside the table.
const std::string& errorMessage(int code);

// The calling thread's last error code and its message.
int lastError();
const std::string& lastErrorMessage();

// The code of an operating-system error (-errno): -3 file not found, -4 bad
// path, -5 too many open files, -6 access denied, -7 bad handle, -10 seek
// failed, -11 hardware error, -13 lock violation, -14 disk full, -22 not a
// regular file (platform/file_system.h), -1 anything else.
int fileErrorCode(std::int64_t negativeErrno);

// The GBK message of fileErrorCode(negativeErrno): what the person reads in
// place of the system's own (English) text, e.g. "指定文件不能被访问" for EACCES.
const std::string& fileErrorMessage(std::int64_t negativeErrno);

// The fatal run-time error of readField: code -67 with the message
// "未指定当前数据库或者指定数据库未打开", or -61 "指定字段不存在" (GBK).
struct FatalError {
    int code = 0;
    std::string message;
};
using FatalErrorHandler = std::function<void(const FatalError&)>;

// Installs the handler of the fatal run-time error and returns the previous
// one. The default writes the message to stderr and ends the process with
// exit status -1. A handler that returns lets readField return the zero value
// (an int 0 when there is no field to give a type) with the code as the last
// error.
FatalErrorHandler setFatalErrorHandler(FatalErrorHandler handler);

// Sets the calling thread's last error. For the record store's own
// operations; a caller has no reason to use it.
void setLastError(int code);

}  // namespace qinghe::recordstore
