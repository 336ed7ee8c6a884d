// Tycho-2's own index of its regions, index.dat: where each region of the Guide Star Catalog
// begins in tyc2.dat and in suppl_1.dat, and the box its stars lie in; which records of the
// catalogue's files a field needs by it, and whether the records read bear out the index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SkyGeometry.h"

struct IndexRegion {
    std::uint64_t tycho2 = 0;      // the record number of its first star in tyc2.dat, from 1
    std::uint64_t supplement = 0;  // and in suppl_1.dat, which may hold none of it
    SkyBox box;                    // of the stars' observed positions, rounded outwards
};

struct RegionIndex {
    std::vector<IndexRegion> regions;  // region n, the stars' TYC1, is regions[n − 1]
    // The records of the two files, from the line after the last region.
    std::uint64_t tycho2Records = 0, supplementRecords = 0;
};

// The index from the bytes of index.dat; nothing where they are not one, with the number of the
// first line, from 1, that is wrong or missing.
std::optional<RegionIndex> ReadRegionIndex(std::string_view bytes, std::uint64_t& badLine);
// Whether a file begins as the index does: "      1|     1|  0.00|  2.49|  0.00|  2.49".
bool BeginsLikeRegionIndex(std::string_view head);

// The files that the index counts records in, as CDS distributes them: tyc2.dat whole or split in
// twenty, and suppl_1.dat, each gzip or not.
enum class IndexedFile { None, Tycho2, Supplement };
struct IndexedPart {
    IndexedFile file = IndexedFile::None;
    int split = -1;  // tyc2.dat.00 to .19; −1 for the whole of tyc2.dat
};
// By the file's name alone, in any case: the bytes are checked as they are read.
IndexedPart IndexedPartNamed(std::string_view name);
bool IsRegionIndexName(std::string_view name);

inline constexpr std::uint64_t kRecordsPerSplit = 127000;
inline constexpr std::size_t kTycho2RecordBytes = 207;      // 206 and the line end
inline constexpr std::size_t kSupplementRecordBytes = 123;  // 122 and the line end
// How far a star's position as read may lie outside its region's box, in degrees: its mean
// position moved from the observed one that bounds the box, which the records read confirm.
inline constexpr double kRegionMarginDegrees = 0.1;

// A run of records of one file, counted from 0 in the file.
struct Stretch {
    std::uint64_t first = 0;
    std::uint64_t count = 0;
};

// What a field needs of one file by the index.
struct FilePlan {
    IndexedPart part;
    std::uint64_t firstRecord = 1;  // the record number of the file's first line
    std::uint64_t records = 0;      // the records the index counts in it
    std::size_t recordBytes = kTycho2RecordBytes;
    // The regions met, a record more on either side where the file has it, which tells an index
    // that is one record off; in order, apart.
    std::vector<Stretch> stretches;
};

// The regions, by TYC1, whose boxes a field of `radius` degrees may meet, in order.
std::vector<std::uint32_t> RegionsMet(const RegionIndex& index, const SkyPosition& centre,
                                      double radius);
FilePlan PlanFile(const RegionIndex& index, IndexedPart part,
                  const std::vector<std::uint32_t>& regions);

// Why records read do not bear out the index: the record, counted from 1 in its file, and what
// is wrong with it.
struct Misfit {
    enum class Kind { NotARecord, OtherRegion, OutsideBox };
    Kind kind = Kind::NotARecord;
    std::uint64_t line = 0;
    std::uint32_t region = 0;  // where the index puts it
};
// Checks the records of a stretch as read: each a whole record, bearing the TYC1 of the region
// the index puts its record number in, and lying in that region's box.
std::optional<Misfit> CheckStretch(const RegionIndex& index, const FilePlan& plan,
                                   const Stretch& stretch, std::string_view bytes);
