// gzip sources inflated as their bytes come, in bounded memory, through zlib.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class GzipInflater {
public:
    // Whether the first bytes of a source are a gzip stream's magic, or could still become it.
    static bool Begins(std::string_view head) { return head.substr(0, 2) == "\x1f\x8b"; }
    static bool MayBegin(std::string_view head) { return head.empty() || head == "\x1f"; }

    GzipInflater();
    ~GzipInflater();
    GzipInflater(const GzipInflater&) = delete;
    GzipInflater& operator=(const GzipInflater&) = delete;

    // Inflates the next bytes of the stream, handing what they give to `out` in pieces.
    // Members that follow one another are read as one stream, as gzip itself reads them.
    void Inflate(std::string_view bytes, const std::function<void(std::string_view)>& out);

    bool Failed() const { return failed_; }
    // Whether the stream has ended where its last member ends.
    bool Ended() const { return ended_; }
    // Why it failed, in zlib's words.
    const std::string& Reason() const { return reason_; }

private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
    bool failed_ = false;
    bool ended_ = false;
    std::string reason_;
};
