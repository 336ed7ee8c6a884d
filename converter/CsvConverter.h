// Converts sources of stars into CSV rows with every number that the window and its tooltip show
// for a star: tagged text line by line, tables and catalogue files star by star, gzip or not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Catalogue.h"
#include "FieldStar.h"
#include "Gzip.h"
#include "LineDecoder.h"
#include "PhotometryLists.h"
#include "Selection.h"
#include "SourceBatch.h"
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

    using Message = LineMessage;
    static constexpr std::uint64_t kAfterLines = LineMessage::kAfterLines;
    using Batch = SourceBatch;

    struct Options {
        InputEncoding encoding = InputEncoding::Utf8;
        SourceForm form = SourceForm::Automatic;
        Selection selection;
        // Reads lists of known variables alone, into this; a source of another form is left as
        // soon as its form is known. Without it, a list's lines give nothing.
        KnownVariables* listsInto = nullptr;
        // Where --convert writes the finder chart of --chart.
        std::string chartFile = {};
    };

    CsvConverter(Options options, const Texts& texts, Write write, Report report,
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
    // Goes on at the line after `lines` of the source, passing over those not yet fed, as where
    // only some runs of a catalogue's records are read. Only between whole lines, before the
    // next bytes, which must then be plain.
    void SkipTo(std::uint64_t lines);
    void EndSource(bool complete = true);
    // After the last source: under --near, the rows kept, nearest first, and what was found.
    void Finish();

    // A catalogue file may be split at its line ends, and its parts converted apart, by other
    // converters, as where there are no threads but other processes. The converter that began
    // the source gives where it may be split: after the lines it has been fed, once it has
    // written all their rows, when its form is a catalogue's and it holds nothing of a line and
    // no compression, and it is not keeping rows to sort under --near; nothing otherwise.
    struct Split {
        SourceForm form;
        std::uint64_t lines;  // the lines before the split
    };
    std::optional<Split> SplitHere();
    // Another converter begins a part at a split, in the form the split gives, with its lines
    // counted from there, fed in the same way and then ended by EndPart, which gives its stars
    // instead of writing the summary. The converter that began the source is given them, in order,
    // before it ends the source, and writes their summary with its own.
    void BeginPart(std::string_view name, SourceForm form, std::uint64_t linesBefore);
    struct Stars {
        std::uint64_t stars = 0;
        std::uint64_t lacking = 0;
        bool inputFailed = false;
    };
    Stars EndPart();
    void AddPart(const Stars& part);

    // Whether the source being read is a list of known variables; nothing while its form is not
    // known yet.
    std::optional<bool> SourceIsList() const;

    bool OutputFailed() const { return outputFailed_; }
    // Whether the options asked for what the sources cannot give, as --like without a star at
    // the position: a usage error, said once every source is read.
    bool UsageFailed() const { return usageFailed_; }
    // Under --chart, once finished: the finder chart of the stars kept.
    const std::string& Chart() const { return chart_; }
    // Under --near, once finished: the list of a photometry program of the stars kept, as --to
    // writes it.
    std::string PhotometryList(OutputForm output) const;
    // Whether a line had bytes that are not valid in the encoding, a cell was not a number, or a
    // gzip stream was damaged.
    bool InputFailed() const { return inputFailed_ || sourceFailed_; }

private:
    // Lines are converted this many at a time, or as many as make this many units.
    static constexpr std::size_t kLinesAtOnce = 16384;
    static constexpr std::size_t kUnitsAtOnce = std::size_t(1) << 20;

    void FeedDecoded(std::string_view bytes);
    // Everything that ends a source but its summary.
    void FinishSource(bool complete);
    // Takes the whole records of ASCII alone that the bytes begin with, as they stand, or the
    // lines of a plain list, and returns the bytes after them.
    std::string_view TakeAsciiRecords(std::string_view bytes);
    // Whether the batch is full, with `pendingBytes` of records still to be copied into it.
    bool BatchFull(std::size_t pendingBytes = 0) const;
    void EndLine(bool last = false);
    // Decides the source's form on a line that is neither blank nor a comment.
    void Decide(std::u16string_view line);
    // Takes the record that ends here into the batch, unless it is no star.
    void TakeRecord(std::size_t begin, std::size_t end);
    // Tells of a line, or of what follows every line, in its turn among the rows' messages.
    void Complain(std::uint64_t line, std::u16string_view text,
                  std::initializer_list<std::u16string_view> values);
    bool BatchHasWork() const { return !batch_.lines.empty() || !batch_.notes.empty(); }
    // Whether the source's lines are read as a table's: a table of stars or a list of variables.
    bool TableLike() const { return form_ == SourceForm::Table || form_ == SourceForm::Variables; }
    // Whether nothing more of the source is wanted: a list where none are read, or, where only
    // lists are read, a source that is none. Drops what was gathered of it.
    bool Skipped();
    // Whether the source is a list read for its variables whose lines, past its header, units and
    // dashes, may be taken as records are, as the bytes they are: no quotes can join its lines.
    bool PlainList() const {
        return form_ == SourceForm::Variables && options_.listsInto && table_ && !table_->quoted &&
               unitsLines_ == 0;
    }
    // Hands the lines gathered to another thread, where there is a processor for it, and writes
    // the rows of the batch before.
    void WriteRows();
    // Converts what is left of the batch before, with the other thread, and writes its rows.
    void CollectRows();
    struct Converting;
    class Helper;
    // The batch before, converted to the end; nothing when there is none.
    std::shared_ptr<Converting> FinishConverting();
    // Writes a converted batch's rows and messages, and counts its stars.
    void Deliver(const Converting& converted);
    void Emit(std::string_view text);

    Options options_;
    const Texts& texts_;
    Write write_;
    Report report_;
    std::size_t lineLimit_;

    LineDecoder decoder_{InputEncoding::Utf8};
    std::uint64_t lineNumber_ = 0;
    std::size_t lineStart_ = 0;       // where the line being decoded begins in the batch's text
    std::size_t recordStart_ = 0;     // where its record begins: a quoted cell may span lines
    std::uint64_t recordNumber_ = 0;  // the line its record begins on
    bool overlong_ = false;           // the line outgrew the limit in a form that cannot shorten it
    SourceForm form_ = SourceForm::Automatic;
    std::shared_ptr<const TableLayout> table_;
    int unitsLines_ = 0;  // lines after the header that may still be units or dashes
    // What the rows of the source have told so far.
    std::uint64_t stars_ = 0;
    std::uint64_t lacking_ = 0;
    bool tagFound_ = false;
    std::unique_ptr<GzipInflater> inflater_;
    bool compressionKnown_ = false;
    Batch batch_;
    std::shared_ptr<Converting> converting_;  // the batch before, converted meanwhile
    std::shared_ptr<Converting> spare_;       // one converted and written, to be used again
    std::shared_ptr<Helper> helper_;          // the other thread, from the first batch on
    std::string untaken_;  // the first bytes of a character that the next piece completes
    bool outputFailed_ = false;
    bool inputFailed_ = false;
    bool sourceFailed_ = false;  // the reading of the source now read found something wrong
    // Under --near: the rows kept so far from every source, in the order they came, and where
    // each lies in the text; the stars with a position in this source, and the counts of the run.
    std::string heldText_;
    struct Held {
        std::uint64_t key;  // the separation as shown, in thousandths of an arcminute
        std::size_t begin, end;
        std::size_t star;  // in fieldStars_
    };
    std::vector<Held> held_;
    std::vector<FieldStar> fieldStars_;
    bool usageFailed_ = false;
    std::string chart_;
    std::vector<FieldStar> kept_;
    ListOrigin origin_;
    std::uint64_t positioned_ = 0;
    std::uint64_t read_ = 0;
};
