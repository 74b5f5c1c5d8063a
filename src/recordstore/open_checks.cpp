#include "recordstore/open_checks.h"

#include <algorithm>

#include "platform/paths.h"
#include "recordstore/names.h"

namespace qinghe::recordstore {
namespace {

using namespace format;

Finding notATable(std::string problem) {
    return {error::kNotATable, false, std::move(problem)};
}

Finding auxUnreadable(std::string problem) {
    return {error::kAuxReadFailed, false, std::move(problem)};
}

bool hasMagic(std::span<const std::uint8_t> header, std::span<const std::uint8_t> magic) {
    return std::equal(magic.begin(), magic.end(), header.begin());
}

// The zero-ended check string of a deciphered header is the cipher's.
bool holdsCheckString(std::span<const std::uint8_t, kPasswordCheckSize> check,
                      const Cipher& cipher) {
    auto end = std::find(check.begin(), check.end(), 0);
    std::string_view stored(reinterpret_cast<const char*>(check.data()),
                            static_cast<std::size_t>(end - check.begin()));
    return sameName(stored, cipher.checkString());
}

}  // namespace

void Findings::add(Finding finding) {
    if (!open_) {
        problems_.push_back(std::move(finding.problem));
        return;
    }
    bool refuses = finding.code != error::kOk && !(finding.repairable && !readOnly_);
    if (refuses && refusal_.ok()) refusal_ = Status::fail(finding.code);
}

std::int32_t MainFacts::version() const {
    return loadI32(&header[kVersionOffset]);
}
std::int32_t MainFacts::count() const {
    return loadI32(&header[kCountOffset]);
}
std::int32_t MainFacts::nextNumber() const {
    return loadI32(&header[kNextNumberOffset]);
}
std::int32_t MainFacts::recordLength() const {
    return loadI32(&header[kRecordLengthOffset]);
}

std::int32_t AuxFacts::wholeBlocks() const {
    return static_cast<std::int32_t>(
        std::max<std::int64_t>(1, size / static_cast<std::int64_t>(kBlockSize)));
}

std::shared_ptr<Cipher> cipherIfMatches(std::span<const std::uint8_t> raw,
                                        std::string_view password) {
    if (password.empty()) return nullptr;
    auto cipher = std::make_shared<Cipher>(password);
    std::array<std::uint8_t, kPasswordCheckSize> check;
    std::copy_n(raw.begin() + kPasswordCheckOffset, check.size(), check.begin());
    cipher->apply(kPasswordCheckOffset, check);
    return holdsCheckString(check, *cipher) ? cipher : nullptr;
}

// ---- Main file -------------------------------------------------------------

bool checkMagic(TableFile& main, MainFacts& facts, Findings& findings) {
    std::size_t got = 0;
    if (!main.readRaw(0, facts.header, got).ok()) {
        findings.add({error::kOpenFailed, false, "the header cannot be read"});
        return false;
    }
    if (got < kHeaderSize) {
        findings.add(notATable("the file is shorter than the 112-byte header"));
        return false;
    }
    facts.enciphered = hasMagic(facts.header, kCipheredMagic);
    if (!facts.enciphered && !hasMagic(facts.header, kPlainMagic)) {
        findings.add(notATable("the magic is neither WEDB nor WCDB"));
        return false;
    }
    return true;
}

bool checkPassword(const MainFacts& facts, std::string_view password,
                   std::shared_ptr<Cipher>& cipher, Findings& findings) {
    cipher = nullptr;
    if (!facts.enciphered) {
        if (password.empty()) return true;
        findings.add(
            {error::kWrongPassword, false, "the table has no password, but one was given"});
        return true;  // its body can be read all the same
    }
    if (password.empty()) {
        findings.add({error::kWrongPassword, false,
                      "the table has a password: give it with --password to check its body"});
        return false;
    }
    cipher = cipherIfMatches(facts.header, password);
    if (!cipher) {
        findings.add({error::kWrongPassword, false,
                      "the password does not open the table (its check string differs)"});
        return false;
    }
    return true;
}

bool onlyCheckStringRefuses(TableFile& main, const MainFacts& facts, std::string_view password) {
    auto readsSoundly = [&](std::shared_ptr<Cipher> cipher) {
        main.setCiphers(std::move(cipher), nullptr);
        MainFacts read;
        Findings found = Findings::forCheck();
        const bool sound = main.readExact(0, read.header, error::kNotATable).ok() &&
                           checkCounts(read, found) && checkVersion(read, found) &&
                           checkFieldCount(main, read, found) &&
                           checkDescriptors(main, read, found) && found.problems().empty();
        main.setCiphers(nullptr, nullptr);
        return sound;
    };
    if (!facts.enciphered) return false;
    return (!password.empty() && readsSoundly(std::make_shared<Cipher>(password))) ||
           readsSoundly(nullptr);
}

bool readHeader(TableFile& main, MainFacts& facts, Findings& findings) {
    if (!main.readExact(0, facts.header, error::kNotATable).ok()) {
        findings.add({error::kOpenFailed, false, "the header cannot be read"});
        return false;
    }
    const std::shared_ptr<Cipher>& cipher = main.readCipher();
    const bool sameKey =
        !cipher ||
        holdsCheckString(
            std::span(facts.header).subspan<kPasswordCheckOffset, kPasswordCheckSize>(), *cipher);
    if (hasMagic(facts.header, kCipheredMagic) != facts.enciphered || !sameKey) {
        findings.add({error::kWrongPassword, false, "the password changed while it was checked"});
        return false;
    }
    return true;
}

bool checkCounts(const MainFacts& facts, Findings& findings) {
    bool sound = true;
    if (facts.recordLength() <= 0 || facts.recordLength() > kMaxRecordLength) {
        findings.add(notATable("the record length is not positive or passes 1 MiB"));
        sound = false;
    }
    if (facts.count() < 0) {
        findings.add(notATable("the record count is negative"));
        sound = false;
    }
    if (facts.nextNumber() < kFirstRecordNumber) {
        findings.add(notATable("the next record number is below 1"));
    }
    return sound;
}

bool checkVersion(const MainFacts& facts, Findings& findings) {
    if (facts.version() <= kVersion) return true;
    findings.add({error::kVersionTooHigh, false, "the version is newer than this engine"});
    return false;
}

bool checkFieldCount(TableFile& main, MainFacts& facts, Findings& findings) {
    if (!main.size(facts.size).ok()) {
        findings.add({error::kOpenFailed, false, "the length of the file cannot be read"});
        return false;
    }
    std::array<std::uint8_t, 4> bytes;
    if (!main.readExact(kFieldCountOffset, bytes, error::kNotATable).ok()) {
        findings.add(notATable("the field count is missing"));
        return false;
    }
    facts.fieldCount = loadI32(bytes.data());
    if (facts.size > kMaxFileSize) {
        findings.add(notATable("the file is larger than 2 GiB"));
        return false;
    }
    // The descriptors must lie in the file, and every field takes at least
    // one byte of the record: both bound what is read.
    if (facts.fieldCount <= 0 || dataOffset(facts.fieldCount) > facts.size ||
        facts.fieldCount > facts.recordLength() - static_cast<std::int32_t>(kRecordNumberSize)) {
        findings.add(
            notATable("the field count is not positive or the descriptors are incomplete"));
        return false;
    }
    return true;
}

bool checkDescriptors(TableFile& main, MainFacts& facts, Findings& findings) {
    // Read and checked in pieces: the first damaged one (a hole reads as
    // zeros, which is no descriptor) stops the reading.
    constexpr std::int32_t kPiece = 1024;
    facts.layout = {};
    facts.layout.recordLength = facts.recordLength();
    facts.layout.dataOffset = dataOffset(facts.fieldCount);
    std::vector<std::uint8_t> bytes;
    for (std::int32_t first = 0; first < facts.fieldCount; first += kPiece) {
        const std::int32_t n = std::min(kPiece, facts.fieldCount - first);
        bytes.resize(static_cast<std::size_t>(n) * kDescriptorSize);
        const std::size_t at =
            kDescriptorsOffset + static_cast<std::size_t>(first) * kDescriptorSize;
        if (!main.readExact(static_cast<std::int64_t>(at), bytes, error::kNotATable).ok() ||
            !decodeDescriptors(bytes, n, facts.layout).ok()) {
            findings.add(notATable("a field descriptor is damaged (name, type, size or offset)"));
            return false;
        }
    }
    // A record may be longer than its fields need (other writers leave room):
    // each field lying inside it is all that reading and writing rely on.
    facts.wholeRecords = (facts.size - facts.layout.dataOffset) / facts.recordLength();
    return true;
}

bool checkRecordArea(MainFacts& facts, Findings& findings) {
    const std::int64_t count = facts.count();
    if (facts.wholeRecords < count) {
        findings.add({error::kFileSizeWrong, true,
                      "the file holds " + std::to_string(facts.wholeRecords) +
                          " whole records, the header counts " + std::to_string(count)});
        return true;
    }
    const std::int64_t end = facts.layout.dataOffset + count * facts.recordLength();
    if (facts.size > end) {
        findings.add({error::kOk, true,
                      std::to_string(facts.size - end) +
                          " bytes lie after the last counted record (an append cut short; an "
                          "open for writing removes them)"});
    }
    return true;
}

bool checkMainFile(TableFile& main, MainFacts& facts, Findings& findings) {
    if (!readHeader(main, facts, findings) || findings.refused()) return false;
    // The version does not depend on the counts: both are checked.
    bool sound = checkCounts(facts, findings);
    sound = checkVersion(facts, findings) && sound;
    return sound && !findings.refused() && checkFieldCount(main, facts, findings) &&
           checkDescriptors(main, facts, findings) && checkRecordArea(facts, findings) &&
           !findings.refused();
}

Status repairRecordArea(TableFile& main, MainFacts& facts, std::int32_t& dropped) {
    const Status failed = Status::fail(error::kOpenFailed);
    std::int32_t count = facts.count();
    dropped = 0;
    if (facts.wholeRecords < count) {
        const auto whole = static_cast<std::int32_t>(facts.wholeRecords);
        storeI32(&facts.header[kCountOffset], whole);
        std::array<std::uint8_t, 4> bytes;
        storeI32(bytes.data(), whole);
        if (!main.write(kCountOffset, bytes).ok()) return failed;
        dropped = count - whole;
        count = whole;
    }
    const std::int64_t end = facts.layout.dataOffset + std::int64_t{count} * facts.recordLength();
    if (facts.size > end && !main.truncate(end).ok()) return failed;
    return {};
}

// ---- Auxiliary file --------------------------------------------------------

bool openAuxFile(TableFile& aux, const std::string& mainPath, bool write, ShareMode share,
                 Findings& findings) {
    std::string path = auxiliaryPath(mainPath);
    Status status = aux.open(path, write, false, share);
    if (status.is(error::kFileNotFound)) {
        path = platform::resolveIgnoringCase(aux.fileSystem(), path);
        status = aux.open(path, write, false, share);
    }
    if (status.ok()) return true;
    findings.add(auxUnreadable("the auxiliary file is missing or cannot be opened"));
    return false;
}

bool checkAuxHeader(TableFile& aux, AuxFacts& facts, Findings& findings) {
    std::array<std::uint8_t, kAuxHeaderSize> header;
    std::size_t got = 0;
    if (!aux.read(0, header, got).ok() || got < header.size() || !hasMagic(header, kAuxMagic)) {
        findings.add(auxUnreadable("the auxiliary file is short or has another magic"));
        return false;
    }
    facts.version = loadI32(&header[kAuxVersionOffset]);
    facts.blockCount = loadI32(&header[kAuxBlockCountOffset]);
    facts.freeCount = loadI32(&header[kAuxFreeCountOffset]);
    facts.freeHead = loadI32(&header[kAuxFreeHeadOffset]);
    if (facts.blockCount < 1 || facts.blockCount > kMaxBlockCount || facts.freeCount < 0 ||
        facts.freeCount > facts.blockCount - 1 || facts.freeHead < 0 ||
        facts.freeHead > facts.blockCount - 1) {
        findings.add(
            auxUnreadable("the auxiliary header's block count or free list is out of range"));
        return false;
    }
    if (!aux.size(facts.size).ok()) {
        findings.add(auxUnreadable("the length of the auxiliary file cannot be read"));
        return false;
    }
    if (facts.size > kMaxFileSize) {
        findings.add(auxUnreadable("the auxiliary file is larger than 2 GiB"));
        return false;
    }
    return true;
}

bool checkAuxVersion(const AuxFacts& facts, std::int32_t mainVersion, Findings& findings) {
    if (facts.version == mainVersion) return true;
    findings.add({error::kAuxVersionMismatch, false,
                  "the auxiliary file's version differs from the main file's"});
    return true;  // its blocks can be read all the same
}

bool checkAuxBlocks(const AuxFacts& facts, Findings& findings) {
    const std::int64_t wanted =
        static_cast<std::int64_t>(facts.blockCount) * static_cast<std::int64_t>(kBlockSize);
    if (facts.size < wanted) {
        findings.add({error::kAuxDamaged, true,
                      "the auxiliary file holds fewer blocks than its count " +
                          std::to_string(facts.blockCount)});
    } else if (facts.size > wanted) {
        findings.add({error::kOk, false,
                      std::to_string(facts.size - wanted) +
                          " bytes lie after the auxiliary file's last block (unused; left by an "
                          "operation that was cut short)"});
    }
    return true;
}

bool checkAuxFile(TableFile& aux, std::int32_t mainVersion, AuxFacts& facts, Findings& findings) {
    return checkAuxHeader(aux, facts, findings) && !findings.refused() &&
           checkAuxVersion(facts, mainVersion, findings) && !findings.refused() &&
           checkAuxBlocks(facts, findings) && !findings.refused();
}

Status repairAuxBlocks(TableFile& aux, const AuxFacts& facts) {
    if (facts.size >=
        static_cast<std::int64_t>(facts.blockCount) * static_cast<std::int64_t>(kBlockSize)) {
        return {};
    }
    // A header block that is not whole still counts as block 0.
    std::array<std::uint8_t, 4> count;
    storeI32(count.data(), facts.wholeBlocks());
    if (!aux.write(kAuxBlockCountOffset, count).ok()) return Status::fail(error::kAuxReadFailed);
    return {};
}

}  // namespace qinghe::recordstore
