// The registry of open tables: create, open, close, and the fatal error.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/gbk.h"
#include "recordstore/aux_file.h"
#include "recordstore/cipher.h"
#include "recordstore/errors.h"
#include "recordstore/names.h"
#include "recordstore/record_counts.h"
#include "recordstore/record_store.h"
#include "recordstore/replace_file.h"
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

// The check string at header offset 28 against a candidate password; the
// cipher of the password when it matches.
std::shared_ptr<Cipher> cipherIfMatches(const std::array<std::uint8_t, kHeaderSize>& raw,
                                        std::string_view password) {
    if (password.empty()) return nullptr;
    auto cipher = std::make_shared<Cipher>(password);
    std::array<std::uint8_t, kPasswordCheckSize> check;
    std::copy_n(raw.begin() + kPasswordCheckOffset, check.size(), check.begin());
    cipher->apply(kPasswordCheckOffset, check);
    auto end = std::find(check.begin(), check.end(), 0);
    std::string_view stored(reinterpret_cast<const char*>(check.data()),
                            static_cast<std::size_t>(end - check.begin()));
    return sameName(stored, cipher->checkString()) ? cipher : nullptr;
}

void wipe(std::string& secret) {
    std::fill(secret.begin(), secret.end(), ' ');
}

}  // namespace

FatalErrorHandler setFatalErrorHandler(FatalErrorHandler handler) {
    FatalErrorHandler previous = std::move(fatalHandler());
    fatalHandler() = std::move(handler);
    return previous;
}

void raiseFatalError(int code, const std::string& message) {
    setLastError(code);
    if (const auto& handler = fatalHandler()) handler({code, message});
}

Registry::Registry(FileSystem& fs, Clock& clock) : fs_(fs), clock_(clock) {}

Registry::~Registry() = default;

Registry& registry() {
    static Registry r;
    return r;
}

OpenTable* Registry::current() {
    return current_;
}

void Registry::fail(int code) {
    setLastError(code);
}

std::int64_t Registry::position() const {
    return current_ ? current_->position : 0;
}

bool Registry::createTable(std::string_view file, std::span<const FieldSpec> fields) {
    setLastError(error::kOk);
    if (file.empty()) return fail(error::kFileNotFound), false;
    Layout layout;
    if (int code = layoutFromSpecs(fields, layout); code != error::kOk) return fail(code), false;
    auto disk = toDiskPath(file);
    if (!disk) return fail(error::kBadPath), false;
    std::string path =
        resolveIgnoringCase(fs_, absolutePath(withDefaultExtension(*disk), fs_.currentDirectory()));

    // A table that some open holds is not replaced under it.
    TableFile guard(fs_, clock_);
    if (int code = guard.open(path, false, false, ShareMode::Exclusive);
        code != error::kOk && code != error::kFileNotFound) {
        return fail(code), false;
    }
    double created = clock_.now();
    auto mainBytes = encodeMainFile(layout, created);
    if (int code = writeReplacing(fs_, clock_, path, mainBytes, error::kCreateFailed);
        code != error::kOk) {
        return fail(code), false;
    }
    if (hasChainedField(layout)) {
        std::string auxPath = resolveIgnoringCase(fs_, auxiliaryPath(path));
        auto auxBytes = AuxFile::newFileBytes(kVersion, created);
        if (writeReplacing(fs_, clock_, auxPath, auxBytes, error::kAuxCreateFailed) != error::kOk) {
            return fail(error::kAuxCreateFailed), false;
        }
    }
    return true;
}

bool Registry::openTable(std::string_view file, std::string_view alias, bool readOnly,
                         int shareMode, std::string_view password,
                         std::span<const std::string> indexFiles) {
    setLastError(error::kOk);
    if (file.empty()) return fail(error::kFileNotFound), false;
    if (!alias.empty() && !isValidName(alias, false)) return fail(error::kBadAlias), false;
    if (!indexFiles.empty()) return fail(error::kIndexOpenFailed), false;
    auto disk = toDiskPath(file);
    if (!disk) return fail(error::kBadPath), false;
    std::string path = absolutePath(withDefaultExtension(*disk), fs_.currentDirectory());
    auto isOpen = [&](const std::string& p) {
        return std::any_of(tables_.begin(), tables_.end(),
                           [&](const auto& t) { return samePath(t->path, p); });
    };
    if (isOpen(path)) return fail(error::kAlreadyOpen), false;

    auto table = std::make_unique<OpenTable>(fs_, clock_);
    OpenTable& t = *table;
    ShareMode share = shareModeOf(shareMode);
    int code = t.main.open(path, !readOnly, false, share);
    if (code == error::kFileNotFound) {
        std::string resolved = resolveIgnoringCase(fs_, path);
        if (resolved != path) {
            path = resolved;
            code = t.main.open(path, !readOnly, false, share);
        }
    }
    if (code != error::kOk) return fail(code), false;
    // An operation that died part-way left its undo log: it is applied first,
    // so that everything below sees the table whole.
    if (undoLogExists(fs_, path)) {
        t.main.close();
        if (code = recoverTable(fs_, clock_, path); code != error::kOk) return fail(code), false;
        if (code = t.main.open(path, !readOnly, false, share); code != error::kOk) {
            return fail(code), false;
        }
    }
    if (t.main.identify(t.id) != error::kOk) return fail(error::kOpenFailed), false;
    for (const auto& other : tables_) {
        if (other->id == t.id) return fail(error::kAlreadyOpen), false;
    }

    // The magic and the password, before any lock is taken: the user may
    // take a while to answer the prompt.
    std::array<std::uint8_t, kHeaderSize> raw;
    std::int64_t got = t.main.read(0, raw);
    if (got < 0) return fail(error::kOpenFailed), false;
    if (static_cast<std::size_t>(got) < kHeaderSize) return fail(error::kNotATable), false;
    bool ciphered = std::equal(kCipheredMagic.begin(), kCipheredMagic.end(), raw.begin());
    if (!ciphered && !std::equal(kPlainMagic.begin(), kPlainMagic.end(), raw.begin())) {
        return fail(error::kNotATable), false;
    }
    bool asking = password == "?";
    std::shared_ptr<Cipher> cipher;
    if (!ciphered) {
        if (!password.empty() && !asking) return fail(error::kWrongPassword), false;
    } else if (!asking) {
        cipher = cipherIfMatches(raw, password);
        if (!cipher) return fail(error::kWrongPassword), false;
    } else {
        for (int tried = 0; tried < kPasswordAttempts && !cipher; ++tried) {
            std::optional<std::string> typed;
            if (prompt_) typed = prompt_->ask(kPasswordAttempts - tried);
            if (!typed) break;
            cipher = cipherIfMatches(raw, *typed);
            wipe(*typed);
        }
        if (!cipher) return fail(error::kWrongPassword), false;
    }
    t.main.setCiphers(cipher, cipher);

    // Checked and repaired under the whole-table lock (shared when read-only).
    WholeLock mainLock(t.main);
    if (code = mainLock.lock(); code != error::kOk) return fail(code), false;
    if (t.main.readExact(0, t.header, error::kNotATable) != error::kOk) {
        return fail(error::kOpenFailed), false;
    }
    if (std::equal(kCipheredMagic.begin(), kCipheredMagic.end(), t.header.begin()) != ciphered) {
        return fail(error::kWrongPassword), false;  // re-keyed meanwhile
    }
    const std::uint8_t* h = t.header.data();
    std::int32_t recordLength = loadI32(h + kRecordLengthOffset);
    std::int32_t count = loadI32(h + kCountOffset);
    if (recordLength <= 0 || count < 0 || loadI32(h + kNextNumberOffset) < 1) {
        return fail(error::kNotATable), false;
    }
    if (loadI32(h + kVersionOffset) > kVersion) return fail(error::kVersionTooHigh), false;
    std::int64_t size = t.main.size();
    if (size < 0) return fail(error::kOpenFailed), false;
    std::array<std::uint8_t, 4> countBytes;
    if (t.main.readExact(kFieldCountOffset, countBytes, error::kNotATable) != error::kOk) {
        return fail(error::kNotATable), false;
    }
    std::int32_t fieldCount = loadI32(countBytes.data());
    // The descriptors must lie in the file, which also bounds what is read.
    if (fieldCount <= 0 || dataOffset(fieldCount) > size) return fail(error::kNotATable), false;
    std::vector<std::uint8_t> descriptors(static_cast<std::size_t>(fieldCount) * kDescriptorSize);
    if (t.main.readExact(kDescriptorsOffset, descriptors, error::kNotATable) != error::kOk) {
        return fail(error::kNotATable), false;
    }
    if (code = decodeDescriptors(descriptors, fieldCount, recordLength, t.layout);
        code != error::kOk) {
        return fail(code), false;
    }
    std::int64_t whole = (size - t.layout.dataOffset) / recordLength;
    if (whole < count) {
        if (readOnly) return fail(error::kFileSizeWrong), false;
        count = static_cast<std::int32_t>(whole);
        storeI32(&t.header[kCountOffset], count);
        if (t.main.write(kCountOffset, std::span(t.header).subspan(kCountOffset, 4)) !=
            error::kOk) {
            return fail(error::kOpenFailed), false;
        }
    }
    if (!readOnly && size > t.recordOffset(count)) {
        if (t.main.truncate(t.recordOffset(count)) != error::kOk) {
            return fail(error::kOpenFailed), false;
        }
    }

    if (hasChainedField(t.layout)) {
        std::string auxPath = auxiliaryPath(path);
        code = t.auxFile.open(auxPath, !readOnly, false, share);
        if (code == error::kFileNotFound) {
            auxPath = resolveIgnoringCase(fs_, auxPath);
            code = t.auxFile.open(auxPath, !readOnly, false, share);
        }
        if (code != error::kOk) return fail(error::kAuxReadFailed), false;
        t.auxFile.setCiphers(cipher, cipher);
        WholeLock auxLock(t.auxFile);
        if (auxLock.lock() != error::kOk) return fail(error::kAuxReadFailed), false;
        code = AuxFile(t.auxFile).checkOnOpen(loadI32(h + kVersionOffset), readOnly);
        if (code != error::kOk) return fail(code), false;
    }

    t.path = path;
    auto title = gbk::fromUtf8(fileTitle(path));
    t.title = title.ok ? title.text : std::string();
    t.alias = alias;
    t.readOnly = readOnly;
    for (const auto& field : t.layout.fields) t.foldedNames.push_back(foldName(field.name));
    t.position = 0;
    tables_.push_back(std::move(table));
    current_ = tables_.back().get();
    return true;
}

void Registry::closeTable(std::optional<std::string_view> name) {
    setLastError(error::kOk);
    auto found = tables_.end();
    if (!name) {
        found = std::find_if(tables_.begin(), tables_.end(),
                             [&](const auto& t) { return t.get() == current_; });
    } else {
        auto search = [&](auto matches) {
            auto r = std::find_if(tables_.rbegin(), tables_.rend(), matches);
            return r == tables_.rend() ? tables_.end() : std::prev(r.base());
        };
        found =
            search([&](const auto& t) { return !t->alias.empty() && sameName(t->alias, *name); });
        if (found == tables_.end()) {
            found = search([&](const auto& t) { return sameName(t->title, *name); });
        }
        if (found == tables_.end()) {
            if (auto disk = toDiskPath(*name)) {
                std::string path = absolutePath(*disk, fs_.currentDirectory());
                found = search([&](const auto& t) { return samePath(t->path, path); });
            }
        }
    }
    if (found == tables_.end()) return;
    if (found->get() == current_) current_ = nullptr;
    tables_.erase(found);  // closing the files lets go of their locks
}

std::optional<TableInfo> Registry::currentTableInfo() {
    setLastError(error::kOk);
    OpenTable* t = current();
    if (!t) return fail(error::kNoCurrentTable), std::nullopt;
    TableInfo info;
    info.enciphered = t->main.enciphered();
    info.version = loadI32(&t->header[kVersionOffset]);
    info.created = loadDouble(&t->header[kCreatedOffset]);
    info.recordLength = t->layout.recordLength;
    info.dataOffset = t->layout.dataOffset;
    info.fields = t->layout.fields;
    info.path = t->path;
    ByteLock countLock(t->main, kCountOffset);
    if (int code = countLock.lock(LockKind::Shared); code != error::kOk) {
        return fail(code), std::nullopt;
    }
    RecordCounts counts;
    if (int code = readCounts(t->main, counts); code != error::kOk) {
        return fail(code), std::nullopt;
    }
    info.count = counts.count;
    info.nextNumber = counts.next;
    return info;
}

}  // namespace qinghe::recordstore
