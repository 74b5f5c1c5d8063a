// The auxiliary block file of a table: memo and byte-array values in chains
// of 512-byte blocks, with a list of free blocks (format.h, FORMAT.md).
//
// Chains are read defensively: a block number outside the file, a used count
// above 500, a short block or a chain longer than the file has blocks (a
// cycle) ends the read with -59. Nothing read from the file makes an
// allocation larger than the file itself.
//
// Writing (a new value, freeing values, emptying) changes the header's block
// count and free list; the caller holds the main file's count lock or its
// whole-table lock, which serialises these changes between processes. New
// blocks are written before the header that lists them, and a value's
// blocks are freed only after the records that named them are gone, so an
// interrupted write can leak blocks but never hand one block to two values.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "recordstore/table_file.h"

namespace qinghe::recordstore {

class AuxFile {
  public:
    explicit AuxFile(TableFile& file) : file_(file) {}

    // The 512-byte header block of a new auxiliary file.
    static std::vector<std::uint8_t> newFileBytes(std::int32_t version, double created);

    // The value whose chain starts at `firstBlock` (0: empty).
    Status readValue(std::int32_t firstBlock, std::vector<std::uint8_t>& value);
    // Writes a value into new blocks (free blocks first) and gives the number
    // of its first block (0 for an empty value).
    Status writeValue(std::span<const std::uint8_t> value, std::int32_t& firstBlock);
    // Puts the blocks of every chain on the free list and cuts free blocks at
    // the end of the file off. A chain that cannot be followed (broken, or
    // in a circle) is left as it is.
    Status freeValues(std::span<const std::int32_t> firstBlocks);
    // The blocks whose heads freeValues(firstBlocks) rewrites: those on the
    // free list and those of the chains (for the undo log that guards it).
    Status blocksRelinkedByFree(std::span<const std::int32_t> firstBlocks,
                                std::vector<std::int32_t>& blocks);
    // Block count 1, empty free list, file cut to its header block.
    Status reset();

  private:
    struct Lists {
        std::int32_t blockCount = 0;
        std::int32_t freeCount = 0;
        std::int32_t freeHead = 0;
    };
    Status readLists(Lists& lists);
    Status writeLists(const Lists& lists);
    // The blocks of a chain, checked against `blockLimit`.
    Status chainBlocks(std::int32_t firstBlock, std::int32_t blockLimit,
                       std::vector<std::int32_t>& blocks);
    Status freeBlocks(const Lists& lists, std::vector<std::int32_t>& blocks);
    // The first `wanted` blocks of the free list (fewer when it is shorter),
    // reading only their heads; with `nextHead`, also the block the list goes
    // on with after them (0 when none).
    Status takeFree(const Lists& lists, std::int32_t wanted, std::vector<std::int32_t>& blocks,
                    std::int32_t* nextHead);
    // The blocks of a value of `needed` blocks: free ones first, then new
    // ones past the block count; `after` the lists once they are taken.
    Status chooseBlocks(std::size_t needed, const Lists& lists, std::vector<std::int32_t>& blocks,
                        Lists& after);
    // Writes block `i` of the chain `blocks` that holds `value`.
    Status writeBlock(std::span<const std::uint8_t> value, std::span<const std::int32_t> blocks,
                      std::size_t i);
    // After a failed write of a value: cuts blocks written past the block
    // count of `before` off again; gives `failure`.
    Status undoGrowth(const Lists& before, Status failure);

    TableFile& file_;
};

}  // namespace qinghe::recordstore
