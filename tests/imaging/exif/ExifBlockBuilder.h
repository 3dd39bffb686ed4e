// Builds EXIF blocks (the data of an APP1 segment, starting with "Exif\0\0") for tests and fuzz seeds:
// Intel or Motorola byte order, the main directory, the Exif and GPS directories, IFD1 with a
// thumbnail, and the maker-note layouts of Nikon (two), Olympus, Canon, Fuji and Casio.
//
//   ExifBlockBuilder b(ExifByteOrder::Motorola);
//   b.Main().Ascii(0x010F, "Canon").Short(0x0112, { 6 });
//   b.Exif().Rational(0x829A, 10, 2500);
//   b.MakerNote(ExifMakerLayout::Canon).Short(0x0001, { 0, 2, 0, 4 });
//   const std::vector<uint8_t> block = b.Build();
//
// Entries are written in ascending tag order; values longer than four bytes follow their directory,
// then the directories they link to. Raw() writes an entry exactly as given (any type, count and value
// field) for hostile cases.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

enum class ExifByteOrder { Intel, Motorola };
enum class ExifMakerLayout { Nikon, Nikon2, Olympus, Canon, Fuji, Casio };

class ExifTestDirectory;

class ExifTestMakerNote {
public:
    explicit ExifTestMakerNote(ExifMakerLayout layout);
    ExifMakerLayout layout;
    std::shared_ptr<ExifTestDirectory> directory;
    // The note's bytes when it starts at tiffOffset (counted from the block's TIFF header).
    std::vector<uint8_t> Serialize(uint32_t tiffOffset, bool bigEndian) const;
};

struct ExifTestEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    std::vector<uint32_t> numbers; // numeric components, a rational as two numbers
    std::vector<uint8_t> bytes; // values of 1-byte types and FLOAT/DOUBLE, as stored
    std::shared_ptr<ExifTestDirectory> child; // a LONG offset of this directory
    std::shared_ptr<ExifTestMakerNote> maker; // an UNDEFINED maker note
    std::shared_ptr<std::vector<uint8_t>> blob; // a LONG offset of these bytes (a thumbnail)
    std::optional<uint32_t> rawField; // the value field as given; nothing is placed
};

class ExifTestDirectory {
public:
    ExifTestDirectory& Byte(uint16_t tag, std::vector<uint8_t> values)
    {
        return Bytes(tag, 1, std::move(values));
    }
    ExifTestDirectory& SByte(uint16_t tag, std::vector<uint8_t> values)
    {
        return Bytes(tag, 6, std::move(values));
    }
    ExifTestDirectory& Undefined(uint16_t tag, std::vector<uint8_t> values)
    {
        return Bytes(tag, 7, std::move(values));
    }
    ExifTestDirectory& Ascii(uint16_t tag, const std::string& text, bool terminated = true)
    {
        std::vector<uint8_t> bytes(text.begin(), text.end());
        if (terminated)
            bytes.push_back(0);
        return Bytes(tag, 2, std::move(bytes));
    }
    ExifTestDirectory& Short(uint16_t tag, std::vector<uint32_t> values)
    {
        return Numbers(tag, 3, std::move(values), 1);
    }
    ExifTestDirectory& SShort(uint16_t tag, std::vector<int32_t> values)
    {
        return Numbers(tag, 8, asWords(values), 1);
    }
    ExifTestDirectory& Long(uint16_t tag, std::vector<uint32_t> values)
    {
        return Numbers(tag, 4, std::move(values), 1);
    }
    ExifTestDirectory& SLong(uint16_t tag, std::vector<int32_t> values)
    {
        return Numbers(tag, 9, asWords(values), 1);
    }
    ExifTestDirectory& Rational(uint16_t tag, uint32_t n, uint32_t d) { return Numbers(tag, 5, { n, d }, 2); }
    ExifTestDirectory& Rationals(uint16_t tag, std::vector<uint32_t> pairs)
    {
        return Numbers(tag, 5, std::move(pairs), 2);
    }
    ExifTestDirectory& SRational(uint16_t tag, int32_t n, int32_t d)
    {
        return Numbers(tag, 10, { static_cast<uint32_t>(n), static_cast<uint32_t>(d) }, 2);
    }
    // FLOAT (11) and DOUBLE (12) and any other 1-byte-per-unit data, stored as given.
    ExifTestDirectory& Bytes(uint16_t tag, uint16_t type, std::vector<uint8_t> values, uint32_t unit = 1)
    {
        ExifTestEntry e = Entry(tag, type, static_cast<uint32_t>(values.size() / unit));
        e.bytes = std::move(values);
        return Add(std::move(e));
    }
    ExifTestDirectory& Raw(uint16_t tag, uint16_t type, uint32_t count, uint32_t field)
    {
        ExifTestEntry e = Entry(tag, type, count);
        e.rawField = field;
        return Add(std::move(e));
    }
    ExifTestDirectory& Link(uint16_t tag, std::shared_ptr<ExifTestDirectory> child)
    {
        ExifTestEntry e = Entry(tag, 4, 1);
        e.child = std::move(child);
        return Add(std::move(e));
    }
    ExifTestDirectory& Blob(uint16_t tag, std::vector<uint8_t> data)
    {
        ExifTestEntry e = Entry(tag, 4, 1);
        e.blob = std::make_shared<std::vector<uint8_t>>(std::move(data));
        return Add(std::move(e));
    }
    ExifTestDirectory& Maker(std::shared_ptr<ExifTestMakerNote> note)
    {
        ExifTestEntry e = Entry(0x927C, 7, 0);
        e.maker = std::move(note);
        return Add(std::move(e));
    }
    ExifTestDirectory& Add(ExifTestEntry entry)
    {
        entries.push_back(std::move(entry));
        return *this;
    }
    bool Empty() const { return entries.empty(); }

    std::vector<ExifTestEntry> entries;
    std::shared_ptr<ExifTestDirectory> next; // the next directory in the chain (IFD1 after IFD0)
    mutable uint32_t placedAt = 0; // offset of the directory once written

private:
    static ExifTestEntry Entry(uint16_t tag, uint16_t type, uint32_t count)
    {
        ExifTestEntry e;
        e.tag = tag;
        e.type = type;
        e.count = count;
        return e;
    }
    static std::vector<uint32_t> asWords(const std::vector<int32_t>& values)
    {
        return std::vector<uint32_t>(values.begin(), values.end());
    }
    ExifTestDirectory& Numbers(
        uint16_t tag, uint16_t type, std::vector<uint32_t> values, uint32_t perComponent)
    {
        ExifTestEntry e = Entry(tag, type, static_cast<uint32_t>(values.size() / perComponent));
        e.numbers = std::move(values);
        return Add(std::move(e));
    }
};

// Writes directories into a byte vector; the offset of byte i is i + shift.
class ExifTestWriter {
public:
    ExifTestWriter(bool bigEndian, int64_t shift)
        : big(bigEndian)
        , shift(shift)
    {
    }
    void Put16(uint32_t v)
    {
        const uint8_t b[] = { static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8) };
        if (big)
            out.insert(out.end(), { b[1], b[0] });
        else
            out.insert(out.end(), { b[0], b[1] });
    }
    void Put32(uint32_t v)
    {
        const size_t at = out.size();
        out.resize(at + 4);
        Patch32(at, v);
    }
    void Patch32(size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(big ? v >> (24 - 8 * i) : v >> (8 * i));
    }
    void Align()
    {
        if ((out.size() + static_cast<size_t>(shift)) % 2)
            out.push_back(0);
    }
    uint32_t Offset() const { return static_cast<uint32_t>(static_cast<int64_t>(out.size()) + shift); }

    // The value bytes of an entry in this writer's byte order.
    std::vector<uint8_t> Encode(const ExifTestEntry& e) const
    {
        if (e.numbers.empty())
            return e.bytes;
        const size_t width = e.type == 3 || e.type == 8 ? 2 : 4;
        ExifTestWriter w(big, 0);
        for (const uint32_t v : e.numbers)
            width == 2 ? w.Put16(v) : w.Put32(v);
        return w.out;
    }

    uint32_t Place(const ExifTestDirectory& dir)
    {
        std::vector<const ExifTestEntry*> sorted;
        for (const auto& e : dir.entries)
            sorted.push_back(&e);
        std::stable_sort(sorted.begin(), sorted.end(), [](auto a, auto b) { return a->tag < b->tag; });
        Align();
        dir.placedAt = Offset();
        Put16(static_cast<uint32_t>(sorted.size()));
        std::vector<size_t> fields;
        for (const ExifTestEntry* e : sorted) {
            Put16(e->tag);
            Put16(e->type);
            Put32(e->maker ? static_cast<uint32_t>(e->maker->Serialize(0, big).size()) : e->count);
            fields.push_back(out.size());
            Put32(e->rawField.value_or(0));
        }
        const size_t nextField = out.size();
        Put32(0);
        for (size_t i = 0; i < sorted.size(); ++i) {
            const ExifTestEntry& e = *sorted[i];
            if (e.rawField || e.child || e.blob)
                continue;
            std::vector<uint8_t> data;
            if (e.maker) {
                Align();
                data = e.maker->Serialize(Offset(), big);
            } else {
                data = Encode(e);
            }
            if (data.size() <= 4) {
                std::copy(data.begin(), data.end(), out.begin() + static_cast<std::ptrdiff_t>(fields[i]));
            } else {
                Align();
                Patch32(fields[i], Offset());
                out.insert(out.end(), data.begin(), data.end());
            }
        }
        for (size_t i = 0; i < sorted.size(); ++i) {
            if (sorted[i]->child)
                Patch32(fields[i], Place(*sorted[i]->child));
            if (sorted[i]->blob) {
                Align();
                Patch32(fields[i], Offset());
                out.insert(out.end(), sorted[i]->blob->begin(), sorted[i]->blob->end());
            }
        }
        if (dir.next)
            Patch32(nextField, Place(*dir.next));
        return dir.placedAt;
    }

    bool big;
    int64_t shift;
    std::vector<uint8_t> out;
};

inline ExifTestMakerNote::ExifTestMakerNote(ExifMakerLayout layout)
    : layout(layout)
    , directory(std::make_shared<ExifTestDirectory>())
{
}

inline std::vector<uint8_t> ExifTestMakerNote::Serialize(uint32_t tiffOffset, bool bigEndian) const
{
    const auto text = [](const char* s, size_t n) { return std::vector<uint8_t>(s, s + n); };
    std::vector<uint8_t> header;
    int64_t shift = tiffOffset; // offsets count from the block's TIFF header
    bool big = bigEndian;
    switch (layout) {
    case ExifMakerLayout::Nikon:
        header = text("Nikon\0\1\0", 8);
        break;
    case ExifMakerLayout::Nikon2: {
        // Offsets count from the note's own TIFF header, ten bytes in.
        header = text("Nikon\0\2\x10\0\0", 10);
        ExifTestWriter tiff(big, 0);
        tiff.out = big ? text("MM", 2) : text("II", 2);
        tiff.Put16(42);
        tiff.Put32(8);
        header.insert(header.end(), tiff.out.begin(), tiff.out.end());
        shift = -10;
        break;
    }
    case ExifMakerLayout::Olympus:
        header = text("OLYMP\0\1\0", 8);
        break;
    case ExifMakerLayout::Fuji:
        // Offsets count from the note's start; always little-endian.
        header = text("FUJIFILM\x0c\0\0\0", 12);
        shift = 0;
        big = false;
        break;
    case ExifMakerLayout::Canon:
    case ExifMakerLayout::Casio:
        break;
    }
    ExifTestWriter w(big, shift);
    w.out = header;
    w.Place(*directory);
    return w.out;
}

class ExifBlockBuilder {
public:
    explicit ExifBlockBuilder(ExifByteOrder order = ExifByteOrder::Intel)
        : big_(order == ExifByteOrder::Motorola)
    {
    }

    ExifTestDirectory& Main() { return *main_; }
    // The Exif sub-directory; linked from the main directory (tag 0x8769) once asked for.
    ExifTestDirectory& Exif() { return *exif_; }
    // The GPS directory; linked from the main directory (tag 0x8825) once asked for.
    ExifTestDirectory& Gps() { return *gps_; }
    // The maker note's directory, written as the Exif directory's tag 0x927C in the given layout.
    ExifTestDirectory& MakerNote(ExifMakerLayout layout)
    {
        maker_ = std::make_shared<ExifTestMakerNote>(layout);
        return *maker_->directory;
    }
    // IFD1 with a JPEG thumbnail (compression 6, offset and length of the bytes).
    void Thumbnail(std::vector<uint8_t> jpeg) { thumbnail_ = std::move(jpeg); }

    std::vector<uint8_t> Build() const
    {
        ExifTestDirectory main = *main_;
        auto exif = std::make_shared<ExifTestDirectory>(*exif_);
        if (maker_)
            exif->Maker(maker_);
        if (!exif->Empty())
            main.Link(0x8769, exif);
        if (!gps_->Empty())
            main.Link(0x8825, gps_);
        if (thumbnail_) {
            auto ifd1 = std::make_shared<ExifTestDirectory>();
            ifd1->Short(0x0103, { 6 }).Rational(0x011A, 72, 1).Rational(0x011B, 72, 1).Short(0x0128, { 2 });
            ifd1->Blob(0x0201, *thumbnail_).Long(0x0202, { static_cast<uint32_t>(thumbnail_->size()) });
            main.next = ifd1;
        }
        ExifTestWriter w(big_, -6);
        const char* head = big_ ? "Exif\0\0MM" : "Exif\0\0II";
        w.out.assign(head, head + 8);
        w.Put16(42);
        w.Put32(8);
        w.Place(main);
        exifOffset_ = exif->placedAt;
        gpsOffset_ = gps_->placedAt;
        return w.out;
    }

    // Offsets (from the TIFF header) where the last Build put the Exif and GPS directories.
    uint32_t ExifOffset() const { return exifOffset_; }
    uint32_t GpsOffset() const { return gpsOffset_; }

private:
    bool big_;
    std::shared_ptr<ExifTestDirectory> main_ = std::make_shared<ExifTestDirectory>();
    std::shared_ptr<ExifTestDirectory> exif_ = std::make_shared<ExifTestDirectory>();
    std::shared_ptr<ExifTestDirectory> gps_ = std::make_shared<ExifTestDirectory>();
    std::shared_ptr<ExifTestMakerNote> maker_;
    std::optional<std::vector<uint8_t>> thumbnail_;
    mutable uint32_t exifOffset_ = 0;
    mutable uint32_t gpsOffset_ = 0;
};

// Index in an Intel block of the 4-byte value field of the entry with this tag in the directory at
// tiffOffset (counted from the TIFF header, as the block's offsets are).
inline size_t ExifFieldOf(const std::vector<uint8_t>& block, uint32_t tiffOffset, uint16_t tag)
{
    const size_t dir = 6 + size_t { tiffOffset };
    const size_t count = block.at(dir) | block.at(dir + 1) << 8;
    for (size_t k = 0; k < count; ++k) {
        const size_t at = dir + 2 + 12 * k;
        if ((block.at(at) | block.at(at + 1) << 8) == tag)
            return at + 8;
    }
    throw std::runtime_error("no such entry");
}

// An Intel block near the size limit: the orientation 6, one 60,000-byte value of control bytes (each
// renders as a five-character escape) and the given number of ASCII entries that all point at it, so
// that the text caps of a value and of a block come into play.
inline std::vector<uint8_t> ExifTextBomb(uint16_t entries)
{
    ExifBlockBuilder b;
    b.Main().Short(0x0112, { 6 }).Undefined(0x0200, std::vector<uint8_t>(60000, 0x01));
    const uint16_t first = 0x1000;
    for (uint16_t tag = first; tag < first + entries; ++tag)
        b.Main().Raw(tag, 2, 60000, 0);
    std::vector<uint8_t> block = b.Build();
    const size_t shared = ExifFieldOf(block, 8, 0x0200);
    for (uint16_t tag = first; tag < first + entries; ++tag)
        std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(shared), 4,
            block.begin() + static_cast<std::ptrdiff_t>(ExifFieldOf(block, 8, tag)));
    return block;
}
