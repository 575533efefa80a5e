#include "ClipFileCodec.h"

#include <string.h>

namespace {

uint32_t LoadU32(const uint8_t* bytes)
{
    return (uint32_t)bytes[0] | (uint32_t)bytes[1] << 8 | (uint32_t)bytes[2] << 16 | (uint32_t)bytes[3] << 24;
}

uint16_t LoadU16(const uint8_t* bytes) { return (uint16_t)(bytes[0] | bytes[1] << 8); }

int32_t LoadI32(const uint8_t* bytes) { return (int32_t)LoadU32(bytes); }

uint64_t Magnitude(int32_t value) { return value < 0 ? (uint64_t)0 - (uint64_t)(int64_t)value : (uint64_t)value; }

// A cursor that never moves past the end of its bytes.
class CByteReader {
public:
    CByteReader(const uint8_t* bytes, size_t length, size_t offset)
        : m_bytes(bytes), m_length(length), m_offset(offset), m_ok(offset <= length)
    {
    }

    int Has(uint64_t count) const { return m_ok && count <= m_length - m_offset; }
    uint32_t U32()
    {
        if (!Has(4)) {
            m_ok = 0;
            return 0;
        }
        uint32_t value = LoadU32(m_bytes + m_offset);
        m_offset += 4;
        return value;
    }
    // A zero-terminated string that ends within the bytes.
    const char* String()
    {
        if (!m_ok)
            return nullptr;
        const void* end = memchr(m_bytes + m_offset, 0, m_length - m_offset);
        if (end == nullptr) {
            m_ok = 0;
            return nullptr;
        }
        const char* text = (const char*)(m_bytes + m_offset);
        m_offset = (const uint8_t*)end - m_bytes + 1;
        return text;
    }
    const uint8_t* Take(uint32_t count)
    {
        if (!Has(count)) {
            m_ok = 0;
            return nullptr;
        }
        const uint8_t* start = m_bytes + m_offset;
        m_offset += count;
        return start;
    }

    int IsOk() const { return m_ok; }
    size_t GetOffset() const { return m_offset; }

private:
    const uint8_t* m_bytes;
    size_t m_length;
    size_t m_offset;
    int m_ok;
};

// Lengths inside a bitmap or palette block must stay within the block.
int CheckBlockLayout(const CStoredRecord& record)
{
    if (record.kind == kStoredPalette) {
        if (record.dataBytes < 4)
            return 0;
        uint64_t needed = 4 + 4 * (uint64_t)LoadU16(record.data + 2);
        return needed <= record.dataBytes;
    }
    if (record.kind == kStoredBitmap) {
        if (record.dataBytes < kStoredDibHeaderSize)
            return 0;
        CStoredDibLayout layout;
        // A bit count without a stored layout is kept as a record the
        // graphics system will refuse; the block's length still holds.
        if (!MeasureStoredDib(record.data, &layout))
            return 1;
        uint64_t total = (uint64_t)layout.headerBytes + layout.colourBytes + layout.bitsBytes;
        return total <= record.dataBytes;
    }
    return 1;
}

int PutByte(CByteSink& sink, uint8_t byte) { return sink.Put(&byte, 1); }

int PutString(CByteSink& sink, const char* text)
{
    const char* safe = text != nullptr ? text : "";
    return sink.Put(safe, strlen(safe) + 1);
}

int PutI32(CByteSink& sink, int32_t value) { return PutStoredU32(sink, (uint32_t)value); }

} // namespace

const char* ClipFileMagic(ClipFileType type)
{
    switch (type) {
    case kClipPageFile: return "VLMP1";
    case kClipBookFile: return "VLMB1";
    default: return "VLMD1";
    }
}

StoredKind StoredKindOf(uint32_t formatId, uint32_t size)
{
    if (size != 0)
        return formatId == 3 ? kStoredMetafilePicture : kStoredBlock;
    switch (formatId) {
    case 2: return kStoredBitmap;
    case 9: return kStoredPalette;
    case 14: return kStoredEnhMetafile;
    default: return kStoredValue;
    }
}

int MeasureStoredDib(const uint8_t* header, CStoredDibLayout* layout)
{
    uint32_t headerBytes = LoadU32(header);
    int32_t width = LoadI32(header + 4);
    uint64_t rows = Magnitude(LoadI32(header + 8));
    uint16_t bitCount = LoadU16(header + 14);
    uint32_t compression = LoadU32(header + 16);
    uint32_t sizeImage = LoadU32(header + 20);
    uint64_t columns = width < 0 ? 0 : (uint64_t)width;

    uint64_t colours, bits;
    switch (bitCount) {
    case 1: case 4: case 8:
        colours = 4u << bitCount;
        bits = sizeImage;
        break;
    case 16: case 24: case 32:
        colours = bitCount != 24 && compression == 3 ? columns * rows * 12 : 0;
        bits = rows * ((columns * bitCount + 31) / 32 * 4);
        break;
    default:
        return 0;
    }
    // Parts beyond 32 bits are held at the largest value, which no block
    // can hold.
    layout->headerBytes = headerBytes;
    layout->colourBytes = colours > 0xFFFFFFFFu ? 0xFFFFFFFFu : (uint32_t)colours;
    layout->bitsBytes = bits > 0xFFFFFFFFu ? 0xFFFFFFFFu : (uint32_t)bits;
    return 1;
}

uint32_t StoredPaletteLength(uint32_t entries) { return 8 + 4 * entries; }

int IsSoundMetafile(const uint8_t* bytes, uint32_t length)
{
    // METAHEADER: type, header size in words (9), version, size in words,
    // object count, largest record, parameter count; then records of
    // (size in words, function, parameters), the last with function 0.
    if (length < 18)
        return 0;
    uint16_t type = LoadU16(bytes);
    if ((type != 1 && type != 2) || LoadU16(bytes + 2) != 9)
        return 0;
    uint64_t total = 2 * (uint64_t)LoadU32(bytes + 6);
    if (total < 18 || total > length)
        return 0;
    for (uint64_t offset = 18; offset + 6 <= total;) {
        uint64_t size = 2 * (uint64_t)LoadU32(bytes + offset);
        if (size < 6 || size > total - offset)
            return 0;
        if (LoadU16(bytes + offset + 4) == 0)
            return 1;
        offset += size;
    }
    return 0;
}

int IsSoundEnhMetafile(const uint8_t* bytes, uint32_t length)
{
    // ENHMETAHEADER: type 1, its size, ... the signature " EMF" at 40 and
    // the whole size at 48; then records of (type, size), the last of
    // type 14 (EMR_EOF).
    if (length < 88 || LoadU32(bytes) != 1 || LoadU32(bytes + 40) != 0x464D4520)
        return 0;
    uint64_t total = LoadU32(bytes + 48);
    uint64_t offset = LoadU32(bytes + 4);
    if (total > length || offset < 88 || offset > total)
        return 0;
    while (offset + 8 <= total) {
        uint64_t size = LoadU32(bytes + offset + 4);
        if (size < 8 || size % 4 != 0 || size > total - offset)
            return 0;
        if (LoadU32(bytes + offset) == 14)
            return 1;
        offset += size;
    }
    return 0;
}

int ChooseStoredFormatId(uint32_t formatId, uint32_t* storedId)
{
    *storedId = formatId;
    if ((formatId & 0xFF) != kEndOfPage)
        return 1;
    if (formatId < kFirstRegisteredId || formatId > 0xFFFF)
        return 0;
    *storedId = formatId + 1;
    return 1;
}

int ReadStoredRecord(const uint8_t* bytes, size_t length, size_t offset, CStoredRecord* record)
{
    CByteReader reader(bytes, length, offset);
    memset(record, 0, sizeof *record);
    record->formatId = reader.U32();
    record->name = reader.String();
    record->size = reader.U32();
    record->kind = StoredKindOf(record->formatId, record->size);
    switch (record->kind) {
    case kStoredBlock:
        record->dataBytes = record->size;
        break;
    case kStoredMetafilePicture:
        record->mappingMode = (int32_t)reader.U32();
        record->xExtent = (int32_t)reader.U32();
        record->yExtent = (int32_t)reader.U32();
        record->dataBytes = reader.U32();
        break;
    case kStoredValue:
        record->value = reader.U32();
        break;
    default:
        record->dataBytes = reader.U32();
        break;
    }
    if (record->kind != kStoredValue)
        record->data = reader.Take(record->dataBytes);
    if (!reader.IsOk() || !CheckBlockLayout(*record))
        return 0;
    record->recordBytes = (uint32_t)(reader.GetOffset() - offset);
    return 1;
}

namespace {

// Records up to the page's 0xFE; answers the offset after it, or 0.
size_t ParseRecords(const uint8_t* bytes, size_t length, size_t offset, CStoredFileSink& sink)
{
    while (offset < length) {
        if (bytes[offset] == kEndOfPage)
            return offset + 1;
        CStoredRecord record;
        if (!ReadStoredRecord(bytes, length, offset, &record) || !sink.OnRecord(record))
            return 0;
        offset += record.recordBytes;
    }
    return 0;
}

} // namespace

int ParseClipFile(const uint8_t* bytes, size_t length, ClipFileType type, CStoredFileSink& sink)
{
    if (bytes == nullptr || length < kClipMagicLength + 1 || memcmp(bytes, ClipFileMagic(type), kClipMagicLength) != 0)
        return 0;
    CByteReader reader(bytes, length, kClipMagicLength);
    if (type == kClipPageFile) {
        const char* name = reader.String();
        return name != nullptr && sink.OnPage(name) && ParseRecords(bytes, length, reader.GetOffset(), sink) != 0;
    }
    size_t offset = kClipMagicLength;
    while (offset < length && bytes[offset] != kEndOfBook) {
        CByteReader section(bytes, length, offset);
        const char* name = section.String();
        if (name == nullptr || !sink.OnPage(name))
            return 0;
        offset = ParseRecords(bytes, length, section.GetOffset(), sink);
        if (offset == 0)
            return 0;
    }
    return 1;
}

int PutStoredU32(CByteSink& sink, uint32_t value)
{
    uint8_t bytes[4] = {(uint8_t)value, (uint8_t)(value >> 8), (uint8_t)(value >> 16), (uint8_t)(value >> 24)};
    return sink.Put(bytes, sizeof bytes);
}

int PutFileStart(CByteSink& sink, ClipFileType type)
{
    if (!sink.Put(ClipFileMagic(type), kClipMagicLength))
        return 0;
    return type != kClipPageFile || PutByte(sink, 0);
}

int PutPageName(CByteSink& sink, const char* name) { return PutString(sink, name); }

int PutStoredRecord(CByteSink& sink, const CStoredRecord& record)
{
    if (!PutStoredU32(sink, record.formatId) || !PutString(sink, record.name) || !PutStoredU32(sink, record.size))
        return 0;
    switch (StoredKindOf(record.formatId, record.size)) {
    case kStoredValue:
        return PutStoredU32(sink, record.value);
    case kStoredBlock:
        return sink.Put(record.data, record.size);
    case kStoredMetafilePicture:
        if (!PutI32(sink, record.mappingMode) || !PutI32(sink, record.xExtent) || !PutI32(sink, record.yExtent))
            return 0;
        break;
    default:
        break;
    }
    return PutStoredU32(sink, record.dataBytes) && sink.Put(record.data, record.dataBytes);
}

int PutEndOfPage(CByteSink& sink) { return PutByte(sink, kEndOfPage); }
int PutEndOfFile(CByteSink& sink) { return PutByte(sink, kEndOfBook); }
