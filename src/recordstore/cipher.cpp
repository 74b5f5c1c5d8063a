#include "recordstore/cipher.h"

#include <nettle/md5.h>
#include <nettle/memxor.h>

#include <algorithm>

namespace qinghe::recordstore {
namespace {

constexpr std::size_t kBlockKeySize = 40;  // K(b), D, K(b) xor b
constexpr std::size_t kDroppedBytes = 36;  // keystream bytes discarded after the key schedule
constexpr std::size_t kBaseWordSize = 4;   // base-stream bytes per block
constexpr std::size_t kBaseChunk = 4096;   // base stream grows by this many bytes at a time

// Zero bytes to run the generator over: RC4 output xor 0 is the keystream.
constexpr std::array<std::uint8_t, format::kCipherBlockSize> kZeros{};

void keystream(arcfour_ctx& ctx, std::uint8_t* out, std::size_t length) {
    arcfour_crypt(&ctx, length, out, kZeros.data());
}

void discard(arcfour_ctx& ctx, std::size_t length) {
    std::array<std::uint8_t, format::kCipherBlockSize> sink;
    while (length > 0) {
        std::size_t n = std::min(length, sink.size());
        keystream(ctx, sink.data(), n);
        length -= n;
    }
}

}  // namespace

std::string passwordCheckString(std::string_view password) {
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, password.size(), reinterpret_cast<const std::uint8_t*>(password.data()));
    std::array<std::uint8_t, MD5_DIGEST_SIZE> digest;
    md5_digest(&ctx, digest.size(), digest.data());
    static constexpr char kHex[] = "0123456789abcdef";
    std::string check;
    for (auto it = digest.rbegin(); it != digest.rend(); ++it) {
        check += kHex[*it >> 4];
        check += kHex[*it & 0xF];
    }
    return check;
}

Cipher::Cipher(std::string_view password)
    : check_(passwordCheckString(password)),
      cache_(std::make_unique<std::array<CachedBlock, kCacheEntries>>()) {
    // RC4 uses key bytes 0..255 only (its schedule runs 256 steps), so a
    // longer password keys the same base state as its first 256 bytes.
    std::size_t keyLength = std::min<std::size_t>(password.size(), ARCFOUR_MAX_KEY_SIZE);
    arcfour_set_key(&base_, keyLength, reinterpret_cast<const std::uint8_t*>(password.data()));
}

std::uint32_t Cipher::blockWord(std::uint64_t block) {
    std::size_t needed = static_cast<std::size_t>((block + 1) * kBaseWordSize);
    if (baseStream_.size() < needed) {
        std::size_t grown = (needed + kBaseChunk - 1) / kBaseChunk * kBaseChunk;
        std::size_t old = baseStream_.size();
        baseStream_.resize(grown);
        keystream(base_, baseStream_.data() + old, grown - old);
    }
    return static_cast<std::uint32_t>(format::loadI32(&baseStream_[block * kBaseWordSize]));
}

void Cipher::startBlock(std::uint64_t block, arcfour_ctx& ctx) {
    std::uint32_t word = blockWord(block);
    std::array<std::uint8_t, kBlockKeySize> key;
    format::storeI32(key.data(), static_cast<std::int32_t>(word));
    std::copy(check_.begin(), check_.end(), key.begin() + 4);
    format::storeI32(key.data() + 4 + format::kCheckStringLength,
                     static_cast<std::int32_t>(word ^ static_cast<std::uint32_t>(block)));
    arcfour_set_key(&ctx, key.size(), key.data());
    discard(ctx, kDroppedBytes);
}

const std::uint8_t* Cipher::cachedStream(std::uint64_t block) {
    CachedBlock& entry = (*cache_)[block % kCacheEntries];
    if (entry.block != block) {
        arcfour_ctx ctx;
        startBlock(block, ctx);
        keystream(ctx, entry.stream.data(), entry.stream.size());
        entry.block = block;
    }
    return entry.stream.data();
}

void Cipher::apply(std::uint64_t offset, std::span<std::uint8_t> data) {
    if (offset < format::kCipherStart) {
        std::size_t plain = std::min<std::size_t>(data.size(), format::kCipherStart - offset);
        data = data.subspan(plain);
        offset += plain;
    }
    while (!data.empty()) {
        std::uint64_t block = offset / format::kCipherBlockSize;
        std::size_t within = static_cast<std::size_t>(offset % format::kCipherBlockSize);
        std::size_t n = std::min(data.size(), format::kCipherBlockSize - within);
        if (n == format::kCipherBlockSize) {
            arcfour_ctx ctx;
            startBlock(block, ctx);
            arcfour_crypt(&ctx, n, data.data(), data.data());
        } else {
            memxor(data.data(), cachedStream(block) + within, n);
        }
        data = data.subspan(n);
        offset += n;
    }
}

}  // namespace qinghe::recordstore
