#include "FileConversion.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "ConvertCommand.h"

// The platform's files as "--convert" reads them, counted as they are read and stopped by
// Cancel; the table to the window's file; the messages kept for the window to show.
class FileConversion::Streams : public ConvertStreams {
public:
    explicit Streams(FileConversion& owner) : owner_(owner) {}

    void Reading(std::size_t source) override { owner_.source_ = source; }

    bool Open(const std::string& name, std::u16string& reason) override {
        if (Stopped(reason)) return false;
        return owner_.files_.Open(name, reason);
    }

    std::ptrdiff_t Read(char* buffer, std::size_t size, std::u16string& reason) override {
        if (Stopped(reason)) return -1;
        // A read that never ends, as from a share gone away, is left behind by the conversion:
        // once it ends it touches nothing but its own count.
        const std::shared_ptr<std::atomic<std::uint64_t>> counted = owner_.read_;
        const std::ptrdiff_t count = owner_.files_.Read(buffer, size, reason);
        if (count > 0) *counted += static_cast<std::uint64_t>(count);
        return count;
    }

    void Close() override { owner_.files_.Close(); }
    std::optional<std::uint64_t> Size() override { return owner_.files_.Size(); }
    bool Seek(std::uint64_t offset) override {
        std::u16string reason;
        return !Stopped(reason) && owner_.files_.Seek(offset);
    }

    Written Write(std::string_view bytes, std::u16string& reason) override {
        if (Stopped(reason)) return Written::Failed;
        return owner_.write_(bytes, reason) ? Written::All : Written::Failed;
    }

    void Complain(std::string_view message) override {
        const std::lock_guard<std::mutex> lock(owner_.messagesMutex_);
        owner_.messages_ += message;
        owner_.messages_ += '\n';
    }

private:
    bool Stopped(std::u16string& reason) const {
        if (!owner_.cancelled_) return false;
        reason = u"cancelled";
        return true;
    }

    FileConversion& owner_;
};

FileConversion::FileConversion(std::vector<std::string> sources, std::uint64_t totalBytes,
                               const Texts& texts, ConvertStreams& files, Write write,
                               CsvConverter::Options options, FieldOutputs* outputs)
    : files_(files),
      write_(std::move(write)),
      totalBytes_(totalBytes),
      options_(std::move(options)),
      outputs_(outputs) {
    thread_ = std::thread(
        [this, sources = std::move(sources), &texts]() mutable { Run(std::move(sources), texts); });
}

FileConversion::~FileConversion() {
    Cancel();
    Wait();
}

void FileConversion::Wait() {
    if (thread_.joinable()) thread_.join();
}

void FileConversion::Cancel() { cancelled_ = true; }

FileConversion::Progress FileConversion::Now() const {
    const bool done = done_;
    const double fraction = totalBytes_ == 0
                                ? (done ? 1.0 : 0.0)
                                : static_cast<double>(*read_) / static_cast<double>(totalBytes_);
    return {std::min(fraction, 1.0), source_, done};
}

std::string FileConversion::Messages() const {
    const std::lock_guard<std::mutex> lock(messagesMutex_);
    return messages_;
}

void FileConversion::Run(std::vector<std::string> sources, const Texts& texts) {
    Streams streams(*this);
    // Never standard input: a window has none to read.
    if (!sources.empty()) status_ = RunConvert(sources, options_, texts, streams, outputs_);
    done_ = true;
}
