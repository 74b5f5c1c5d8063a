#include "recordstore/check.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

#include "common/clock.h"
#include "recordstore/aux_file.h"
#include "recordstore/batches.h"
#include "recordstore/cipher.h"
#include "recordstore/errors.h"
#include "recordstore/layout.h"
#include "recordstore/names.h"
#include "recordstore/table_file.h"
#include "recordstore/undo_log.h"

namespace qinghe::recordstore {
namespace {

using namespace format;

class Checker {
  public:
    Checker(FileSystem& fs, CheckReport& report) : fs_(fs), report_(report) {}

    void run(std::string_view file, std::string_view password) {
        auto disk = toDiskPath(file);
        if (file.empty() || !disk) return problem("the file name is empty or not GBK");
        path_ = resolveIgnoringCase(
            fs_, absolutePath(withDefaultExtension(*disk), fs_.currentDirectory()));
        checkUndoLog();
        if (int code = main_.open(path_, false, false, ShareMode::DenyNone); code != error::kOk) {
            return problem("the main file cannot be opened (code " + std::to_string(code) + ")");
        }
        if (!checkHeader(password)) return;
        if (!checkDescriptors()) return;
        checkRecords();
    }

  private:
    void problem(std::string text) { report_.problems.push_back(std::move(text)); }

    void checkUndoLog() {
        std::string logPath = resolveIgnoringCase(fs_, undoLogPathOf(path_));
        UndoLogSummary summary;
        int code = readUndoLogSummary(fs_, logPath, summary);
        if (code == error::kFileNotFound) return;
        if (code != error::kOk)
            return problem("a damaged undo log lies beside the table: " + logPath);
        problem("an interrupted operation left an undo log (" +
                std::to_string(summary.undoEntries) + " undo and " +
                std::to_string(summary.renameEntries) +
                " rename entries); the next open for writing applies it");
    }

    bool checkHeader(std::string_view password) {
        std::int64_t got = main_.readRaw(0, header_);
        if (got < static_cast<std::int64_t>(kHeaderSize)) {
            problem("the file is shorter than the 112-byte header");
            return false;
        }
        bool ciphered = std::equal(kCipheredMagic.begin(), kCipheredMagic.end(), header_.begin());
        if (!ciphered && !std::equal(kPlainMagic.begin(), kPlainMagic.end(), header_.begin())) {
            problem("the magic is neither WEDB nor WCDB");
            return false;
        }
        if (ciphered) {
            if (password.empty()) {
                problem("the table has a password: give it with --password to check its body");
                return false;
            }
            cipher_ = std::make_shared<Cipher>(password);
            cipher_->apply(0, header_);
            std::string_view stored(reinterpret_cast<const char*>(&header_[kPasswordCheckOffset]),
                                    kCheckStringLength);
            if (!sameName(stored, cipher_->checkString()) ||
                header_[kPasswordCheckOffset + kCheckStringLength] != 0) {
                problem("the password does not open the table (its check string differs)");
                return false;
            }
            main_.setCiphers(cipher_, nullptr);
        } else if (!password.empty()) {
            problem("the table has no password, but one was given");
        }
        recordLength_ = loadI32(&header_[kRecordLengthOffset]);
        count_ = loadI32(&header_[kCountOffset]);
        next_ = loadI32(&header_[kNextNumberOffset]);
        std::int32_t version = loadI32(&header_[kVersionOffset]);
        bool ok = true;
        if (recordLength_ <= 0) problem("the record length is not positive"), ok = false;
        if (count_ < 0) problem("the record count is negative"), ok = false;
        if (next_ < 1) problem("the next record number is below 1");
        if (version > kVersion) problem("the version is newer than this engine"), ok = false;
        return ok;
    }

    bool checkDescriptors() {
        std::array<std::uint8_t, 4> countBytes;
        std::int64_t size = main_.size();
        if (main_.readExact(kFieldCountOffset, countBytes, error::kNotATable) != error::kOk) {
            problem("the field count is missing");
            return false;
        }
        std::int32_t fields = loadI32(countBytes.data());
        if (fields <= 0 || dataOffset(fields) > size) {
            problem("the field count is not positive or the descriptors are incomplete");
            return false;
        }
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(fields) * kDescriptorSize);
        if (main_.readExact(kDescriptorsOffset, bytes, error::kNotATable) != error::kOk ||
            decodeDescriptors(bytes, fields, recordLength_, layout_) != error::kOk) {
            problem("a field descriptor is damaged (name, type, size or offset)");
            return false;
        }
        std::int64_t total = static_cast<std::int64_t>(kRecordNumberSize);
        for (const auto& f : layout_.fields) total += f.size;
        if (total != recordLength_) {
            problem("the record length " + std::to_string(recordLength_) +
                    " is not 4 + the field sizes (" + std::to_string(total) + ")");
        }
        std::int64_t whole = (size - layout_.dataOffset) / recordLength_;
        std::int64_t expected =
            layout_.dataOffset + static_cast<std::int64_t>(count_) * recordLength_;
        if (whole < count_) {
            problem("the file holds " + std::to_string(whole) +
                    " whole records, the header counts " + std::to_string(count_));
            count_ = static_cast<std::int32_t>(whole);
        } else if (size > expected) {
            problem(std::to_string(size - expected) +
                    " bytes lie after the last counted record (an append cut short; an open for "
                    "writing removes them)");
        }
        return true;
    }

    void checkRecords() {
        bool chained = hasChainedField(layout_);
        if (chained && !openAux()) chained = false;
        std::vector<std::uint8_t> buffer;
        const std::int64_t length = recordLength_;
        int read = forEachBatch(main_, layout_, count_, buffer, [&](std::int64_t in, auto run) {
            const auto n = static_cast<std::int64_t>(run.size()) / length;
            for (std::int64_t j = 0; j < n; ++j) {
                const std::uint8_t* record = run.data() + j * length;
                std::int64_t position = in + j;
                std::int32_t number = loadI32(record);
                if (number == 0 || number == INT32_MIN) {
                    problem("record " + std::to_string(position) + " has the number 0");
                } else if (std::abs(number) >= next_) {
                    problem("record " + std::to_string(position) + " has the number " +
                            std::to_string(number) + ", not below the next number " +
                            std::to_string(next_));
                }
                if (!chained) continue;
                for (std::size_t k = 0; k < layout_.fields.size(); ++k) {
                    const FieldInfo& f = layout_.fields[k];
                    if (isChained(f.type)) checkChain(position, k + 1, loadI32(record + f.offset));
                }
            }
            report_.records += n;
            return error::kOk;
        });
        if (read != error::kOk) return problem("the records cannot be read");
        if (chained) checkFreeListAndLeaks();
    }

    bool openAux() {
        std::string auxPath = resolveIgnoringCase(fs_, auxiliaryPath(path_));
        if (aux_.open(auxPath, false, false, ShareMode::DenyNone) != error::kOk) {
            problem("the auxiliary file is missing or cannot be opened");
            return false;
        }
        aux_.setCiphers(cipher_, nullptr);
        std::array<std::uint8_t, kAuxHeaderSize> h;
        if (aux_.readExact(0, h, error::kAuxReadFailed) != error::kOk ||
            !std::equal(kAuxMagic.begin(), kAuxMagic.end(), h.begin())) {
            problem("the auxiliary file is short or has another magic");
            return false;
        }
        if (loadI32(&h[kAuxVersionOffset]) != loadI32(&header_[kVersionOffset])) {
            problem("the auxiliary file's version differs from the main file's");
        }
        blockCount_ = loadI32(&h[kAuxBlockCountOffset]);
        freeCount_ = loadI32(&h[kAuxFreeCountOffset]);
        freeHead_ = loadI32(&h[kAuxFreeHeadOffset]);
        if (blockCount_ < 1 || freeCount_ < 0 || freeCount_ > blockCount_ - 1 || freeHead_ < 0 ||
            freeHead_ > blockCount_ - 1) {
            problem("the auxiliary header's block count or free list is out of range");
            return false;
        }
        std::int64_t size = aux_.size();
        std::int64_t wanted =
            static_cast<std::int64_t>(blockCount_) * static_cast<std::int64_t>(kBlockSize);
        if (size < wanted) {
            problem("the auxiliary file holds fewer blocks than its count " +
                    std::to_string(blockCount_));
            blockCount_ = static_cast<std::int32_t>(
                std::max<std::int64_t>(1, size / static_cast<std::int64_t>(kBlockSize)));
        } else if (size > wanted) {
            problem(
                std::to_string(size - wanted) +
                " bytes lie after the auxiliary file's last block (unused; left by an operation "
                "that was cut short)");
        }
        owner_.assign(static_cast<std::size_t>(blockCount_), Owner::None);
        return true;
    }

    enum class Owner : std::uint8_t { None, Chain, Free };

    // Reads a block's head; false (with a problem) when it cannot.
    bool head(std::int32_t block, std::array<std::uint8_t, kBlockDataOffset>& h) {
        if (aux_.readExact(static_cast<std::int64_t>(block) * static_cast<std::int64_t>(kBlockSize),
                           h, error::kAuxAccessFailed) != error::kOk) {
            problem("block " + std::to_string(block) + " cannot be read");
            return false;
        }
        return true;
    }

    bool claim(std::int32_t block, Owner owner, const std::string& what) {
        if (block < 1 || block >= blockCount_) {
            problem(what + " names block " + std::to_string(block) + ", outside 1 to " +
                    std::to_string(blockCount_ - 1));
            return false;
        }
        Owner& o = owner_[static_cast<std::size_t>(block)];
        if (o != Owner::None) {
            problem(
                what + " reaches block " + std::to_string(block) + ", which " +
                (o == Owner::Free ? "is on the free list" : "another chain (or this one) holds"));
            return false;
        }
        o = owner;
        return true;
    }

    void checkChain(std::int64_t position, std::size_t field, std::int32_t first) {
        if (first == 0) return;
        std::string what = "the value of field " + std::to_string(field) + " in record " +
                           std::to_string(position);
        std::int32_t previous = 0;
        for (std::int32_t block = first; block != 0;) {
            if (!claim(block, Owner::Chain, what)) return;
            ++report_.chainBlocks;
            std::array<std::uint8_t, kBlockDataOffset> h;
            if (!head(block, h)) return;
            if (loadI32(&h[kBlockPrevOffset]) != previous) {
                problem(what + ": block " + std::to_string(block) + " links back to " +
                        std::to_string(loadI32(&h[kBlockPrevOffset])) + ", not " +
                        std::to_string(previous));
            }
            std::int32_t used = loadI32(&h[kBlockUsedOffset]);
            if (used < 0 || used > static_cast<std::int32_t>(kBlockDataSize)) {
                problem(what + ": block " + std::to_string(block) + " uses " +
                        std::to_string(used) + " bytes");
            }
            previous = block;
            block = loadI32(&h[kBlockNextOffset]);
        }
    }

    void checkFreeListAndLeaks() {
        std::int32_t block = freeHead_;
        for (std::int32_t i = 0; i < freeCount_; ++i) {
            if (!claim(block, Owner::Free, "the free list")) break;
            std::array<std::uint8_t, kBlockDataOffset> h;
            if (!head(block, h)) break;
            block = loadI32(&h[kBlockNextOffset]);
            if (i + 1 == freeCount_ && block != 0) {
                problem("the free list goes on after its " + std::to_string(freeCount_) +
                        " blocks");
            }
        }
        auto leaked = std::count(owner_.begin() + 1, owner_.end(), Owner::None);
        if (leaked > 0) {
            problem(std::to_string(leaked) +
                    " blocks of the auxiliary file are neither in a value nor on the free list "
                    "(leaked by an operation that was cut short; their space is lost, no value is "
                    "harmed)");
        }
    }

    FileSystem& fs_;
    CheckReport& report_;
    std::string path_;
    TableFile main_{fs_, systemClock()};
    TableFile aux_{fs_, systemClock()};
    std::shared_ptr<Cipher> cipher_;
    std::array<std::uint8_t, kHeaderSize> header_{};
    Layout layout_;
    std::int32_t recordLength_ = 0, count_ = 0, next_ = 0;
    std::int32_t blockCount_ = 0, freeCount_ = 0, freeHead_ = 0;
    std::vector<Owner> owner_;
};

}  // namespace

CheckReport checkTable(FileSystem& fs, std::string_view file, std::string_view password) {
    CheckReport report;
    Checker(fs, report).run(file, password);
    return report;
}

}  // namespace qinghe::recordstore
