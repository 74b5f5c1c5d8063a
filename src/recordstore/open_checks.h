// The checks that an open makes of a table's files, one function a check, in
// the order of the format (FORMAT.md and the table of "Checks of open" that
// it follows). openTable runs them until the first finding that refuses the
// open and then makes the repairs that the findings call for; table check
// runs them all and lists what they find, before its own deeper checks. A new
// check of the open goes here, in its place in the order.
//
// Each check reads what it needs into the facts, adds what it finds, and
// returns false when the checks after it cannot run (the facts they need are
// missing or unsound).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "recordstore/cipher.h"
#include "recordstore/format.h"
#include "recordstore/layout.h"
#include "recordstore/status.h"
#include "recordstore/table_file.h"

namespace qinghe::recordstore {

// What a check found.
struct Finding {
    int code = 0;             // what an open fails with; 0 when no open refuses for it
    bool repairable = false;  // an open for writing repairs it instead of failing
    std::string problem;      // one line for table check (English)
};

// Where the findings go: an open keeps its first refusal, table check every
// problem.
class Findings {
  public:
    static Findings forOpen(bool readOnly) { return Findings(true, readOnly); }
    static Findings forCheck() { return Findings(false, true); }

    void add(Finding finding);
    // An open found what refuses it; the checks stop.
    bool refused() const { return !refusal_.ok(); }
    // What an open whose checks stopped fails with: the refusal, or -21 when
    // the checks could not go on otherwise.
    Status failure() const { return refused() ? refusal_ : Status::fail(error::kOpenFailed); }
    const std::vector<std::string>& problems() const { return problems_; }

  private:
    Findings(bool open, bool readOnly) : open_(open), readOnly_(readOnly) {}
    bool open_;
    bool readOnly_;
    Status refusal_;
    std::vector<std::string> problems_;
};

// What the checks read of the main file.
struct MainFacts {
    std::array<std::uint8_t, format::kHeaderSize> header{};  // deciphered once the key is known
    bool enciphered = false;
    std::int64_t size = 0;
    std::int32_t fieldCount = 0;
    Layout layout;                  // the descriptors, once checked
    std::int64_t wholeRecords = 0;  // records present whole after the descriptors

    std::int32_t version() const;
    std::int32_t count() const;
    std::int32_t nextNumber() const;
    std::int32_t recordLength() const;
};

// The cipher of `password` when its check string matches the one in the
// header `raw` (as on disk); null for an empty password or one that does not
// match.
std::shared_ptr<Cipher> cipherIfMatches(std::span<const std::uint8_t> raw,
                                        std::string_view password);

// ---- Main file, in order ---------------------------------------------------

// At least 112 bytes and the magic "WEDB" or "WCDB" (-22); reads the header as
// it lies on disk (-21 when it cannot).
bool checkMagic(TableFile& main, MainFacts& facts, Findings& findings);
// The password against the magic (-78): none for "WEDB"; for "WCDB" one whose
// check string matches, whose cipher is given back.
bool checkPassword(const MainFacts& facts, std::string_view password,
                   std::shared_ptr<Cipher>& cipher, Findings& findings);
// For a table whose check string refuses `password` (checkPassword): true
// when its header and field descriptors read soundly all the same (the
// checks from checkCounts to checkDescriptors find nothing) -- deciphered
// with `password`, or plain under the magic "WCDB" -- so that what refuses
// is the damaged check string (or magic), not another password, whose key
// deciphers them to noise. Leaves `main` without a cipher.
bool onlyCheckStringRefuses(TableFile& main, const MainFacts& facts, std::string_view password);
// Reads the header again through the file's cipher (-21), which must find the
// same magic and, deciphered, the cipher's check string (-78: the password
// changed meanwhile).
bool readHeader(TableFile& main, MainFacts& facts, Findings& findings);
// Record length above 0 and at most 1 MiB, record count not below 0, next
// number at least 1 (-22).
bool checkCounts(const MainFacts& facts, Findings& findings);
// A version this engine reads (-23).
bool checkVersion(const MainFacts& facts, Findings& findings);
// A file of at most 2 GiB with a positive field count whose descriptors lie
// in the file, no more fields than the record has bytes for them (-22).
bool checkFieldCount(TableFile& main, MainFacts& facts, Findings& findings);
// Each descriptor: a name with its zero byte, a type, a text size, a value
// inside the record (-22). The record may be longer than 4 + the field sizes.
bool checkDescriptors(TableFile& main, MainFacts& facts, Findings& findings);
// As many whole records as the count (-48; repaired by an open for writing),
// and nothing after them (repaired by an open for writing).
bool checkRecordArea(MainFacts& facts, Findings& findings);

// Runs the checks of the main file after the password: from readHeader to
// checkRecordArea, as far as they can go.
bool checkMainFile(TableFile& main, MainFacts& facts, Findings& findings);

// The repairs of an open for writing: a count above the whole records present
// is cut to them (`dropped` says by how many), then the file to the records
// counted. -21 on failure.
Status repairRecordArea(TableFile& main, MainFacts& facts, std::int32_t& dropped);

// ---- Auxiliary file, in order ----------------------------------------------

struct AuxFacts {
    std::int32_t version = 0;
    std::int32_t blockCount = 0;  // as the header says
    std::int32_t freeCount = 0;
    std::int32_t freeHead = 0;
    std::int64_t size = 0;
    std::int32_t wholeBlocks() const;  // block 0 always counts
};

// Opens the auxiliary file of `mainPath` (its name matched without regard to
// case) in the main file's access and sharing mode (-35 when it cannot).
bool openAuxFile(TableFile& aux, const std::string& mainPath, bool write, ShareMode share,
                 Findings& findings);
// At least 32 bytes and at most 2 GiB, the magic "WEDT", a block count of at
// least 1 that fits in 2 GiB, a free count and head within it (-35).
bool checkAuxHeader(TableFile& aux, AuxFacts& facts, Findings& findings);
// The main file's version (-36).
bool checkAuxVersion(const AuxFacts& facts, std::int32_t mainVersion, Findings& findings);
// As many whole blocks as the block count (-37; repaired by an open for
// writing); noted when bytes follow the last block.
bool checkAuxBlocks(const AuxFacts& facts, Findings& findings);

// Runs the checks of an open auxiliary file.
bool checkAuxFile(TableFile& aux, std::int32_t mainVersion, AuxFacts& facts, Findings& findings);

// The repair of an open for writing: a block count above the whole blocks
// present is cut to them. -35 on failure.
Status repairAuxBlocks(TableFile& aux, const AuxFacts& facts);

}  // namespace qinghe::recordstore
