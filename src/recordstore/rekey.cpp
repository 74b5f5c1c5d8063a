// setPassword: re-enciphering a table in place under its undo log.
#include <algorithm>
#include <array>

#include "recordstore/errors.h"
#include "recordstore/record_store.h"
#include "recordstore/table.h"
#include "recordstore/table_locks.h"
#include "recordstore/undo_log.h"

namespace qinghe::recordstore {
namespace {

using namespace format;

// Re-enciphering reads and writes pieces of this many bytes.
constexpr std::size_t kRekeyPieceSize = 10240;

bool sameKey(const std::shared_ptr<Cipher>& a, const std::shared_ptr<Cipher>& b) {
    if (!a || !b) return !a && !b;
    return a->checkString() == b->checkString();
}

// Reads every piece from offset 4 with the file's read cipher and writes it
// back with its write cipher.
int reencipher(TableFile& file, std::vector<std::uint8_t>& piece) {
    std::int64_t size = file.size();
    if (size < 0) return static_cast<int>(size);
    for (auto at = static_cast<std::int64_t>(kCipherStart); at < size;) {
        auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(kRekeyPieceSize), size - at));
        auto span = std::span(piece).first(n);
        if (int code = file.readExact(at, span, error::kRecordReadFailed); code != error::kOk) {
            return code;
        }
        if (int code = file.write(at, span); code != error::kOk) return code;
        at += static_cast<std::int64_t>(n);
    }
    return error::kOk;
}

}  // namespace

bool Registry::setPassword(std::string_view password) {
    setLastError(error::kOk);
    if (!current()) return fail(error::kNoCurrentTable), false;
    if (password == "?") return fail(error::kBadPasswordText), false;
    OpenTable* t = tableForWriting();
    if (!t) return false;
    WholeLock lock(t->main);
    if (int code = lock.lock(); code != error::kOk) return fail(code), false;

    std::shared_ptr<Cipher> oldKey = t->main.readCipher();
    std::shared_ptr<Cipher> newKey =
        password.empty() ? nullptr : std::make_shared<Cipher>(password);
    std::vector<TableFile*> files = {&t->main};
    if (t->hasAux()) files.push_back(&t->auxFile);
    auto useKeys = [&](const std::shared_ptr<Cipher>& read, const std::shared_ptr<Cipher>& write) {
        for (TableFile* f : files) f->setCiphers(read, write);
    };

    UndoLog undo(fs_, clock_, t->path);
    bool rekeying = !sameKey(oldKey, newKey);
    if (rekeying) {
        for (TableFile* f : files) {
            TablePart part = f == &t->main ? TablePart::Main : TablePart::Aux;
            if (undo.saveLength(part, *f) != error::kOk ||
                undo.saveRange(part, *f, 0, INT64_MAX) != error::kOk) {
                return fail(error::kRekeyFailed), false;
            }
        }
        if (undo.commit() != error::kOk) return fail(error::kRekeyFailed), false;
    }

    std::array<std::uint8_t, kPasswordCheckWriteSize> check{};
    if (newKey)
        std::copy(newKey->checkString().begin(), newKey->checkString().end(), check.begin());
    const auto& magic = newKey ? kCipheredMagic : kPlainMagic;
    useKeys(oldKey, newKey);
    int code = error::kOk;
    std::vector<std::uint8_t> piece(kRekeyPieceSize);
    for (TableFile* f : files) {
        if (code == error::kOk && rekeying) code = reencipher(*f, piece);
    }
    if (code == error::kOk) code = t->main.writeRaw(kMagicOffset, magic);
    if (code == error::kOk) code = t->main.write(kPasswordCheckOffset, check);
    for (TableFile* f : files) {
        if (code == error::kOk) code = f->sync();
    }
    // An undo log that cannot be removed would undo the change at the next
    // open: then the change is undone now and reported as failed.
    if (code == error::kOk && rekeying) code = undo.finish();
    if (code != error::kOk) {
        // Back to the old password; an undo log that cannot be applied now
        // stays for the next open.
        if (rekeying) undo.rollBack(t->main, t->hasAux() ? &t->auxFile : nullptr);
        useKeys(oldKey, oldKey);
        return fail(error::kRekeyFailed), false;
    }
    useKeys(newKey, newKey);
    std::copy(magic.begin(), magic.end(), t->header.begin() + kMagicOffset);
    std::fill_n(t->header.begin() + kPasswordCheckOffset, kPasswordCheckWriteSize, 0);
    std::copy(check.begin(), check.end(), t->header.begin() + kPasswordCheckOffset);
    return true;
}

}  // namespace qinghe::recordstore
