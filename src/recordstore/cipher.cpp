#include "recordstore/cipher.h"

#include <nettle/arcfour.h>
#include <nettle/md5.h>
#include <nettle/memxor.h>

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace qinghe::recordstore {
namespace {

constexpr std::size_t kBlockKeySize = 40;  // K(b), D, K(b) xor b
constexpr std::size_t kDroppedBytes = 36;  // keystream bytes discarded after the key schedule
constexpr std::size_t kBaseWordSize = 4;   // base-stream bytes per block
constexpr std::size_t kBaseChunk = 4096;   // base stream grows by this many bytes at a time

using BlockStream = std::array<std::uint8_t, format::kCipherBlockSize>;

// Zero bytes to run the generator over: RC4 output xor 0 is the keystream.
constexpr BlockStream kZeros{};

void keystream(arcfour_ctx& ctx, std::uint8_t* out, std::size_t length) {
    while (length > 0) {
        std::size_t n = std::min(length, kZeros.size());
        arcfour_crypt(&ctx, n, out, kZeros.data());
        out += n;
        length -= n;
    }
}

void discard(arcfour_ctx& ctx, std::size_t length) {
    BlockStream sink;
    while (length > 0) {
        std::size_t n = std::min(length, sink.size());
        keystream(ctx, sink.data(), n);
        length -= n;
    }
}

}  // namespace

struct Cipher::Keystreams {
    std::mutex mutex;
    std::string check;
    arcfour_ctx base{};
    std::vector<std::uint8_t> baseStream;  // base output generated so far
    std::unordered_map<std::uint64_t, std::unique_ptr<BlockStream>> blocks;

    std::uint32_t blockWord(std::uint64_t block) {
        std::size_t needed = static_cast<std::size_t>((block + 1) * kBaseWordSize);
        if (baseStream.size() < needed) {
            std::size_t grown = (needed + kBaseChunk - 1) / kBaseChunk * kBaseChunk;
            std::size_t old = baseStream.size();
            baseStream.resize(grown);
            keystream(base, baseStream.data() + old, grown - old);
        }
        return static_cast<std::uint32_t>(format::loadI32(&baseStream[block * kBaseWordSize]));
    }

    // Key schedule of block b, with the dropped bytes already discarded.
    void startBlock(std::uint64_t block, arcfour_ctx& ctx) {
        std::uint32_t word = blockWord(block);
        std::array<std::uint8_t, kBlockKeySize> key;
        format::storeI32(key.data(), static_cast<std::int32_t>(word));
        std::copy(check.begin(), check.end(), key.begin() + 4);
        format::storeI32(key.data() + 4 + format::kCheckStringLength,
                         static_cast<std::int32_t>(word ^ static_cast<std::uint32_t>(block)));
        arcfour_set_key(&ctx, key.size(), key.data());
        discard(ctx, kDroppedBytes);
    }
};

namespace {

// Every password's keystreams, and the bytes cached over all of them.
struct Cache {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<Cipher::Keystreams>> byPassword;
    std::size_t bytes = 0;
};

Cache& cache() {
    static Cache c;
    return c;
}

// Reserves room for one more block in the process-wide budget.
bool reserveBlock() {
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    if (c.bytes + format::kCipherBlockSize > kKeystreamCacheBytes) return false;
    c.bytes += format::kCipherBlockSize;
    return true;
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

Cipher::Cipher(std::string_view password) : check_(passwordCheckString(password)) {
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    auto& streams = c.byPassword[std::string(password)];
    if (!streams) {
        streams = std::make_shared<Keystreams>();
        streams->check = check_;
        // RC4 uses key bytes 0..255 only (its schedule runs 256 steps), so a
        // longer password keys the same base state as its first 256 bytes.
        std::size_t keyLength = std::min<std::size_t>(password.size(), ARCFOUR_MAX_KEY_SIZE);
        arcfour_set_key(&streams->base, keyLength,
                        reinterpret_cast<const std::uint8_t*>(password.data()));
    }
    streams_ = streams;
}

void Cipher::apply(std::uint64_t offset, std::span<std::uint8_t> data) {
    if (offset < format::kCipherStart) {
        std::size_t plain = std::min<std::size_t>(data.size(), format::kCipherStart - offset);
        data = data.subspan(plain);
        offset += plain;
    }
    Keystreams& s = *streams_;
    std::lock_guard lock(s.mutex);
    while (!data.empty()) {
        std::uint64_t block = offset / format::kCipherBlockSize;
        std::size_t within = static_cast<std::size_t>(offset % format::kCipherBlockSize);
        std::size_t n = std::min(data.size(), format::kCipherBlockSize - within);
        auto found = s.blocks.find(block);
        if (found == s.blocks.end() && reserveBlock()) {
            auto stream = std::make_unique<BlockStream>();
            arcfour_ctx ctx;
            s.startBlock(block, ctx);
            keystream(ctx, stream->data(), stream->size());
            found = s.blocks.emplace(block, std::move(stream)).first;
        }
        if (found != s.blocks.end()) {
            memxor(data.data(), found->second->data() + within, n);
        } else {
            arcfour_ctx ctx;
            s.startBlock(block, ctx);
            discard(ctx, within);
            arcfour_crypt(&ctx, n, data.data(), data.data());
        }
        data = data.subspan(n);
        offset += n;
    }
}

void dropKeystreamCache() {
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    for (auto& [password, streams] : c.byPassword) {
        std::lock_guard streamLock(streams->mutex);
        streams->blocks.clear();
    }
    c.byPassword.clear();
    c.bytes = 0;
}

}  // namespace qinghe::recordstore
