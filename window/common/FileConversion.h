// Converting files into one CSV table on a thread of its own, for the windows: the same table
// and messages as "tychobvr --convert" gives for the same files, how far it has read, and Cancel.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "ConvertCommand.h"
#include "ConvertStreams.h"
#include "Texts.h"

// The names of the files that "--convert" reads, for a file dialog's filter: tagged text, tables,
// the catalogues' own files (tyc2.dat.00, suppl_1.dat, hip_main.dat), and each of them in gzip.
inline constexpr std::u16string_view kStarFilePatterns[] = {u"*.txt", u"*.csv",   u"*.tsv",
                                                            u"*.dat", u"*.dat.*", u"*.gz"};

class FileConversion {
public:
    // Writes the next bytes of the table; false, with the system's reason, when they could not
    // all be written.
    using Write = std::function<bool(std::string_view bytes, std::u16string& reason)>;

    // Starts converting the sources, named in UTF-8, which `files` opens and reads; `totalBytes`
    // is their size together, for the progress. `files` and `write` are used on the conversion's
    // threads until Done, and must outlive it.
    // With `options`, as the command line's: a field's chart and lists go to `outputs`, which
    // must outlive the conversion too.
    FileConversion(std::vector<std::string> sources, std::uint64_t totalBytes, const Texts& texts,
                   ConvertStreams& files, Write write, CsvConverter::Options options = {},
                   FieldOutputs* outputs = nullptr);
    // Cancels what is still running and waits for it.
    ~FileConversion();
    FileConversion(const FileConversion&) = delete;
    FileConversion& operator=(const FileConversion&) = delete;

    // Stops reading and writing at the next piece, a few milliseconds away; what was written is
    // then no table, and is to be thrown away.
    void Cancel();

    // How far it has come, for a progress bar: the bytes read of all the sources together, as
    // a fraction of their total, and the source being read.
    struct Progress {
        double fraction = 0;
        std::size_t source = 0;
        bool done = false;
    };
    Progress Now() const;
    // Waits for the conversion to end.
    void Wait();

    // Once done: whether it was cancelled; the exit status that "--convert" would give; and
    // what it would write on standard error, a line each, each line ended by '\n', without the
    // program's name.
    bool Cancelled() const { return cancelled_; }
    int Status() const { return status_; }
    std::string Messages() const;

private:
    class Streams;
    void Run(std::vector<std::string> sources, const Texts& texts);

    ConvertStreams& files_;
    Write write_;
    std::uint64_t totalBytes_;
    CsvConverter::Options options_;
    FieldOutputs* outputs_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> done_{false};
    std::shared_ptr<std::atomic<std::uint64_t>> read_ =
        std::make_shared<std::atomic<std::uint64_t>>(0);
    std::atomic<std::size_t> source_{0};
    int status_ = 0;  // written before done_, read after it
    mutable std::mutex messagesMutex_;
    std::string messages_;
    std::thread thread_;
};
