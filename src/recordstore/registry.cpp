// The registry of open tables: create, open, close, and the fatal error.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "common/gbk.h"
#include "platform/paths.h"
#include "platform/whole_file.h"
#include "recordstore/aux_file.h"
#include "recordstore/names.h"
#include "recordstore/open_checks.h"
#include "recordstore/record_counts.h"
#include "recordstore/record_store.h"
#include "recordstore/side_files.h"
#include "recordstore/table.h"
#include "recordstore/table_locks.h"
#include "recordstore/undo_log.h"

namespace qinghe::recordstore {
namespace {

using namespace format;

FatalErrorHandler& fatalHandler() {
    static FatalErrorHandler handler = [](const FatalError& e) {
        std::string text = gbk::toUtf8(e.message);
        std::fprintf(stderr, "运行时出错!\n\n错误代码：%d\n\n错误信息：%s\n", e.code, text.c_str());
        std::exit(-1);
    };
    return handler;
}

// Opens of one table that may find the file they opened replaced before
// their locks (openWholeTable): each time another process has just moved a
// new file into place, which takes it far longer than an open.
constexpr int kReopenAttempts = 16;

void wipe(std::string& secret) {
    std::fill(secret.begin(), secret.end(), ' ');
}

// The main file that a table name names (-4 when the name is not GBK).
Status tablePath(platform::FileSystem& fs, std::string_view file, std::string& path) {
    auto found = tableFilePath(fs, file);
    if (!found) return Status::fail(error::kBadPath);
    path = std::move(*found);
    return {};
}

// Replaces the file at `path` with `bytes` (platform/whole_file.h): a failure
// once the temporary exists is the file error, or `writeFailure` when the
// system gave none that the error table knows; one of taking a temporary name
// -2 when every name tried was taken, else the file error.
Status replaceWith(platform::FileSystem& fs, const std::string& path,
                   std::span<const std::uint8_t> bytes, int writeFailure) {
    const platform::Replaced replaced = platform::writeReplacing(fs, path, bytes);
    switch (replaced.failedAt) {
        case platform::ReplaceStep::None:
            return {};
        case platform::ReplaceStep::Write:
            // The system's reason when it has one (a full disk: -14).
            if (fileErrorCode(replaced.error) != error::kUnknown) {
                return Status::fromErrno(replaced.error);
            }
            return Status::fail(writeFailure);
        case platform::ReplaceStep::Create:
            if (replaced.error == -EEXIST) return Status::fail(error::kCreateFailed);
            break;
        case platform::ReplaceStep::Move:
        case platform::ReplaceStep::Flush:
            break;
    }
    return Status::fromErrno(replaced.error);
}

// Writes the files of a new empty table, each beside the old one and renamed
// over it.
Status createFiles(platform::FileSystem& fs, Clock& clock, const std::string& path,
                   const Layout& layout) {
    // A table that some open holds is not replaced under it.
    TableFile guard(fs, clock);
    if (Status status = guard.open(path, false, false, ShareMode::Exclusive);
        !status.ok() && !status.is(error::kFileNotFound)) {
        return status;
    }
    const double created = clock.now();
    if (Status status =
            replaceWith(fs, path, encodeMainFile(layout, created), error::kCreateFailed);
        !status.ok()) {
        return status;
    }
    if (!hasChainedField(layout)) return {};
    std::string auxPath = platform::resolveIgnoringCase(fs, auxiliaryPath(path));
    if (!replaceWith(fs, auxPath, AuxFile::newFileBytes(kVersion, created), error::kAuxCreateFailed)
             .ok()) {
        return Status::fail(error::kAuxCreateFailed);
    }
    return {};
}

// Opens the main file in the open's mode, through links, its name matched
// without regard to case when it is not found as given (`path` then names
// the file found, see tableFileOnDisk).
Status openMainFile(OpenTable& t, std::string& path, bool readOnly, ShareMode share) {
    path = throughLinks(t.fs, path);
    Status status = t.main.open(path, !readOnly, false, share);
    if (status.is(error::kFileNotFound)) {
        std::string resolved = tableFileOnDisk(t.fs, path);
        if (resolved != path) {
            path = resolved;
            status = t.main.open(path, !readOnly, false, share);
        }
    }
    return status;
}

// Whether `path` still names the file that the table holds open. Between
// the open of a path and the open's locks, another process may move a new
// file into its place (a sort of the table into itself, a copy or a create
// over it); once the locks are held on the file that is still in place, no
// such replacement can begin until the table is closed.
bool stillInPlace(OpenTable& t, const std::string& path) {
    platform::FileId held;
    platform::FileId named;
    return t.main.identify(held).ok() && t.fs.identifyEntry(path, named) == 0 && held == named;
}

// Opens the main file whole: once its whole-table lock is held (waiting for a
// pack or re-key under way as any lock waits), an undo log there was left by
// a writer that died, and it is applied before anything of the table is
// read; when its renames replaced the main file, the new one is opened. So
// is the file in place when the one opened was replaced before the locks
// were taken (whatever was written to that one would be lost): up to
// kReopenAttempts opens, then -12 as for an open that meets another's hold.
Status openWholeTable(OpenTable& t, std::string& path, bool readOnly, ShareMode share) {
    for (int attempt = 0; attempt < kReopenAttempts; ++attempt) {
        if (Status status = openMainFile(t, path, readOnly, share); !status.ok()) return status;
        bool replaced = false;
        {
            WholeLock lock(t.main);
            if (Status status = lock.lock(); !status.ok()) return status;
            if (Status status = recoverUnderLock(t.fs, t.clock, path, t.main, readOnly, replaced);
                !status.ok()) {
                return status;
            }
            if (!replaced && stillInPlace(t, path)) return {};
        }
        t.main.close();
    }
    return Status::fail(error::kSharingViolation);
}

// The password to check: the given one; for "?" on an enciphered table the
// first one typed into the prompt that opens it (up to three tries; each
// other typed text is wiped), or none when the user cancels.
std::string passwordToTry(const MainFacts& facts, std::string_view password,
                          PasswordPrompt* prompt) {
    if (password != "?") return std::string(password);
    if (!facts.enciphered) return {};
    for (int tried = 0; tried < kPasswordAttempts && prompt; ++tried) {
        std::optional<std::string> typed = prompt->ask(kPasswordAttempts - tried);
        if (!typed) break;
        if (cipherIfMatches(facts.header, *typed)) return std::move(*typed);
        wipe(*typed);
    }
    return {};
}

// The checks of the auxiliary file under its whole-table lock, and the repair
// of an open for writing.
Status checkAuxiliary(OpenTable& t, const std::string& path, bool readOnly, ShareMode share,
                      std::int32_t mainVersion, Findings& findings) {
    if (!openAuxFile(t.auxFile, path, !readOnly, share, findings)) return findings.failure();
    t.auxFile.setCiphers(t.main.readCipher(), t.main.writeCipher());
    WholeLock lock(t.auxFile);
    if (!lock.lock().ok()) return Status::fail(error::kAuxReadFailed);
    AuxFacts facts;
    if (!checkAuxFile(t.auxFile, mainVersion, facts, findings)) return findings.failure();
    return readOnly ? Status() : repairAuxBlocks(t.auxFile, facts);
}

// The checks of an open in the format's order (open_checks.h), stopping at
// the first that refuses; then the repairs of an open for writing, noting in
// `dropped` the counted records that the file did not hold whole (on disk
// whatever follows). The magic and the password are read without a lock
// (the user may take a while to answer the prompt), after openWholeTable
// made the table whole. The rest is checked and repaired under the
// whole-table lock (shared when read-only), taken again.
Status checkFiles(OpenTable& t, const std::string& path, bool readOnly, ShareMode share,
                  std::string_view password, PasswordPrompt* prompt,
                  std::vector<DroppedRecords>& dropped) {
    Findings findings = Findings::forOpen(readOnly);
    MainFacts facts;
    if (!checkMagic(t.main, facts, findings)) return findings.failure();
    std::string tried = passwordToTry(facts, password, prompt);
    std::shared_ptr<Cipher> cipher;
    const bool opens = checkPassword(facts, tried, cipher, findings);
    wipe(tried);
    if (!opens || findings.refused()) return findings.failure();
    t.main.setCiphers(cipher, cipher);

    WholeLock lock(t.main);
    if (Status status = lock.lock(); !status.ok()) return status;
    // A pack that started after the first look and died since left its log;
    // a replacing one cannot have started meanwhile (this open is registered).
    bool replaced = false;
    if (Status status = recoverUnderLock(t.fs, t.clock, path, t.main, readOnly, replaced);
        !status.ok()) {
        return status;
    }
    if (replaced) return Status::fail(error::kOpenFailed);
    if (!checkMainFile(t.main, facts, findings)) return findings.failure();
    if (!readOnly) {
        std::int32_t cut = 0;
        const Status repaired = repairRecordArea(t.main, facts, cut);
        if (cut > 0) dropped.push_back({path, cut});
        if (!repaired.ok()) return repaired;
    }
    t.header = facts.header;
    t.layout = std::move(facts.layout);
    if (!hasChainedField(t.layout)) return {};
    return checkAuxiliary(t, path, readOnly, share, facts.version(), findings);
}

// Flushes what was written to the table's files. What was written is
// durable only when its flush succeeds: a failed one is the close's failure
// (the table is closed all the same).
Status flushWritten(OpenTable& t) {
    Status flushed = t.main.flushWritten();
    if (t.hasAux()) {
        Status auxFlushed = t.auxFile.flushWritten();
        if (flushed.ok()) flushed = auxFlushed;
    }
    return flushed;
}

}  // namespace

FatalErrorHandler setFatalErrorHandler(FatalErrorHandler handler) {
    FatalErrorHandler previous = std::move(fatalHandler());
    fatalHandler() = std::move(handler);
    return previous;
}

Status raiseFatalError(int code, const std::string& message) {
    setLastError(code);
    if (const auto& handler = fatalHandler()) handler({code, message});
    return Status::fail(code);
}

int OpenTable::fieldNumber(std::string_view name) const {
    auto it = std::find(foldedNames.begin(), foldedNames.end(), foldName(name));
    return it == foldedNames.end() ? 0 : static_cast<int>(it - foldedNames.begin()) + 1;
}

Status requireWritable(OpenTable& table) {
    if (table.readOnly) return Status::fail(error::kAccessDenied);
    table.ahead.drop();  // what was read ahead may change
    return {};
}

Registry::Registry(platform::FileSystem& fs, Clock& clock) : fs_(fs), clock_(clock) {}

Registry::~Registry() = default;

Registry& registry() {
    static Registry r;
    return r;
}

std::int64_t Registry::position() const {
    return current_ ? current_->position : 0;
}

bool Registry::createTable(std::string_view file, std::span<const FieldSpec> fields) {
    return report([&]() -> Status {
        if (file.empty()) return Status::fail(error::kFileNotFound);
        Layout layout;
        if (Status status = layoutFromSpecs(fields, layout); !status.ok()) return status;
        std::string path;
        if (Status status = tablePath(fs_, file, path); !status.ok()) return status;
        path = tableFileOnDisk(fs_, path);
        if (isSideFileName(path)) return Status::fail(error::kBadPath);
        if (hasChainedField(layout)) {
            if (Status status = refuseSharedAuxiliary(fs_, path); !status.ok()) return status;
        }
        // The table it replaces is made whole first: a log of its interrupted
        // operation would otherwise be applied to the new files, and a create
        // that fails leaves the old table as it was.
        if (Status status = recoverTable(fs_, clock_, path); !status.ok()) return status;
        removeStaleTemporaries(fs_, path);
        return createFiles(fs_, clock_, path, layout);
    });
}

bool Registry::openTable(std::string_view file, std::string_view alias, bool readOnly,
                         int shareMode, std::string_view password,
                         std::span<const std::string> indexFiles) {
    auto isOpen = [&](auto matches) {
        return std::any_of(tables_.begin(), tables_.end(), matches);
    };
    return report([&]() -> Status {
        if (file.empty()) return Status::fail(error::kFileNotFound);
        if (!alias.empty() && !isValidName(alias, false)) return Status::fail(error::kBadAlias);
        if (!indexFiles.empty()) return Status::fail(error::kIndexOpenFailed);
        std::string path;
        if (Status status = tablePath(fs_, file, path); !status.ok()) return status;
        if (isOpen([&](const auto& t) { return platform::samePath(t->path, path); })) {
            return Status::fail(error::kAlreadyOpen);
        }
        auto table = std::make_unique<OpenTable>(fs_, clock_);
        OpenTable& t = *table;
        const ShareMode share = shareModeOf(shareMode);
        if (Status status = openWholeTable(t, path, readOnly, share); !status.ok()) return status;
        if (!t.main.identify(t.id).ok()) return Status::fail(error::kOpenFailed);
        if (isOpen([&](const auto& other) { return other->id == t.id; })) {
            return Status::fail(error::kAlreadyOpen);
        }
        if (Status status = checkFiles(t, path, readOnly, share, password, prompt_, dropped_);
            !status.ok()) {
            return status;
        }
        // The table is whole: what interrupted writers left beside it goes.
        if (!readOnly) removeStaleTemporaries(fs_, path);
        t.path = path;
        auto title = gbk::fromUtf8(fileTitle(path));
        t.title = title.ok ? title.text : std::string();
        t.alias = alias;
        t.readOnly = readOnly;
        t.share = share;
        for (const auto& field : t.layout.fields) t.foldedNames.push_back(foldName(field.name));
        t.position = 0;
        tables_.push_back(std::move(table));
        current_ = tables_.back().get();
        return {};
    });
}

void Registry::closeTable(std::optional<std::string_view> name) {
    report([&]() -> Status {
        auto found = tables_.end();
        if (!name) {
            found = std::find_if(tables_.begin(), tables_.end(),
                                 [&](const auto& t) { return t.get() == current_; });
        } else {
            auto search = [&](auto matches) {
                auto r = std::find_if(tables_.rbegin(), tables_.rend(), matches);
                return r == tables_.rend() ? tables_.end() : std::prev(r.base());
            };
            found = search(
                [&](const auto& t) { return !t->alias.empty() && sameName(t->alias, *name); });
            if (found == tables_.end()) {
                found = search([&](const auto& t) { return sameName(t->title, *name); });
            }
            if (found == tables_.end()) {
                if (auto disk = toDiskPath(*name)) {
                    std::string path = platform::absolutePath(*disk, fs_.currentDirectory());
                    found =
                        search([&](const auto& t) { return platform::samePath(t->path, path); });
                }
            }
        }
        if (found == tables_.end()) return {};
        if (found->get() == current_) current_ = nullptr;
        Status flushed = flushWritten(**found);
        tables_.erase(found);  // closing the files lets go of their locks
        return flushed;
    });
}

std::vector<DroppedRecords> Registry::takeDroppedRecords() {
    return std::exchange(dropped_, {});
}

std::optional<TableInfo> Registry::currentTableInfo() {
    std::optional<TableInfo> info;
    reportOn(current_, Access::Read, [&](OpenTable& t) -> Status {
        ByteLock countLock(t.main, kCountOffset);
        if (Status status = countLock.lock(platform::LockKind::Shared); !status.ok()) return status;
        RecordCounts counts;
        if (Status status = readCounts(t.main, counts); !status.ok()) return status;
        info = TableInfo{t.main.enciphered(),
                         loadI32(&t.header[kVersionOffset]),
                         loadDouble(&t.header[kCreatedOffset]),
                         counts.count,
                         counts.next,
                         t.layout.recordLength,
                         t.layout.dataOffset,
                         t.layout.fields,
                         t.path};
        return {};
    });
    return info;
}

}  // namespace qinghe::recordstore
