// A field read by Tycho-2's own index: where the index is, which records of which sources the
// field needs by it, and those records taken and checked against it before any row is made of
// them; by the command line over its streams, or by the page from the slices it reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ConvertStreams.h"
#include "Gzip.h"
#include "RegionIndex.h"
#include "Selection.h"
#include "Texts.h"

// A run of a source's records as read, after the lines before it.
struct IndexedRun {
    std::uint64_t linesBefore = 0;
    std::string bytes;
};

// What the index says a field needs of each source.
struct IndexPlan {
    std::u16string indexName;
    std::shared_ptr<const RegionIndex> index;
    struct File {
        std::size_t source;
        FilePlan plan;
    };
    std::vector<File> files;  // in the sources' order
    std::size_t regionsMet = 0;
};

// A file's bytes as an index's, inflated where they are gzip; nothing where they are not one.
std::optional<std::string> RegionIndexBytes(std::string bytes);

// The plan for a field from the index's bytes and the sources' names; nothing with a note of why
// where the index cannot serve, or with no note where no source is a file it counts.
std::optional<IndexPlan> PlanByIndex(const std::vector<std::string>& sources,
                                     const std::vector<bool>& skipped, const std::string& indexName,
                                     std::string_view indexBytes, const Selection& selection,
                                     const Texts& texts, std::string& note);
// What is told once the index has served.
std::string IndexUsedNote(const IndexPlan& plan, const Texts& texts);
std::string IndexUnusedNote(std::u16string_view indexName, std::u16string_view why,
                            const Texts& texts);

// The runs of one file that its plan needs, taken from its bytes as they come: in any pieces, in
// order, with gaps between them where the file is read by seeking; inflated where it is gzip.
// Each run is checked against the index once whole.
class IndexedFetch {
public:
    IndexedFetch(std::shared_ptr<const RegionIndex> index, FilePlan plan, std::string name,
                 const Texts& texts);

    // The file's first bytes (at least 2, fewer only where it holds fewer), and where known its
    // size and its last 4 bytes: a file that does not hold the records the index counts is
    // found at once.
    bool Begin(std::string_view head, std::optional<std::uint64_t> size, std::string_view tail);
    bool Gzip() const { return inflater_ != nullptr; }
    // The bytes of the file from `offset` on; gzip bytes come all in order from the start.
    bool Take(std::uint64_t offset, std::string_view bytes);
    // Where the next run begins in the file, and its bytes: for reading by seeking.
    std::optional<std::pair<std::uint64_t, std::uint64_t>> NextRange() const;
    bool Complete() const { return next_ == plan_.stretches.size(); }
    // Whether the file is to be read to its end even once Complete: where Begin could not learn
    // its size, its bytes are counted, so that a file longer than the index counts (a pipe, a
    // gzip file that cannot be seeked) is not taken for one that fits.
    bool ReadsToEnd() const { return !sizeKnown_; }
    // Once the file has ended: whether every run was there, and where its size was not known
    // first, whether it held the records the index counts.
    bool Ended();
    const std::u16string& Why() const { return why_; }
    std::vector<IndexedRun> TakeRuns() { return std::move(runs_); }

private:
    bool TakePlain(std::string_view bytes);
    bool Fail(std::u16string why);
    bool WrongSize(std::uint64_t size);

    std::shared_ptr<const RegionIndex> index_;
    FilePlan plan_;
    std::string name_;
    const Texts& texts_;
    std::unique_ptr<GzipInflater> inflater_;
    std::uint64_t at_ = 0;    // the offset in the plain bytes of what comes next
    bool sizeKnown_ = false;  // Begin checked the file's size
    std::size_t next_ = 0;    // the stretch being read
    std::string run_;
    std::vector<IndexedRun> runs_;
    std::u16string why_;
};

struct IndexedSources {
    // The sources that are the index itself, which give no rows.
    std::vector<bool> isIndex;
    // For each source read by the index, its runs in order, none where the field needs nothing
    // of it; nothing for a source read whole.
    std::vector<std::optional<std::vector<IndexedRun>>> runs;
    // What to tell of the index, in UTF-8: how much of the catalogue it spares, why it was not
    // used, or nothing where there is none.
    std::string note;
};

// Under --near, finds the index among the sources or beside Tycho-2's files, and reads what the
// field needs of each file it counts. Where the index or a file does not bear out the other, no
// source is read by it, and the note says why. Standard input is never looked at.
IndexedSources ReadByIndex(const std::vector<std::string>& sources, const std::vector<bool>& isList,
                           const Selection& selection, const Texts& texts, ConvertStreams& streams);
