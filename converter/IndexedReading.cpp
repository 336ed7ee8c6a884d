// Reading a field's records by Tycho-2's index: the index found and read, a plan for each file
// it counts, and the planned runs of records read, by seeking or by reading on, gzip too, each
// checked against the index before the conversion sees it.
#include "IndexedReading.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "Catalogue.h"
#include "Gzip.h"
#include "RegionIndex.h"
#include "StarRows.h"
#include "Utf.h"

namespace {

// Past this many bytes of records a field gains little from the index over reading every record,
// and they are not all held at once.
constexpr std::uint64_t kLargestReading = std::uint64_t(64) << 20;
// An index is a few hundred kilobytes; anything much larger is none.
constexpr std::size_t kLargestIndex = std::size_t(16) << 20;
constexpr std::size_t kPiece = std::size_t(1) << 20;

// Reads up to `count` bytes, fewer only at the end; false on a failure.
bool ReadUpTo(ConvertStreams& streams, std::string& into, std::size_t count) {
    std::u16string reason;
    into.resize(count);
    std::size_t got = 0;
    while (got < count) {
        const std::ptrdiff_t read = streams.Read(into.data() + got, count - got, reason);
        if (read < 0) return false;
        if (read == 0) break;
        got += static_cast<std::size_t>(read);
    }
    into.resize(got);
    return true;
}

std::u16string Name(const std::string& source) { return Utf16FromUtf8(source); }

// The folder part of a name as given, with its separator; empty for none.
std::string FolderOf(const std::string& name) {
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

// Reads a whole source, as an index, of at most kLargestIndex bytes.
std::optional<std::string> ReadWhole(const std::string& name, ConvertStreams& streams) {
    std::u16string reason;
    if (!streams.Open(name, reason)) return std::nullopt;
    std::string raw;
    char buffer[1 << 16];
    std::ptrdiff_t got = 0;
    while (raw.size() <= kLargestIndex && (got = streams.Read(buffer, sizeof buffer, reason)) > 0) {
        raw.append(buffer, static_cast<std::size_t>(got));
    }
    streams.Close();
    if (got < 0) return std::nullopt;
    return RegionIndexBytes(std::move(raw));
}

struct Found {
    std::string name;
    std::optional<std::string> bytes;
};

// The index: the first source that is one, else an index.dat beside a file that it counts.
std::optional<Found> FindIndex(const std::vector<std::string>& sources,
                               const std::vector<bool>& isList, std::vector<bool>& isIndex,
                               bool near, ConvertStreams& streams) {
    std::optional<Found> found;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (isList[i] || !IsRegionIndexName(sources[i])) continue;
        std::optional<std::string> bytes = ReadWhole(sources[i], streams);
        // A file of that name that is no index at all is converted as any other.
        if (!bytes) continue;
        isIndex[i] = true;
        if (!found) found = Found{sources[i], std::move(bytes)};
    }
    if (found || !near) return found;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (isList[i] || IndexedPartNamed(sources[i]).file == IndexedFile::None) continue;
        for (const char* name : {"index.dat", "index.dat.gz"}) {
            const std::string beside = FolderOf(sources[i]) + name;
            std::optional<std::string> bytes = ReadWhole(beside, streams);
            if (bytes) return Found{beside, std::move(bytes)};
        }
    }
    return std::nullopt;
}

std::u16string MisfitText(const Texts& texts, const std::string& source, const Misfit& misfit) {
    const std::u16string_view text = misfit.kind == Misfit::Kind::NotARecord ? texts.indexNotARecord
                                     : misfit.kind == Misfit::Kind::OtherRegion
                                         ? texts.indexOtherRegion
                                         : texts.indexOutsideBox;
    return Substitute(text, {Name(source), Decimal(misfit.line), Decimal(misfit.region)});
}

}  // namespace

std::optional<std::string> RegionIndexBytes(std::string bytes) {
    if (bytes.size() > kLargestIndex) return std::nullopt;
    if (GzipInflater::Begins(bytes)) {
        std::string inflated;
        GzipInflater inflater;
        inflater.Inflate(bytes, [&inflated](std::string_view out) {
            if (inflated.size() <= kLargestIndex) inflated += out;
        });
        if (inflater.Failed() || !inflater.Ended() || inflated.size() > kLargestIndex) {
            return std::nullopt;
        }
        bytes = std::move(inflated);
    }
    if (!BeginsLikeRegionIndex(bytes)) return std::nullopt;
    return bytes;
}

std::string IndexUsedNote(const IndexPlan& plan, const Texts& texts) {
    return Utf8FromUtf16(Substitute(texts.indexUsed, {plan.indexName, Decimal(plan.regionsMet),
                                                      Decimal(plan.index->regions.size())}));
}

std::string IndexUnusedNote(std::u16string_view indexName, std::u16string_view why,
                            const Texts& texts) {
    return Utf8FromUtf16(Substitute(texts.indexUnused, {indexName, why}));
}

std::optional<IndexPlan> PlanByIndex(const std::vector<std::string>& sources,
                                     const std::vector<bool>& skipped, const std::string& indexName,
                                     std::string_view indexBytes, const Selection& selection,
                                     const Texts& texts, std::string& note) {
    IndexPlan plan;
    plan.indexName = Name(indexName);
    const auto unused = [&](std::u16string why) {
        note = IndexUnusedNote(plan.indexName, why, texts);
        return std::nullopt;
    };
    if (!selection.field) {
        note = Utf8FromUtf16(Substitute(texts.indexOnlyNear, {plan.indexName}));
        return std::nullopt;
    }
    std::uint64_t badLine = 0;
    std::optional<RegionIndex> index = ReadRegionIndex(indexBytes, badLine);
    if (!index) return unused(Substitute(texts.indexBadLine, {Decimal(badLine)}));
    plan.index = std::make_shared<const RegionIndex>(std::move(*index));

    // The files it counts among the sources, each once.
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (skipped[i] || sources[i] == "-") continue;
        const IndexedPart part = IndexedPartNamed(sources[i]);
        if (part.file == IndexedFile::None) continue;
        for (const IndexPlan::File& seen : plan.files) {
            const IndexedPart other = seen.plan.part;
            if (other.file == part.file &&
                (other.split == part.split || other.split < 0 || part.split < 0)) {
                return unused(
                    Substitute(texts.indexTwice, {Name(sources[seen.source]), Name(sources[i])}));
            }
        }
        IndexPlan::File file{i, {}};
        file.plan.part = part;
        plan.files.push_back(std::move(file));
    }
    if (plan.files.empty()) return std::nullopt;

    const NearField& field = *selection.field;
    const auto regionsFor = [&](SourceForm form) {
        return RegionsMet(*plan.index, field.centre,
                          field.radius + selection.Reach(LayoutOf(form).positionEpoch));
    };
    const std::vector<std::uint32_t> tycho2 = regionsFor(SourceForm::Tycho2);
    const std::vector<std::uint32_t> supplement = regionsFor(SourceForm::Tycho2Supplement);
    plan.regionsMet = std::max(tycho2.size(), supplement.size());
    std::uint64_t planned = 0;
    for (IndexPlan::File& file : plan.files) {
        const IndexedPart part = file.plan.part;
        file.plan =
            PlanFile(*plan.index, part, part.file == IndexedFile::Tycho2 ? tycho2 : supplement);
        for (const Stretch& stretch : file.plan.stretches) {
            planned += stretch.count * file.plan.recordBytes;
        }
    }
    if (planned > kLargestReading) return unused(std::u16string(texts.indexTooLarge));
    return plan;
}

IndexedFetch::IndexedFetch(std::shared_ptr<const RegionIndex> index, FilePlan plan,
                           std::string name, const Texts& texts)
    : index_(std::move(index)), plan_(std::move(plan)), name_(std::move(name)), texts_(texts) {}

bool IndexedFetch::Fail(std::u16string why) {
    if (why_.empty()) why_ = std::move(why);
    return false;
}

bool IndexedFetch::Begin(std::string_view head, std::optional<std::uint64_t> size,
                         std::string_view tail) {
    if (GzipInflater::Begins(head)) inflater_ = std::make_unique<GzipInflater>();
    const std::uint64_t expected = plan_.records * plan_.recordBytes;
    std::optional<std::uint64_t> plain = size;
    // gzip keeps the size it inflates to, modulo 2³², in its last 4 bytes.
    sizeKnown_ = size.has_value();
    if (inflater_) {
        plain.reset();
        sizeKnown_ = size && *size >= 18 && tail.size() == 4;
        if (sizeKnown_) {
            std::uint64_t inflated = 0;
            for (std::size_t i = 4; i-- > 0;) {
                inflated = inflated << 8 | static_cast<unsigned char>(tail[i]);
            }
            if (inflated != (expected & 0xFFFFFFFFu)) plain = inflated;
        }
    }
    if (plain && *plain != expected) return WrongSize(*plain);
    return true;
}

bool IndexedFetch::WrongSize(std::uint64_t size) {
    return Fail(Substitute(
        texts_.indexFileSize,
        {Name(name_), Decimal(size), Decimal(plan_.records), Decimal(plan_.recordBytes)}));
}

std::optional<std::pair<std::uint64_t, std::uint64_t>> IndexedFetch::NextRange() const {
    if (Complete() || !why_.empty()) return std::nullopt;
    const Stretch& stretch = plan_.stretches[next_];
    const std::uint64_t begin = stretch.first * plan_.recordBytes + run_.size();
    return std::pair{begin, stretch.count * plan_.recordBytes - run_.size()};
}

bool IndexedFetch::Take(std::uint64_t offset, std::string_view bytes) {
    if (!why_.empty()) return false;
    if (inflater_) {
        inflater_->Inflate(bytes, [this](std::string_view out) { TakePlain(out); });
        if (inflater_->Failed())
            return Fail(
                Substitute(texts_.notGzip, {Name(name_), Utf16FromUtf8(inflater_->Reason())}));
        return why_.empty();
    }
    // Bytes already taken are passed over; a gap is bytes that no run needs.
    if (offset < at_) {
        const std::uint64_t over = std::min<std::uint64_t>(at_ - offset, bytes.size());
        bytes.remove_prefix(static_cast<std::size_t>(over));
    } else {
        at_ = offset;
    }
    return TakePlain(bytes);
}

bool IndexedFetch::TakePlain(std::string_view bytes) {
    while (!bytes.empty() && !Complete() && why_.empty()) {
        const Stretch& stretch = plan_.stretches[next_];
        const std::uint64_t begin = stretch.first * plan_.recordBytes;
        const std::uint64_t end = begin + stretch.count * plan_.recordBytes;
        if (at_ < begin) {
            const std::uint64_t over = std::min<std::uint64_t>(begin - at_, bytes.size());
            bytes.remove_prefix(static_cast<std::size_t>(over));
            at_ += over;
            continue;
        }
        const std::uint64_t taken = std::min<std::uint64_t>(end - at_, bytes.size());
        run_.append(bytes.substr(0, static_cast<std::size_t>(taken)));
        bytes.remove_prefix(static_cast<std::size_t>(taken));
        at_ += taken;
        if (at_ < end) break;
        if (const std::optional<Misfit> misfit = CheckStretch(*index_, plan_, stretch, run_)) {
            return Fail(MisfitText(texts_, name_, *misfit));
        }
        runs_.push_back({stretch.first, std::exchange(run_, {})});
        ++next_;
    }
    at_ += bytes.size();
    return why_.empty();
}

bool IndexedFetch::Ended() {
    if (why_.empty() && !Complete()) {
        const Stretch& stretch = plan_.stretches[next_];
        Fail(Substitute(texts_.indexShort, {Name(name_), Decimal(stretch.first + stretch.count)}));
    }
    if (why_.empty() && !sizeKnown_ && at_ != plan_.records * plan_.recordBytes) WrongSize(at_);
    return why_.empty();
}

IndexedSources ReadByIndex(const std::vector<std::string>& sources, const std::vector<bool>& isList,
                           const Selection& selection, const Texts& texts,
                           ConvertStreams& streams) {
    IndexedSources read;
    read.isIndex.assign(sources.size(), false);
    read.runs.resize(sources.size());
    const std::optional<Found> found =
        FindIndex(sources, isList, read.isIndex, selection.field.has_value(), streams);
    if (!found) return read;
    std::vector<bool> skipped(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i) skipped[i] = isList[i] || read.isIndex[i];
    std::optional<IndexPlan> plan =
        PlanByIndex(sources, skipped, found->name, *found->bytes, selection, texts, read.note);
    if (!plan) return read;
    const auto unused = [&](std::u16string_view why) {
        read.runs.assign(sources.size(), std::nullopt);
        read.note = IndexUnusedNote(plan->indexName, why, texts);
        return read;
    };
    for (const IndexPlan::File& file : plan->files) {
        const std::string& name = sources[file.source];
        std::u16string reason;
        streams.Reading(file.source);
        // A file that cannot be opened is left to its conversion, which says so.
        if (!streams.Open(name, reason)) continue;
        IndexedFetch fetch(plan->index, file.plan, name, texts);
        std::string head, tail, piece;
        const std::optional<std::uint64_t> size = streams.Size();
        bool ok = ReadUpTo(streams, head, 2);
        bool seekable = false;
        if (ok && size && *size >= 4 && streams.Seek(*size - 4)) {
            ok = ReadUpTo(streams, tail, 4);
            seekable = true;
        }
        ok = ok && fetch.Begin(head, size, tail);
        if (ok && seekable && !fetch.Gzip()) {
            // Only the runs' bytes, where they lie.
            while (ok && !fetch.Complete()) {
                const auto [offset, count] = *fetch.NextRange();
                ok = streams.Seek(offset) &&
                     ReadUpTo(streams, piece, static_cast<std::size_t>(count)) && !piece.empty() &&
                     fetch.Take(offset, piece);
            }
        } else if (ok) {
            // From the start, as far as the last run.
            std::uint64_t offset = 0;
            if (seekable) {
                ok = streams.Seek(0);
            } else {
                ok = fetch.Take(0, head);
                offset = head.size();
            }
            while (ok && (!fetch.Complete() || fetch.ReadsToEnd()) &&
                   ReadUpTo(streams, piece, kPiece) && !piece.empty()) {
                ok = fetch.Take(offset, piece);
                offset += piece.size();
            }
        }
        streams.Close();
        if (!fetch.Ended()) return unused(fetch.Why());
        read.runs[file.source] = fetch.TakeRuns();
    }
    read.note = IndexUsedNote(*plan, texts);
    return read;
}
