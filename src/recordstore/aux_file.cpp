#include "recordstore/aux_file.h"

#include <algorithm>
#include <array>

#include "recordstore/format.h"

namespace qinghe::recordstore {
namespace {

using namespace format;

constexpr std::int64_t blockOffset(std::int32_t block) {
    return static_cast<std::int64_t>(block) * static_cast<std::int64_t>(kBlockSize);
}

}  // namespace

std::vector<std::uint8_t> AuxFile::newFileBytes(std::int32_t version, double created) {
    std::vector<std::uint8_t> bytes(kBlockSize, 0);
    std::copy(kAuxMagic.begin(), kAuxMagic.end(), bytes.begin());
    storeI32(&bytes[kAuxVersionOffset], version);
    storeDouble(&bytes[kAuxCreatedOffset], created);
    storeI32(&bytes[kAuxBlockCountOffset], 1);
    return bytes;
}

Status AuxFile::readLists(Lists& lists) {
    std::array<std::uint8_t, kAuxListSize> bytes;
    if (!file_.readExact(kAuxBlockCountOffset, bytes, error::kAuxAccessFailed).ok()) {
        return Status::fail(error::kAuxAccessFailed);
    }
    lists = {loadI32(&bytes[0]), loadI32(&bytes[4]), loadI32(&bytes[8])};
    if (lists.blockCount < 1) return Status::fail(error::kAuxAccessFailed);
    return {};
}

Status AuxFile::writeLists(const Lists& lists) {
    std::array<std::uint8_t, kAuxListSize> bytes;
    storeI32(&bytes[0], lists.blockCount);
    storeI32(&bytes[4], lists.freeCount);
    storeI32(&bytes[8], lists.freeHead);
    return file_.write(kAuxBlockCountOffset, bytes);
}

Status AuxFile::chainBlocks(std::int32_t firstBlock, std::int32_t blockLimit,
                            std::vector<std::int32_t>& blocks) {
    const Status broken = Status::fail(error::kAuxAccessFailed);
    blocks.clear();
    std::array<std::uint8_t, kBlockDataOffset> head;
    for (std::int32_t block = firstBlock; block != 0;) {
        if (block < 1 || block >= blockLimit ||
            blocks.size() >= static_cast<std::size_t>(blockLimit)) {
            return broken;
        }
        if (!file_.readExact(blockOffset(block), head, error::kAuxAccessFailed).ok()) return broken;
        blocks.push_back(block);
        block = loadI32(&head[kBlockNextOffset]);
    }
    return {};
}

Status AuxFile::readValue(std::int32_t firstBlock, std::vector<std::uint8_t>& value) {
    const Status broken = Status::fail(error::kAuxAccessFailed);
    value.clear();
    if (firstBlock == 0) return {};
    std::int64_t size = 0;
    if (!file_.size(size).ok()) return broken;
    // The blocks present bound the chain. Each block names the one before
    // it: a chain that returns to one of its blocks (a circle) or runs into
    // another value or a hole is broken at its first such block.
    auto limit = static_cast<std::size_t>(size / static_cast<std::int64_t>(kBlockSize));
    std::array<std::uint8_t, kBlockSize> block;
    std::int32_t previous = 0;
    for (std::int32_t n = firstBlock; n != 0;) {
        if (n < 1 || static_cast<std::size_t>(n) >= limit) return broken;
        if (!file_.readExact(blockOffset(n), block, error::kAuxAccessFailed).ok()) return broken;
        std::int32_t used = loadI32(&block[kBlockUsedOffset]);
        if (used < 0 || used > static_cast<std::int32_t>(kBlockDataSize) ||
            loadI32(&block[kBlockPrevOffset]) != previous) {
            return broken;
        }
        value.insert(value.end(), block.begin() + kBlockDataOffset,
                     block.begin() + kBlockDataOffset + used);
        previous = n;
        n = loadI32(&block[kBlockNextOffset]);
    }
    return {};
}

Status AuxFile::freeBlocks(const Lists& lists, std::vector<std::int32_t>& blocks) {
    return takeFree(lists, lists.freeCount, blocks, nullptr);
}

Status AuxFile::takeFree(const Lists& lists, std::int32_t wanted, std::vector<std::int32_t>& blocks,
                         std::int32_t* nextHead) {
    const Status broken = Status::fail(error::kAuxAccessFailed);
    blocks.clear();
    std::array<std::uint8_t, kBlockDataOffset> head;
    // A list that returns to a block it has given is in a circle: found at
    // the first return, not after the count it claims.
    std::vector<bool> seen;
    auto seenBefore = [&](std::int32_t b) {
        if (seen.empty()) seen.resize(static_cast<std::size_t>(lists.blockCount));
        return seen[static_cast<std::size_t>(b)];
    };
    std::int32_t block = lists.freeHead;
    for (std::int32_t i = 0; i < std::min(wanted, lists.freeCount); ++i) {
        if (block < 1 || block >= lists.blockCount || seenBefore(block)) return broken;
        if (!file_.readExact(blockOffset(block), head, error::kAuxAccessFailed).ok()) return broken;
        seen[static_cast<std::size_t>(block)] = true;
        blocks.push_back(block);
        block = loadI32(&head[kBlockNextOffset]);
    }
    if (nextHead) {
        const bool more = static_cast<std::int32_t>(blocks.size()) < lists.freeCount;
        if (more && (block < 1 || block >= lists.blockCount || seenBefore(block))) return broken;
        *nextHead = more ? block : 0;
    }
    return {};
}

Status AuxFile::chooseBlocks(std::size_t needed, const Lists& lists,
                             std::vector<std::int32_t>& blocks, Lists& after) {
    if (needed > static_cast<std::size_t>(INT32_MAX)) return Status::fail(error::kDiskFull);
    after = lists;
    // Only the heads of the free blocks taken are read, not the whole list.
    if (Status status = takeFree(lists, static_cast<std::int32_t>(needed), blocks, &after.freeHead);
        !status.ok()) {
        return status;
    }
    after.freeCount = lists.freeCount - static_cast<std::int32_t>(blocks.size());
    while (blocks.size() < needed) {
        if (after.blockCount >= kMaxBlockCount) return Status::fail(error::kDiskFull);
        blocks.push_back(after.blockCount++);
    }
    return {};
}

Status AuxFile::writeBlock(std::span<const std::uint8_t> value,
                           std::span<const std::int32_t> blocks, std::size_t i) {
    std::array<std::uint8_t, kBlockSize> block{};
    const std::size_t from = i * kBlockDataSize;
    const std::size_t used = std::min(kBlockDataSize, value.size() - from);
    storeI32(&block[kBlockPrevOffset], i == 0 ? 0 : blocks[i - 1]);
    storeI32(&block[kBlockNextOffset], i + 1 < blocks.size() ? blocks[i + 1] : 0);
    storeI32(&block[kBlockUsedOffset], static_cast<std::int32_t>(used));
    std::copy_n(value.begin() + static_cast<std::ptrdiff_t>(from), used,
                block.begin() + kBlockDataOffset);
    return file_.write(blockOffset(blocks[i]), block);
}

Status AuxFile::writeValue(std::span<const std::uint8_t> value, std::int32_t& firstBlock) {
    firstBlock = 0;
    if (value.empty()) return {};
    Lists lists, after;
    if (Status status = readLists(lists); !status.ok()) return status;
    std::vector<std::int32_t> blocks;
    const std::size_t needed = (value.size() + kBlockDataSize - 1) / kBlockDataSize;
    if (Status status = chooseBlocks(needed, lists, blocks, after); !status.ok()) return status;
    const auto reused = static_cast<std::size_t>(lists.freeCount - after.freeCount);
    // New blocks first: past the counted blocks they are nothing to anyone
    // until the header counts them. Then the header, and only then the free
    // blocks taken: they leave the free list before they are overwritten, so
    // that a crash in between leaks them rather than leaving the list running
    // into the new value's chain.
    Status status;
    for (std::size_t i = reused; i < needed && status.ok(); ++i) {
        status = writeBlock(value, blocks, i);
    }
    if (status.ok()) status = writeLists(after);
    if (!status.ok()) return undoGrowth(lists, status);
    for (std::size_t i = 0; i < reused; ++i) {
        if (status = writeBlock(value, blocks, i); !status.ok()) {
            // Blocks 0 to i lost their links to the rest of the list (the
            // failed write may have torn block i): they stay leaked, and the
            // list goes on from the first block not touched.
            Lists back = lists;
            back.freeCount -= static_cast<std::int32_t>(i + 1);
            back.freeHead = back.freeCount == 0 ? 0
                            : i + 1 < reused    ? blocks[i + 1]
                                                : after.freeHead;
            if (!writeLists(back).ok()) return status;  // the header still counts them
            return undoGrowth(lists, status);
        }
    }
    firstBlock = blocks.front();
    return {};
}

Status AuxFile::undoGrowth(const Lists& before, Status failure) {
    // Blocks written past the old count are cut off again; when that fails
    // too they are bytes after the last block, which nothing reads.
    std::int64_t size = 0;
    if (file_.size(size).ok() && size > blockOffset(before.blockCount)) {
        (void)file_.truncate(blockOffset(before.blockCount));
    }
    return failure;
}

Status AuxFile::freeValues(std::span<const std::int32_t> firstBlocks) {
    Lists lists;
    if (Status status = readLists(lists); !status.ok()) return status;
    std::vector<std::int32_t> free;
    if (Status status = freeBlocks(lists, free); !status.ok()) return status;
    std::vector<std::int32_t> chain;
    for (std::int32_t first : firstBlocks) {
        // A chain that cannot be followed is left where it lies (unused
        // blocks, which table check reports).
        if (first == 0 || !chainBlocks(first, lists.blockCount, chain).ok()) continue;
        free.insert(free.end(), chain.begin(), chain.end());
    }
    std::sort(free.begin(), free.end());
    if (std::adjacent_find(free.begin(), free.end()) != free.end()) {
        return Status::fail(error::kAuxAccessFailed);  // a block in two chains, or free and in use
    }
    Lists after = lists;
    while (!free.empty() && free.back() == after.blockCount - 1) {
        free.pop_back();
        --after.blockCount;
    }
    // Linked in ascending order, so that low blocks are reused first.
    std::array<std::uint8_t, kBlockDataOffset> head{};
    for (std::size_t i = 0; i < free.size(); ++i) {
        storeI32(&head[kBlockNextOffset], i + 1 < free.size() ? free[i + 1] : 0);
        if (Status status = file_.write(blockOffset(free[i]), head); !status.ok()) return status;
    }
    after.freeCount = static_cast<std::int32_t>(free.size());
    after.freeHead = free.empty() ? 0 : free.front();
    if (Status status = writeLists(after); !status.ok()) return status;
    if (after.blockCount < lists.blockCount) return file_.truncate(blockOffset(after.blockCount));
    return {};
}

Status AuxFile::blocksRelinkedByFree(std::span<const std::int32_t> firstBlocks,
                                     std::vector<std::int32_t>& blocks) {
    Lists lists;
    if (Status status = readLists(lists); !status.ok()) return status;
    if (Status status = freeBlocks(lists, blocks); !status.ok()) return status;
    std::vector<std::int32_t> chain;
    for (std::int32_t first : firstBlocks) {
        if (first == 0 || !chainBlocks(first, lists.blockCount, chain).ok()) continue;
        blocks.insert(blocks.end(), chain.begin(), chain.end());
    }
    return {};
}

Status AuxFile::reset() {
    if (Status status = writeLists({1, 0, 0}); !status.ok()) return status;
    return file_.truncate(static_cast<std::int64_t>(kBlockSize));
}

}  // namespace qinghe::recordstore
