#include "Gzip.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <memory>

struct GzipInflater::Stream {
    z_stream z{};
    bool open = false;
    std::unique_ptr<char[]> out{new char[kOut]};  // what inflate writes, uninitialised
    static constexpr unsigned kOut = 256 * 1024;
};

GzipInflater::GzipInflater() : stream_(std::make_unique<Stream>()) {
    // 16 + the largest window: gzip's wrapper, and any window its writer chose.
    if (inflateInit2(&stream_->z, 16 + MAX_WBITS) != Z_OK) {
        failed_ = true;
        reason_ = "zlib could not start";
        return;
    }
    stream_->open = true;
}

GzipInflater::~GzipInflater() {
    if (stream_->open) inflateEnd(&stream_->z);
}

void GzipInflater::Inflate(std::string_view bytes,
                           const std::function<void(std::string_view)>& out) {
    z_stream& z = stream_->z;
    while (!failed_ && !bytes.empty()) {
        if (ended_) {
            // Another member, or bytes that are none.
            if (bytes.size() >= 2 && !Begins(bytes)) {
                failed_ = true;
                reason_ = "trailing bytes that are not gzip";
                return;
            }
            inflateReset(&z);
            ended_ = false;
        }
        const auto size = static_cast<uInt>(std::min<std::size_t>(bytes.size(), UINT_MAX));
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        z.avail_in = size;
        int status = Z_OK;
        do {
            z.next_out = reinterpret_cast<Bytef*>(stream_->out.get());
            z.avail_out = Stream::kOut;
            status = inflate(&z, Z_NO_FLUSH);
            // What was inflated before any damage is the stream's own, however it was read.
            const std::size_t made = Stream::kOut - z.avail_out;
            if (made != 0) out({stream_->out.get(), made});
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
                failed_ = true;
                reason_ = z.msg != nullptr ? z.msg : "damaged data";
                return;
            }
        } while (status == Z_OK && z.avail_out == 0);
        bytes.remove_prefix(size - z.avail_in);
        if (status == Z_STREAM_END)
            ended_ = true;
        else if (z.avail_in != 0 && status == Z_BUF_ERROR) {
            failed_ = true;
            reason_ = "damaged data";
            return;
        }
    }
}
