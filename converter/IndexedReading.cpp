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

// A source's bytes from given offsets on, in order: by seeking in a plain file, or by reading
// on and passing over the bytes between, inflated where the source is gzip.
class RangeReader {
public:
    explicit RangeReader(ConvertStreams& streams) : streams_(streams) {}

    // Learns whether the source is gzip from its first bytes, and its size: of the file, or
    // of what it inflates to as its gzip trailer gives it, modulo 2³².
    bool Begin(std::optional<std::uint64_t>& size, std::u16string& reason) {
        size = streams_.Size();
        if (!ReadRaw(raw_, 2, reason)) return false;
        gzip_ = GzipInflater::Begins(raw_);
        if (!size || !streams_.Seek(0)) {
            seekable_ = false;
            std::string head = std::exchange(raw_, {});
            Take(head);
            return true;
        }
        raw_.clear();
        if (gzip_ && *size >= 18) {
            std::string trailer;
            if (!streams_.Seek(*size - 4) || !ReadRaw(trailer, 4, reason) || trailer.size() != 4 ||
                !streams_.Seek(0)) {
                return false;
            }
            std::uint64_t inflated = 0;
            for (std::size_t i = 4; i-- > 0;) {
                inflated = inflated << 8 | static_cast<unsigned char>(trailer[i]);
            }
            size = inflated;
        } else if (gzip_) {
            size.reset();
        }
        seekable_ = !gzip_;
        return true;
    }
    bool Gzip() const { return gzip_; }

    // The bytes [offset, offset + count); false where the source ends before, or fails.
    bool Read(std::uint64_t offset, std::uint64_t count, std::string& out, std::u16string& reason) {
        if (seekable_ && (offset < start_ || offset > start_ + held_.size())) {
            if (!streams_.Seek(offset)) return false;
            held_.clear();
            start_ = offset;
        }
        while (start_ + held_.size() < offset + count) {
            // What lies before the offset is no longer wanted.
            if (start_ < offset) {
                const auto drop = static_cast<std::size_t>(
                    std::min<std::uint64_t>(offset - start_, held_.size()));
                held_.erase(0, drop);
                start_ += drop;
            }
            const std::size_t wanted =
                seekable_ ? static_cast<std::size_t>(offset + count - start_ - held_.size())
                          : kPiece;
            raw_.clear();
            if (!Fill(std::min(wanted, kPiece), reason) || raw_.empty()) return false;
            std::string piece = std::exchange(raw_, {});
            if (!Take(piece)) return false;
        }
        out.assign(held_, static_cast<std::size_t>(offset - start_),
                   static_cast<std::size_t>(count));
        return true;
    }

private:
    bool ReadRaw(std::string& into, std::size_t count, std::u16string& reason) {
        char buffer[4096];
        while (into.size() < count) {
            const std::ptrdiff_t got =
                streams_.Read(buffer, std::min(sizeof buffer, count - into.size()), reason);
            if (got < 0) return false;
            if (got == 0) break;
            into.append(buffer, static_cast<std::size_t>(got));
        }
        return true;
    }
    // Reads up to `count` more raw bytes into raw_.
    bool Fill(std::size_t count, std::u16string& reason) {
        std::string piece(count, '\0');
        const std::ptrdiff_t got = streams_.Read(piece.data(), count, reason);
        if (got < 0) return false;
        raw_.append(piece.data(), static_cast<std::size_t>(got));
        return true;
    }
    bool Take(const std::string& raw) {
        if (!gzip_) {
            held_ += raw;
            return true;
        }
        inflater_.Inflate(raw, [this](std::string_view out) { held_ += out; });
        return !inflater_.Failed();
    }

    ConvertStreams& streams_;
    bool gzip_ = false;
    bool seekable_ = false;
    GzipInflater inflater_;
    std::string raw_;
    std::string held_;         // the bytes from start_ on, inflated
    std::uint64_t start_ = 0;  // in the inflated bytes
};

std::u16string Name(const std::string& source) { return Utf16FromUtf8(source); }

// The folder part of a name as given, with its separator; empty for none.
std::string FolderOf(const std::string& name) {
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

// Reads a whole source, inflated where it is gzip, of at most kLargestIndex bytes.
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
    if (got < 0 || raw.size() > kLargestIndex) return std::nullopt;
    if (!GzipInflater::Begins(raw)) return raw;
    std::string inflated;
    GzipInflater inflater;
    inflater.Inflate(raw, [&inflated](std::string_view out) {
        if (inflated.size() <= kLargestIndex) inflated += out;
    });
    if (inflater.Failed() || !inflater.Ended() || inflated.size() > kLargestIndex)
        return std::nullopt;
    return inflated;
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
        if (!bytes || !BeginsLikeRegionIndex(*bytes)) continue;
        isIndex[i] = true;
        if (!found) found = Found{sources[i], std::move(bytes)};
    }
    if (found || !near) return found;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (isList[i] || IndexedPartNamed(sources[i]).file == IndexedFile::None) continue;
        for (const char* name : {"index.dat", "index.dat.gz"}) {
            const std::string beside = FolderOf(sources[i]) + name;
            std::optional<std::string> bytes = ReadWhole(beside, streams);
            if (bytes && BeginsLikeRegionIndex(*bytes)) return Found{beside, std::move(bytes)};
        }
    }
    return std::nullopt;
}

// Why a file and the index do not agree, in the user's words; empty where they do.
std::u16string Disagreement(const Texts& texts, const std::string& source, const FilePlan& plan,
                            const std::optional<std::uint64_t>& size, bool gzip) {
    if (!size) return {};
    const std::uint64_t expected = plan.records * plan.recordBytes;
    if (gzip ? (*size & 0xFFFFFFFFu) == (expected & 0xFFFFFFFFu) : *size == expected) return {};
    return Substitute(texts.indexFileSize, {Name(source), Decimal(*size), Decimal(plan.records),
                                            Decimal(plan.recordBytes)});
}

std::u16string MisfitText(const Texts& texts, const std::string& source, const Misfit& misfit) {
    const std::u16string_view text = misfit.kind == Misfit::Kind::NotARecord ? texts.indexNotARecord
                                     : misfit.kind == Misfit::Kind::OtherRegion
                                         ? texts.indexOtherRegion
                                         : texts.indexOutsideBox;
    return Substitute(text, {Name(source), Decimal(misfit.line), Decimal(misfit.region)});
}

}  // namespace

IndexedSources ReadByIndex(const std::vector<std::string>& sources, const std::vector<bool>& isList,
                           const Selection& selection, const Texts& texts,
                           ConvertStreams& streams) {
    IndexedSources read;
    read.isIndex.assign(sources.size(), false);
    read.runs.resize(sources.size());
    const std::optional<Found> found =
        FindIndex(sources, isList, read.isIndex, selection.field.has_value(), streams);
    if (!found) return read;
    const std::u16string indexName = Name(found->name);
    if (!selection.field) {
        read.note = Utf8FromUtf16(Substitute(texts.indexOnlyNear, {indexName}));
        return read;
    }
    const auto unused = [&](std::u16string why) {
        read.runs.assign(sources.size(), std::nullopt);
        read.note = Utf8FromUtf16(Substitute(texts.indexUnused, {indexName, why}));
        return read;
    };
    std::uint64_t badLine = 0;
    const std::optional<RegionIndex> index = ReadRegionIndex(*found->bytes, badLine);
    if (!index) return unused(Substitute(texts.indexBadLine, {Decimal(badLine)}));

    // The files it counts among the sources, each once.
    std::vector<std::pair<std::size_t, IndexedPart>> parts;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (isList[i] || read.isIndex[i] || sources[i] == "-") continue;
        const IndexedPart part = IndexedPartNamed(sources[i]);
        if (part.file == IndexedFile::None) continue;
        for (const auto& [other, seen] : parts) {
            const bool overlaps = seen.file == part.file &&
                                  (seen.split == part.split || seen.split < 0 || part.split < 0);
            if (overlaps)
                return unused(
                    Substitute(texts.indexTwice, {Name(sources[other]), Name(sources[i])}));
        }
        parts.emplace_back(i, part);
    }
    if (parts.empty()) return read;

    const NearField& field = *selection.field;
    const auto regionsFor = [&](SourceForm form) {
        return RegionsMet(*index, field.centre,
                          field.radius + selection.Reach(LayoutOf(form).positionEpoch));
    };
    const std::vector<std::uint32_t> tycho2Regions = regionsFor(SourceForm::Tycho2);
    const std::vector<std::uint32_t> supplementRegions = regionsFor(SourceForm::Tycho2Supplement);
    std::vector<FilePlan> plans;
    std::uint64_t planned = 0;
    for (const auto& [source, part] : parts) {
        plans.push_back(PlanFile(
            *index, part, part.file == IndexedFile::Tycho2 ? tycho2Regions : supplementRegions));
        for (const Stretch& stretch : plans.back().stretches)
            planned += stretch.count * plans.back().recordBytes;
    }
    if (planned > kLargestReading) return unused(std::u16string(texts.indexTooLarge));

    for (std::size_t p = 0; p < parts.size(); ++p) {
        const auto& [source, part] = parts[p];
        const FilePlan& plan = plans[p];
        const std::string& name = sources[source];
        std::u16string reason;
        streams.Reading(source);
        // A file that cannot be opened is left to its conversion, which says so.
        if (!streams.Open(name, reason)) continue;
        RangeReader reader(streams);
        std::optional<std::uint64_t> size;
        std::vector<IndexedSources::Run> runs;
        std::u16string why;
        if (!reader.Begin(size, reason)) {
            why = Substitute(texts.indexShort, {Name(name), Decimal(plan.records)});
        } else {
            why = Disagreement(texts, name, plan, size, reader.Gzip());
        }
        for (const Stretch& stretch : plan.stretches) {
            if (!why.empty()) break;
            IndexedSources::Run run{stretch.first, {}};
            if (!reader.Read(stretch.first * plan.recordBytes, stretch.count * plan.recordBytes,
                             run.bytes, reason)) {
                why = Substitute(texts.indexShort,
                                 {Name(name), Decimal(stretch.first + stretch.count)});
            } else if (const std::optional<Misfit> misfit =
                           CheckStretch(*index, plan, stretch, run.bytes)) {
                why = MisfitText(texts, name, *misfit);
            }
            runs.push_back(std::move(run));
        }
        streams.Close();
        if (!why.empty()) return unused(why);
        read.runs[source] = std::move(runs);
    }
    read.note = Utf8FromUtf16(
        Substitute(texts.indexUsed,
                   {indexName, Decimal(std::max(tycho2Regions.size(), supplementRegions.size())),
                    Decimal(index->regions.size())}));
    return read;
}
