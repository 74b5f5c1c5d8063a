// Undo logs written from their description in FORMAT.md (Durability), not by
// the record store's own writer: for tests that put crafted or stale logs
// beside a table, and for the fuzz target.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qinghe::recordstore::testing {

class UndoLogBytes {
  public:
    enum Part : std::uint8_t { Main = 0, Aux = 1 };

    // Kind 1: bytes to write back at `offset`.
    UndoLogBytes& savedBytes(Part part, std::int64_t offset,
                             const std::vector<std::uint8_t>& bytes) {
        head(1, part, offset, bytes.size());
        body_.insert(body_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // Kind 2: the length to cut or extend the file to.
    UndoLogBytes& savedLength(Part part, std::int64_t length) {
        head(2, part, length, 0);
        return *this;
    }
    // Kind 3: `from` replaces `to`, both names in the table's directory.
    UndoLogBytes& rename(const std::string& from, const std::string& to) {
        head(3, Main, 0, 8 + from.size() + to.size());
        for (const std::string* name : {&from, &to}) {
            put(name->size(), 4);
            body_.insert(body_.end(), name->begin(), name->end());
        }
        return *this;
    }
    // The version the header gives (1 unless set).
    UndoLogBytes& version(std::int32_t version) {
        version_ = version;
        return *this;
    }
    // Bytes appended to the body as they stand, counted as `entries` entries
    // (damaged or foreign ones).
    UndoLogBytes& raw(const std::vector<std::uint8_t>& bytes, int entries = 1) {
        body_.insert(body_.end(), bytes.begin(), bytes.end());
        entries_ += entries;
        return *this;
    }

    // The whole log: the 32-byte header (magic, version, entry count, body
    // length, checksum of the body) and the body.
    std::vector<std::uint8_t> bytes() const {
        std::vector<std::uint8_t> out = {'W', 'E', 'D', 'J'};
        append(out, static_cast<std::uint32_t>(version_), 4);
        append(out, static_cast<std::uint64_t>(entries_), 4);
        append(out, 0, 4);
        append(out, body_.size(), 8);
        append(out, checksum(body_), 8);
        out.insert(out.end(), body_.begin(), body_.end());
        return out;
    }

    // The checksum of FORMAT.md: the body as little-endian 8-byte words, the
    // last one padded with zeros (a body whose length is a multiple of 8 ends
    // with a zero word), then its length, each mixed in as
    // h = (h xor w) * 0x9E3779B97F4A7C15; h ^= h >> 29, from 0x51494E4748454A4E.
    static std::uint64_t checksum(const std::vector<std::uint8_t>& body) {
        std::uint64_t h = 0x51494E4748454A4EULL;
        auto mix = [&h](std::uint64_t w) {
            h = (h ^ w) * 0x9E3779B97F4A7C15ULL;
            h ^= h >> 29;
        };
        std::size_t whole = body.size() / 8 * 8;
        for (std::size_t at = 0; at <= whole; at += 8) {
            std::uint64_t w = 0;
            for (std::size_t i = 0; i < 8 && at + i < body.size(); ++i) {
                w |= static_cast<std::uint64_t>(body[at + i]) << (8 * i);
            }
            mix(w);
        }
        mix(body.size());
        return h;
    }

  private:
    static void append(std::vector<std::uint8_t>& out, std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void put(std::uint64_t value, int size) { append(body_, value, size); }
    void head(std::uint8_t kind, Part part, std::int64_t value, std::size_t payload) {
        body_.push_back(kind);
        body_.push_back(part);
        put(0, 2);
        put(static_cast<std::uint64_t>(value), 8);
        put(payload, 4);
        ++entries_;
    }

    std::vector<std::uint8_t> body_;
    std::int32_t entries_ = 0;
    std::int32_t version_ = 1;
};

}  // namespace qinghe::recordstore::testing
