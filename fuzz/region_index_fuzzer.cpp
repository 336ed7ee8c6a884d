// Any index.dat beside any tyc2.dat: a field read by the index gives the rows of the same field
// read record by record, whatever the index says, and fails where that fails; only a fault in a
// record it had no need to read goes unseen. Such a fault may be a line that is no whole record,
// which moves the lines after it: then the rows may differ too, and only the statuses are held
// to that rule.
//
// The first two bytes give the length of the index, which the rest begins with; the records
// follow it. The third chooses whether the files may be read from anywhere, the fourth the field.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ConvertCommand.h"

namespace {

class Files : public ConvertStreams {
public:
    std::map<std::string, std::string> files;
    bool seekable = true;
    std::string output;

    bool Open(const std::string& name, std::u16string& reason) override {
        const auto found = files.find(name);
        if (found == files.end()) {
            reason = u"No such file or directory";
            return false;
        }
        open_ = &found->second;
        at_ = 0;
        return true;
    }
    std::ptrdiff_t Read(char* buffer, std::size_t size, std::u16string&) override {
        const std::size_t count = std::min({size, std::size_t(4096), open_->size() - at_});
        std::copy_n(open_->data() + at_, count, buffer);
        at_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }
    void Close() override { open_ = nullptr; }
    std::optional<std::uint64_t> Size() override {
        if (!seekable) return std::nullopt;
        return open_->size();
    }
    bool Seek(std::uint64_t offset) override {
        if (!seekable || offset > open_->size()) return false;
        at_ = static_cast<std::size_t>(offset);
        return true;
    }
    Written Write(std::string_view bytes, std::u16string&) override {
        output += bytes;
        return Written::All;
    }
    void Complain(std::string_view) override {}

private:
    const std::string* open_ = nullptr;
    std::size_t at_ = 0;
};

struct Result {
    int status;
    std::string output;
};

Result Near(std::map<std::string, std::string> files, bool seekable, const char* position,
            const char* radius) {
    Files streams;
    streams.files = std::move(files);
    streams.seekable = seekable;
    SelectionWords words;
    words.position = position;
    words.radius = radius;
    CsvConverter::Options options;
    if (ReadSelection(words, EnglishTexts(), options.selection)) std::abort();
    const int status = RunConvert({"tyc2.dat"}, options, EnglishTexts(), streams);
    return {status, streams.output};
}

// Whether every line of the records is one whole record of tyc2.dat, its line end included.
bool WholeRecords(std::string_view records) {
    constexpr std::size_t kRecord = 207;
    if (records.size() % kRecord != 0) return false;
    for (std::size_t at = 0; at < records.size(); at += kRecord) {
        if (records.find('\n', at) != at + kRecord - 1) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    static constexpr const char* kFields[][2] = {
        {"0.6 1.5", "1"}, {"0 90", "2"}, {"10 -89", "5"}, {"359.9 0", "3"}, {"3 2", "30"}};
    const std::size_t indexSize = std::size_t(data[0]) | std::size_t(data[1]) << 8;
    const bool seekable = (data[2] & 1) != 0;
    const auto& field = kFields[data[3] % std::size(kFields)];
    const std::string_view rest(reinterpret_cast<const char*>(data) + 4, size - 4);
    const std::string index(rest.substr(0, std::min(indexSize, rest.size())));
    const std::string records(rest.substr(index.size()));

    const Result scan = Near({{"tyc2.dat", records}}, seekable, field[0], field[1]);
    const Result indexed =
        Near({{"tyc2.dat", records}, {"index.dat", index}}, seekable, field[0], field[1]);
    const bool unseen = indexed.status == 0 && scan.status == 1;
    if ((scan.status != indexed.status && !unseen) ||
        (WholeRecords(records) && scan.output != indexed.output)) {
        std::fprintf(stderr, "by the index, status %d:\n%s\nrecord by record, status %d:\n%s\n",
                     indexed.status, indexed.output.c_str(), scan.status, scan.output.c_str());
        std::abort();
    }
    return 0;
}
