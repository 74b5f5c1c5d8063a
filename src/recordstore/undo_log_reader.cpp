#include "recordstore/undo_log_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "recordstore/errors.h"

namespace qinghe::recordstore::undo_bytes {
namespace {

using namespace format;

constexpr std::uint64_t kChecksumSeed = 0x51494E4748454A4EULL;
constexpr std::uint64_t kChecksumMultiplier = 0x9E3779B97F4A7C15ULL;
constexpr int kChecksumShift = 29;

// A checksum over a byte stream, the same however the stream is cut.
class Checksum {
  public:
    void update(std::span<const std::uint8_t> bytes) {
        length_ += bytes.size();
        while (!bytes.empty()) {
            std::size_t n = std::min(bytes.size(), pending_.size() - pendingCount_);
            std::memcpy(pending_.data() + pendingCount_, bytes.data(), n);
            pendingCount_ += n;
            bytes = bytes.subspan(n);
            if (pendingCount_ == pending_.size()) {
                mix(static_cast<std::uint64_t>(loadI64(pending_.data())));
                pendingCount_ = 0;
            }
        }
    }
    std::uint64_t value() const {
        Checksum last = *this;
        std::fill(last.pending_.begin() + static_cast<std::ptrdiff_t>(pendingCount_),
                  last.pending_.end(), 0);
        last.mix(static_cast<std::uint64_t>(loadI64(last.pending_.data())));
        last.mix(length_);
        return last.hash_;
    }

  private:
    void mix(std::uint64_t word) {
        hash_ = (hash_ ^ word) * kChecksumMultiplier;
        hash_ ^= hash_ >> kChecksumShift;
    }
    std::uint64_t hash_ = kChecksumSeed;
    std::uint64_t length_ = 0;
    std::array<std::uint8_t, 8> pending_{};
    std::size_t pendingCount_ = 0;
};

}  // namespace

Status checksumOfBody(TableFile& file, std::int64_t length, std::uint64_t& value) {
    Checksum sum;
    std::vector<std::uint8_t> piece(kPieceSize);
    for (std::int64_t at = 0; at < length;) {
        auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(piece.size()), length - at));
        auto span = std::span(piece).first(n);
        if (Status status = file.readExact(static_cast<std::int64_t>(kLogHeaderSize) + at, span,
                                           error::kOpenFailed);
            !status.ok()) {
            return status;
        }
        sum.update(span);
        at += static_cast<std::int64_t>(n);
    }
    value = sum.value();
    return {};
}

std::array<std::uint8_t, kEntryHeadSize> entryHead(EntryKind kind, TablePart part,
                                                   std::int64_t value, std::int32_t payload) {
    std::array<std::uint8_t, kEntryHeadSize> head{};
    head[kEntryKindOffset] = static_cast<std::uint8_t>(kind);
    head[kEntryPartOffset] = static_cast<std::uint8_t>(part);
    storeI64(&head[kEntryValueOffset], value);
    storeI32(&head[kEntryPayloadOffset], payload);
    return head;
}

void appendIdentity(std::vector<std::uint8_t>& out, const platform::FileId& id) {
    std::array<std::uint8_t, kIdentitySize> bytes{};
    storeI64(bytes.data(), static_cast<std::int64_t>(id.device));
    storeI64(bytes.data() + 8, static_cast<std::int64_t>(id.inode));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace qinghe::recordstore::undo_bytes

namespace qinghe::recordstore {
namespace {

using namespace format;
using namespace undo_bytes;

// What a log that cannot be read back whole gives (the open fails with it).
constexpr Status kDamaged = Status::fail(error::kOpenFailed);

platform::FileId identityAt(const std::uint8_t* bytes) {
    return {static_cast<std::uint64_t>(loadI64(bytes)),
            static_cast<std::uint64_t>(loadI64(bytes + 8))};
}

bool isPathComponent(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

}  // namespace

Status UndoLogReader::check() {
    std::array<std::uint8_t, kLogHeaderSize> header;
    if (!file_.readExact(0, header, error::kOpenFailed).ok() ||
        !std::equal(kLogMagic.begin(), kLogMagic.end(), header.begin())) {
        return kDamaged;
    }
    version_ = loadI32(&header[kLogVersionOffset]);
    entries_ = loadI32(&header[kLogEntriesOffset]);
    bodyLength_ = loadI64(&header[kLogBodyLengthOffset]);
    std::int64_t size = 0;
    if (version_ < kOldestLogVersion || version_ > kLogVersion || !file_.size(size).ok() ||
        entries_ < 0 || bodyLength_ < 0 ||
        bodyLength_ != size - static_cast<std::int64_t>(kLogHeaderSize)) {
        return kDamaged;
    }
    std::uint64_t sum = 0;
    if (!checksumOfBody(file_, bodyLength_, sum).ok() ||
        sum != static_cast<std::uint64_t>(loadI64(&header[kLogChecksumOffset]))) {
        return kDamaged;
    }
    return {};
}

Status UndoLogReader::entryAt(std::int64_t at, Entry& e) {
    std::array<std::uint8_t, kEntryHeadSize> head;
    if (at + static_cast<std::int64_t>(head.size()) > bodyLength_ ||
        !file_.readExact(static_cast<std::int64_t>(kLogHeaderSize) + at, head, error::kOpenFailed)
             .ok()) {
        return kDamaged;
    }
    e = {static_cast<EntryKind>(head[kEntryKindOffset]),
         static_cast<TablePart>(head[kEntryPartOffset]), loadI64(&head[kEntryValueOffset]),
         at + static_cast<std::int64_t>(head.size()), loadI32(&head[kEntryPayloadOffset])};
    if (e.payload < 0 || e.payloadAt + e.payload > bodyLength_) return kDamaged;
    return {};
}

Status UndoLogReader::copyPayload(const Entry& e, TableFile& target) {
    std::vector<std::uint8_t> piece(kPieceSize);
    for (std::int64_t done = 0; done < e.payload;) {
        auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(piece.size()), e.payload - done));
        auto span = std::span(piece).first(n);
        const std::int64_t at = static_cast<std::int64_t>(kLogHeaderSize) + e.payloadAt + done;
        if (Status status = file_.readExact(at, span, error::kOpenFailed); !status.ok()) {
            return status;
        }
        if (Status status = target.writeRaw(e.value + done, span); !status.ok()) return status;
        done += static_cast<std::int64_t>(n);
    }
    return {};
}

Status UndoLogReader::applyUndo(TableFile& main, TableFile& aux) {
    for (EntryKind pass : {EntryKind::Length, EntryKind::Bytes}) {
        Status applied = forEach([&](const Entry& e) -> Status {
            if (e.kind != pass) return {};
            TableFile& file = e.part == TablePart::Aux ? aux : main;
            if (!file.isOpen()) return kDamaged;
            return e.kind == EntryKind::Length ? file.truncate(e.value) : copyPayload(e, file);
        });
        if (!applied.ok()) return applied;
    }
    for (TableFile* file : {&main, &aux}) {
        if (file->isOpen()) {
            if (Status status = file->sync(); !status.ok()) return status;
        }
    }
    return {};
}

Status UndoLogReader::smallPayload(const Entry& e, std::vector<std::uint8_t>& bytes) {
    if (e.payload > kMaxNamesPayload) return kDamaged;
    bytes.resize(static_cast<std::size_t>(e.payload));
    return file_.readExact(static_cast<std::int64_t>(kLogHeaderSize) + e.payloadAt, bytes,
                           error::kOpenFailed);
}

Status UndoLogReader::rename(const Entry& e, LoggedRename& rename) {
    std::vector<std::uint8_t> bytes;
    if (!smallPayload(e, bytes).ok()) return kDamaged;
    std::size_t at = 0;
    for (std::string* name : {&rename.from, &rename.to}) {
        if (at + 4 > bytes.size()) return kDamaged;
        const std::int32_t length = loadI32(&bytes[at]);
        at += 4;
        if (length < 0 || static_cast<std::size_t>(length) > bytes.size() - at) return kDamaged;
        name->assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                     bytes.begin() + static_cast<std::ptrdiff_t>(at) + length);
        at += static_cast<std::size_t>(length);
    }
    // A name is one path component: nothing may lead out of the directory.
    if (!isPathComponent(rename.from) || !isPathComponent(rename.to)) return kDamaged;
    rename.id = {};
    if (version_ == kOldestLogVersion) return {};
    if (bytes.size() - at != kIdentitySize) return kDamaged;
    rename.id = identityAt(&bytes[at]);
    return {};
}

Status UndoLogReader::table(const Entry& e, LoggedTable& table) {
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t kIdentities = 3 * kIdentitySize;
    if (!smallPayload(e, bytes).ok() || bytes.size() <= kIdentities) return kDamaged;
    table.log = identityAt(bytes.data());
    table.main = identityAt(bytes.data() + kIdentitySize);
    table.aux = identityAt(bytes.data() + 2 * kIdentitySize);
    table.name.assign(bytes.begin() + kIdentities, bytes.end());
    return isPathComponent(table.name) ? Status() : kDamaged;
}

}  // namespace qinghe::recordstore
