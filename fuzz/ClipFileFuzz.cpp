// Feeds arbitrary bytes to the clip file reader as each of the three file
// types. Every page name and record handed over must lie within the bytes,
// every block the reader accepted must measure within itself, and writing
// a record again must give back exactly the bytes it was read from.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "ClipFileCodec.h"

namespace {

class CMemorySink : public CByteSink {
public:
    int Put(const void* bytes, size_t count) override
    {
        const uint8_t* start = (const uint8_t*)bytes;
        m_bytes.insert(m_bytes.end(), start, start + count);
        return 1;
    }
    std::vector<uint8_t> m_bytes;
};

class CCheckingSink : public CStoredFileSink {
public:
    CCheckingSink(const uint8_t* bytes, size_t length) : m_bytes(bytes), m_length(length) {}

    int OnPage(const char* name) override
    {
        RequireWithin(name, strlen(name) + 1);
        return 1;
    }

    int OnRecord(const CStoredRecord& record) override
    {
        // The record starts with its identifier, just before its name.
        const uint8_t* start = (const uint8_t*)record.name - 4;
        RequireWithin(start, record.recordBytes);
        if (record.data != nullptr)
            RequireWithin(record.data, record.dataBytes);
        CStoredDibLayout layout;
        if (record.kind == kStoredBitmap && MeasureStoredDib(record.data, &layout) &&
            (uint64_t)layout.headerBytes + layout.colourBytes + layout.bitsBytes > record.dataBytes)
            abort();
        if (record.kind == kStoredMetafilePicture)
            IsSoundMetafile(record.data, record.dataBytes);
        if (record.kind == kStoredEnhMetafile)
            IsSoundEnhMetafile(record.data, record.dataBytes);

        CMemorySink again;
        if (!PutStoredRecord(again, record) || again.m_bytes.size() != record.recordBytes ||
            memcmp(again.m_bytes.data(), start, record.recordBytes) != 0)
            abort();
        return 1;
    }

private:
    void RequireWithin(const void* pointer, size_t count) const
    {
        const uint8_t* start = (const uint8_t*)pointer;
        if (start < m_bytes || start > m_bytes + m_length || count > (size_t)(m_bytes + m_length - start))
            abort();
    }

    const uint8_t* m_bytes;
    size_t m_length;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (ClipFileType type : {kClipPageFile, kClipBookFile, kClipDataFile}) {
        CCheckingSink sink(data, size);
        ParseClipFile(data, size, type, sink);
    }
    uint32_t stored = 0;
    if (size >= 4) {
        uint32_t id = (uint32_t)data[0] | (uint32_t)data[1] << 8 | (uint32_t)data[2] << 16 | (uint32_t)data[3] << 24;
        if (ChooseStoredFormatId(id, &stored) && (stored & 0xFF) == kEndOfPage)
            abort();
    }
    return 0;
}
