#include "recordstore/check.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

#include "common/clock.h"
#include "platform/paths.h"
#include "recordstore/batches.h"
#include "recordstore/names.h"
#include "recordstore/open_checks.h"
#include "recordstore/side_files.h"
#include "recordstore/undo_log.h"

namespace qinghe::recordstore {
namespace {

using namespace format;

class Checker {
  public:
    Checker(platform::FileSystem& fs, CheckReport& report) : fs_(fs), report_(report) {}

    void run(std::string_view file, std::string_view password) {
        auto found = tableFilePath(fs_, file);
        if (file.empty() || !found) return problem("the file name is empty or not GBK");
        path_ = tableFileOnDisk(fs_, *found);
        checkUndoLog();
        checkTemporaries();
        if (Status status = main_.open(path_, false, false, ShareMode::DenyNone); !status.ok()) {
            return problem("the main file cannot be opened (code " + std::to_string(status.code()) +
                           ")");
        }
        // The checks of an open, every one of them listed.
        Findings findings = Findings::forCheck();
        bool opens = checkMagic(main_, facts_, findings) &&
                     checkPassword(facts_, password, cipher_, findings);
        if (!opens && facts_.enciphered && onlyCheckStringRefuses(main_, facts_, password)) {
            problem(
                "the password check (magic or check string) is damaged: the header and the "
                "descriptors read soundly without it");
        }
        if (opens) {
            main_.setCiphers(cipher_, nullptr);
            opens = checkMainFile(main_, facts_, findings);
        }
        for (const auto& p : findings.problems()) problem(p);
        if (!opens) return;
        checkRecords();
    }

  private:
    void problem(std::string text) { report_.problems.push_back(std::move(text)); }

    void checkUndoLog() {
        std::string logPath = platform::resolveIgnoringCase(fs_, undoLogPathOf(path_));
        UndoLogSummary summary;
        Status status = readUndoLogSummary(fs_, logPath, summary);
        if (status.is(error::kFileNotFound)) return;
        if (!status.ok()) return problem("a damaged undo log lies beside the table: " + logPath);
        problem("an interrupted operation left an undo log (" +
                std::to_string(summary.undoEntries) + " undo and " +
                std::to_string(summary.renameEntries) +
                " rename entries); the next open for writing applies it");
    }

    void checkTemporaries() {
        for (const auto& temporary : temporariesOf(fs_, path_)) {
            problem("a temporary file of an interrupted operation lies beside the table: " +
                    platform::lastComponent(temporary) +
                    " (the next open for writing removes it once its writer is gone)");
        }
    }

    void checkRecords() {
        const Layout& layout = facts_.layout;
        const std::int64_t count = std::min<std::int64_t>(facts_.count(), facts_.wholeRecords);
        const std::int32_t next = facts_.nextNumber();
        bool chained = hasChainedField(layout) && openAux();
        std::vector<std::uint8_t> buffer;
        const std::int64_t length = layout.recordLength;
        bool stopped = false;
        Status read = forEachBatch(main_, layout, count, buffer, [&](std::int64_t in, auto run) {
            const auto n = static_cast<std::int64_t>(run.size()) / length;
            for (std::int64_t j = 0; j < n; ++j) {
                const std::uint8_t* record = run.data() + j * length;
                std::int64_t position = in + j;
                std::int32_t number = loadI32(record);
                if (number == 0) {
                    // Never written (a hole, or zeros where records should
                    // be): what follows is not taken for records either.
                    problem("record " + std::to_string(position) +
                            " has the number 0; the records after it are not checked");
                    report_.records += j;
                    stopped = true;
                    return Status::fail(error::kRecordReadFailed);
                }
                if (number == INT32_MIN) {
                    problem("record " + std::to_string(position) + " has the number 0");
                } else if (std::abs(number) >= next) {
                    problem("record " + std::to_string(position) + " has the number " +
                            std::to_string(number) + ", not below the next number " +
                            std::to_string(next));
                }
                if (!chained) continue;
                for (std::size_t k = 0; k < layout.fields.size(); ++k) {
                    const FieldInfo& f = layout.fields[k];
                    if (isChained(f.type)) checkChain(position, k + 1, loadI32(record + f.offset));
                }
            }
            report_.records += n;
            return Status();
        });
        if (!read.ok() && !stopped) return problem("the records cannot be read");
        if (chained) checkFreeListAndLeaks();
    }

    // The checks of an open of the auxiliary file, every one listed; false
    // when its blocks cannot be followed.
    bool openAux() {
        Findings findings = Findings::forCheck();
        bool readable = openAuxFile(aux_, path_, false, ShareMode::DenyNone, findings);
        if (readable) {
            aux_.setCiphers(cipher_, nullptr);
            readable = checkAuxFile(aux_, facts_.version(), auxFacts_, findings);
        }
        for (const auto& p : findings.problems()) problem(p);
        if (!readable) return false;
        blockCount_ = std::min(auxFacts_.blockCount, auxFacts_.wholeBlocks());
        owner_.assign(static_cast<std::size_t>(blockCount_), Owner::None);
        return true;
    }

    enum class Owner : std::uint8_t { None, Chain, Free };

    // Reads a block's head; false (with a problem) when it cannot.
    bool head(std::int32_t block, std::array<std::uint8_t, kBlockDataOffset>& h) {
        if (!aux_.readExact(
                     static_cast<std::int64_t>(block) * static_cast<std::int64_t>(kBlockSize), h,
                     error::kAuxAccessFailed)
                 .ok()) {
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
        std::int32_t block = auxFacts_.freeHead;
        const std::int32_t freeCount = auxFacts_.freeCount;
        for (std::int32_t i = 0; i < freeCount; ++i) {
            if (!claim(block, Owner::Free, "the free list")) break;
            std::array<std::uint8_t, kBlockDataOffset> h;
            if (!head(block, h)) break;
            block = loadI32(&h[kBlockNextOffset]);
            if (i + 1 == freeCount && block != 0) {
                problem("the free list goes on after its " + std::to_string(freeCount) + " blocks");
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

    platform::FileSystem& fs_;
    CheckReport& report_;
    std::string path_;
    TableFile main_{fs_, systemClock()};
    TableFile aux_{fs_, systemClock()};
    std::shared_ptr<Cipher> cipher_;
    MainFacts facts_;
    AuxFacts auxFacts_;
    std::int32_t blockCount_ = 0;  // the blocks present and counted
    std::vector<Owner> owner_;
};

}  // namespace

CheckReport checkTable(platform::FileSystem& fs, std::string_view file, std::string_view password) {
    CheckReport report;
    Checker(fs, report).run(file, password);
    return report;
}

bool passwordCheckDamaged(platform::FileSystem& fs, std::string_view file,
                          std::string_view password) {
    auto found = tableFilePath(fs, file);
    if (file.empty() || !found) return false;
    TableFile main(fs, systemClock());
    if (!main.open(tableFileOnDisk(fs, *found), false, false, ShareMode::DenyNone).ok()) {
        return false;
    }
    MainFacts facts;
    Findings findings = Findings::forCheck();
    std::shared_ptr<Cipher> cipher;
    return checkMagic(main, facts, findings) && !checkPassword(facts, password, cipher, findings) &&
           onlyCheckStringRefuses(main, facts, password);
}

bool hasUndoLog(platform::FileSystem& fs, std::string_view file) {
    auto found = tableFilePath(fs, file);
    if (!found) return false;
    std::string log = platform::resolveIgnoringCase(fs, undoLogPathOf(tableFileOnDisk(fs, *found)));
    int handle = fs.open(log, false, false);
    if (handle < 0) return false;
    fs.close(handle);
    return true;
}

}  // namespace qinghe::recordstore
