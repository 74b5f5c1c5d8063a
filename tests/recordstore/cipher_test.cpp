#include "recordstore/cipher.h"

#include <gtest/gtest.h>
#include <nettle/arcfour.h>

#include <numeric>
#include <vector>

namespace qinghe::recordstore {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(PasswordCheckString, IsTheDigestWithItsBytesReversed) {
    // MD5("abc") = 900150983cd24fb0d6963f7d28e17f72
    EXPECT_EQ(passwordCheckString("abc"), "727fe1287d3f96d6b04fd23c98500190");
    // MD5("") = d41d8cd98f00b204e9800998ecf8427e
    EXPECT_EQ(passwordCheckString(""), "7e42f8ec980980e904b2008fd98c1dd4");
}

// The keystream of one block built step by step from its description.
Bytes referenceBlockStream(const std::string& password, std::uint32_t block) {
    arcfour_ctx base;
    arcfour_set_key(&base, password.size(), reinterpret_cast<const std::uint8_t*>(password.data()));
    Bytes baseStream((block + 1) * 4, 0);
    arcfour_crypt(&base, baseStream.size(), baseStream.data(), baseStream.data());
    auto k = static_cast<std::uint32_t>(format::loadI32(&baseStream[block * 4]));
    std::string check = passwordCheckString(password);
    Bytes key;
    for (int i = 0; i < 4; ++i) key.push_back(static_cast<std::uint8_t>(k >> (8 * i)));
    key.insert(key.end(), check.begin(), check.end());
    for (int i = 0; i < 4; ++i) key.push_back(static_cast<std::uint8_t>((k ^ block) >> (8 * i)));
    arcfour_ctx ctx;
    arcfour_set_key(&ctx, key.size(), key.data());
    Bytes stream(36 + 4096, 0);
    arcfour_crypt(&ctx, stream.size(), stream.data(), stream.data());
    return Bytes(stream.begin() + 36, stream.end());
}

TEST(Cipher, KeystreamFollowsTheBlockKeyConstruction) {
    for (std::uint32_t block : {0u, 1u, 7u, 300u}) {
        Cipher cipher("pässwort");
        Bytes data(4096, 0);
        cipher.apply(std::uint64_t{block} * 4096, data);
        Bytes expected = referenceBlockStream("pässwort", block);
        if (block == 0) std::fill_n(expected.begin(), 4, 0);  // the magic stays plain
        EXPECT_EQ(data, expected) << "block " << block;
    }
}

TEST(Cipher, AnyRangeEqualsTheSliceOfTheWholeBlocks) {
    Bytes plain(3 * 4096 + 100);
    std::iota(plain.begin(), plain.end(), 0);
    Bytes whole = plain;
    Cipher(std::string("secret")).apply(0, whole);

    struct Range {
        std::size_t offset, length;
    };
    // Unaligned, crossing block ends, tiny, starting inside the magic.
    for (Range r : {Range{4097, 10}, Range{4000, 300}, Range{5, 1}, Range{2, 10}, Range{8191, 4098},
                    Range{0, plain.size()}}) {
        Cipher cipher("secret");
        // Warm the cache with a neighbouring range first, as records work does.
        Bytes warm(8);
        cipher.apply(r.offset + 1, warm);
        Bytes part(plain.begin() + static_cast<std::ptrdiff_t>(r.offset),
                   plain.begin() + static_cast<std::ptrdiff_t>(r.offset + r.length));
        cipher.apply(r.offset, part);
        EXPECT_TRUE(std::equal(part.begin(), part.end(),
                               whole.begin() + static_cast<std::ptrdiff_t>(r.offset)))
            << "offset " << r.offset << " length " << r.length;
    }
}

TEST(Cipher, ApplyingTwiceGivesThePlainBytesBack) {
    Bytes plain(10000, 0x5A);
    Bytes data = plain;
    Cipher cipher("x");
    cipher.apply(123, data);
    EXPECT_NE(data, plain);
    cipher.apply(123, data);
    EXPECT_EQ(data, plain);
}

TEST(Cipher, BlocksBeyondTheCacheBudgetAreGeneratedAfresh) {
    dropKeystreamCache();
    Cipher cipher("budget");
    Bytes big(kKeystreamCacheBytes + 3 * 4096, 0);
    cipher.apply(0, big);  // fills the cache; the last blocks stay uncached
    std::uint64_t block = big.size() / 4096 - 1;
    Bytes expected = referenceBlockStream("budget", static_cast<std::uint32_t>(block));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), big.end() - 4096));
    Bytes part(100, 0);
    cipher.apply(block * 4096 + 1000, part);
    EXPECT_TRUE(std::equal(part.begin(), part.end(), expected.begin() + 1000));
    dropKeystreamCache();
}

TEST(Cipher, PasswordsLongerThanTheKeyScheduleAreAccepted) {
    // RC4 keys stop at 256 bytes; a longer password must not reach past that.
    Bytes data(64, 0);
    Cipher(std::string(300, 'p')).apply(4096, data);
    Bytes same(64, 0);
    Cipher(std::string(256, 'p')).apply(4096, same);
    EXPECT_NE(data, same);  // the check string (all 300 bytes) keys the blocks
}

}  // namespace
}  // namespace qinghe::recordstore
