// Converts text, line by line, into CSV rows with every number that the window and its tooltip
// show for that line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "LineDecoder.h"
#include "Texts.h"

class CsvConverter {
public:
    // Writes bytes to the output; false when they could not all be written.
    using Write = std::function<bool(std::string_view bytes)>;
    // Tells the user, in UTF-8, of a line that could not be converted.
    using Report = std::function<void(std::string_view message)>;

    // Lines longer than this many UTF-16 units are kept shortened to what decides their result,
    // so that memory stays bounded however long a line is.
    static constexpr std::size_t kLineLimit = std::size_t(1) << 20;

    // Lines of one source gathered to be converted together: their text, and where each line
    // lies in it.
    struct Batch {
        struct Line {
            std::uint64_t number = 0;
            std::size_t begin = 0;
            std::size_t end = 0;
        };
        std::string quotedName;  // the source, as the first column of a row
        std::u16string text;
        std::vector<Line> lines;
    };

    CsvConverter(InputEncoding encoding, const Texts& texts, Write write, Report report,
                 std::size_t lineLimit = kLineLimit);
    ~CsvConverter();
    CsvConverter(const CsvConverter&) = delete;
    CsvConverter& operator=(const CsvConverter&) = delete;

    // The header row, before any source.
    void WriteHeader();

    // One source, named in UTF-8 as the user gave it, then its bytes in pieces of any size, then
    // its end: complete, or cut short by a failure, when a line still open gives no row. Nothing
    // more is converted once the output has failed.
    void BeginSource(std::string_view name);
    void Feed(std::string_view bytes);
    void EndSource(bool complete = true);

    bool OutputFailed() const { return outputFailed_; }
    // Whether a line had bytes that are not valid in the encoding.
    bool InputFailed() const { return inputFailed_; }

private:
    void EndLine();
    // Hands the lines gathered to another thread, where there is a processor for it, and writes
    // the rows of the batch before.
    void WriteRows();
    // Converts what is left of the batch before, with the other thread, and writes its rows.
    void CollectRows();
    void Emit(std::string_view text);

    InputEncoding encoding_;
    const Texts& texts_;
    Write write_;
    Report report_;
    std::size_t lineLimit_;

    LineDecoder decoder_{InputEncoding::Utf8};
    std::string name_;
    std::uint64_t lineNumber_ = 0;
    std::size_t lineStart_ = 0;  // where the line being decoded begins in the batch's text
    Batch batch_;
    struct Converting;
    std::shared_ptr<Converting> converting_;  // the batch before, converted meanwhile
    std::future<void> helper_;
    std::string untaken_;  // the first bytes of a character that the next piece completes
    bool outputFailed_ = false;
    bool inputFailed_ = false;
};
