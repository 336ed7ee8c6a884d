// The converter as --convert runs it, over files in memory: what the converter's tests share.
#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ConvertCommand.h"

// Files in memory, standard input among them, read in pieces of a chosen size.
class MemoryStreams : public ConvertStreams {
public:
    std::map<std::string, std::string> files;
    std::size_t piece = 1 << 16;
    std::string output, errors;

    bool Open(const std::string& name, std::u16string& reason) override {
        const auto found = files.find(name);
        if (found == files.end()) {
            reason = u"No such file or directory";
            return false;
        }
        // Standard input goes on where it was left; a file is read from its start.
        open_ = &found->second;
        if (name != "-") at_[open_] = 0;
        return true;
    }
    std::ptrdiff_t Read(char* buffer, std::size_t size, std::u16string&) override {
        std::size_t& at = at_[open_];
        const std::size_t count = std::min({size, piece, open_->size() - at});
        std::copy_n(open_->data() + at, count, buffer);
        at += count;
        return static_cast<std::ptrdiff_t>(count);
    }
    void Close() override { open_ = nullptr; }
    // Files may be read from anywhere, as on a disk; not where they stand for pipes.
    bool seekable = true;
    std::optional<std::uint64_t> Size() override {
        if (!seekable || !open_) return std::nullopt;
        return open_->size();
    }
    bool Seek(std::uint64_t offset) override {
        if (!seekable || !open_ || offset > open_->size()) return false;
        at_[open_] = static_cast<std::size_t>(offset);
        return true;
    }
    Written Write(std::string_view bytes, std::u16string&) override {
        output += bytes;
        return Written::All;
    }
    void Complain(std::string_view message) override {
        errors += message;
        errors += '\n';
    }
    bool WriteWholeFile(const std::string& name, std::string_view bytes, std::u16string&) override {
        written[name] = bytes;
        return true;
    }
    std::map<std::string, std::string> written;

private:
    const std::string* open_ = nullptr;
    std::map<const std::string*, std::size_t> at_;
};

struct Command {
    int status;
    std::string output, errors;
};

inline Command Convert(const std::map<std::string, std::string>& files,
                       const std::vector<std::string>& sources, const SelectionWords& words = {},
                       std::size_t piece = 1 << 16) {
    MemoryStreams streams;
    streams.files = files;
    streams.piece = piece;
    CsvConverter::Options options;
    EXPECT_FALSE(ReadSelection(words, EnglishTexts(), options.selection));
    const int status = RunConvert(sources, options, EnglishTexts(), streams);
    return {status, streams.output, streams.errors};
}
