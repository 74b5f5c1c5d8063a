// The password cipher of a table.
//
// A table with a password has both of its files enciphered from offset 4 to
// the end; the 4-byte magic stays plain. Enciphering is an exclusive-or with
// a keystream that depends only on the password and the file offset, so the
// same call enciphers and deciphers, and any range can be processed on its
// own. With P the password's GBK bytes:
//
//   base stream  RC4 over key P (the key schedule runs cyclically over P)
//   check string D: MD5(P) as 16 bytes from last to first, each as two
//                lowercase hex digits (32 characters); stored in the header
//   block b      file offsets 4096*b .. 4096*b+4095
//   K(b)         the little-endian uint32 at bytes 4b..4b+3 of the base stream
//   block key    K(b) (4 bytes LE), D (32 bytes), K(b) xor b (4 bytes LE)
//   keystream(b) RC4 over the block key, its first 36 output bytes dropped;
//                byte o of the block is combined with keystream byte o
//
// Costs: the base stream is generated once, as far as the highest block used.
// A range that covers a whole block is processed straight from a fresh key
// schedule; the keystreams of partly covered blocks are kept in a small
// cache, so that the short reads and writes of record work (a record, the
// count at offset 16) pay for a key schedule only once per block.
//
// A Cipher is not thread-safe (its caches change on every call); the main
// and auxiliary files of one table may share one, since the keystream of an
// offset is the same in both.
#pragma once

#include <nettle/arcfour.h>

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "recordstore/format.h"

namespace qinghe::recordstore {

// The 32-character check string D of a password (see above).
std::string passwordCheckString(std::string_view password);

class Cipher {
public:
    // `password` must not be empty: an empty password means no cipher.
    explicit Cipher(std::string_view password);

    const std::string& checkString() const { return check_; }

    // Enciphers (or deciphers) `data`, which lies at file offset `offset`.
    // Bytes below offset 4 are left as they are.
    void apply(std::uint64_t offset, std::span<std::uint8_t> data);

private:
    static constexpr std::size_t kCacheEntries = 16;
    struct CachedBlock {
        std::uint64_t block = UINT64_MAX;
        std::array<std::uint8_t, format::kCipherBlockSize> stream{};
    };

    // Key schedule of block b, with the dropped bytes already discarded.
    void startBlock(std::uint64_t block, arcfour_ctx& ctx);
    std::uint32_t blockWord(std::uint64_t block);
    const std::uint8_t* cachedStream(std::uint64_t block);

    std::string check_;
    arcfour_ctx base_{};
    std::vector<std::uint8_t> baseStream_;  // base output generated so far
    std::unique_ptr<std::array<CachedBlock, kCacheEntries>> cache_;
};

}  // namespace qinghe::recordstore
