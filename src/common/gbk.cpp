#include "common/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace qinghe::gbk {
namespace {

// One converter per direction, opened once. iconv descriptors are not
// thread-safe, so each conversion holds the direction's mutex.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        // iconv_open's failure value is (iconv_t)-1 by its contract.
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
            std::fprintf(stderr, "qinghe: the C library has no %s to %s converter\n", from, to);
            std::abort();
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() { iconv_close(cd_); }

    // Converts the whole input. On an unconvertible or invalid sequence,
    // stops and returns the input offset where it stands.
    std::size_t convert(std::string_view in, std::string& out, bool& failed) {
        std::lock_guard lock(mutex_);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.clear();
        failed = false;
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[1024];
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
                failed = true;
                break;
            }
        }
        return in.size() - srcLeft;
    }

  private:
    iconv_t cd_;
    std::mutex mutex_;
};

Converter& utf8ToGbk() {
    static Converter c("CP936", "UTF-8");
    return c;
}

Converter& gbkToUtf8() {
    static Converter c("UTF-8", "CP936");
    return c;
}

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

}  // namespace

Conversion fromUtf8(std::string_view utf8) {
    Conversion result;
    bool failed = false;
    std::size_t stop = utf8ToGbk().convert(utf8, result.text, failed);
    if (!failed) {
        result.ok = true;
        return result;
    }
    std::size_t len = utf8SequenceLength(static_cast<unsigned char>(utf8[stop]));
    result.bad = std::string(utf8.substr(stop, len));
    result.badOffset = stop;
    result.text.clear();
    return result;
}

std::string toUtf8(std::string_view gbk) {
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string out;
    std::string piece;
    while (!gbk.empty()) {
        bool failed = false;
        std::size_t stop = gbkToUtf8().convert(gbk, piece, failed);
        out += piece;
        if (!failed) break;
        out += kReplacement;
        gbk.remove_prefix(stop + 1);
    }
    return out;
}

}  // namespace qinghe::gbk

namespace qinghe::literals {

std::string operator""_gbk(const char* utf8, std::size_t length) {
    gbk::Conversion c = gbk::fromUtf8(std::string_view(utf8, length));
    if (!c.ok) {
        std::fprintf(stderr, "qinghe: literal has no GBK form: %.*s\n", static_cast<int>(length),
                     utf8);
        std::abort();
    }
    return std::move(c.text);
}

}  // namespace qinghe::literals
