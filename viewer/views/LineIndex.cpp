#include "LineIndex.h"

#include <string.h>

#include <new>

namespace {
// Whether any of eight bytes lies below 14 (CR is 13, the zero 0): the
// classic test for a byte less than n in a word, exact for n up to 128.
inline int HasByteBelow14(const uint8_t* bytes)
{
    uint64_t word;
    memcpy(&word, bytes, sizeof word);
    return ((word - 0x0E0E0E0E0E0E0E0EULL) & ~word & 0x8080808080808080ULL) != 0;
}
} // namespace

int CLineIndex::AddLine(uint32_t start)
{
    if (m_count % kBlockLines == 0) {
        uint32_t* block = new (std::nothrow) uint32_t[kBlockLines];
        if (block == nullptr)
            return 0;
        m_blocks.emplace_back(block);
    }
    m_blocks.back()[m_count % kBlockLines] = start;
    m_count++;
    return 1;
}

template <int UnitBytes>
int CLineIndex::Scan(size_t maxUnits)
{
    const uint8_t* data = m_data;
    uint32_t lineStart = 0;
    size_t i = 0;
    for (; i < maxUnits; i++) {
        // Bytes are skipped eight at a time up to the next that may end a
        // line or the text.
        if (UnitBytes == 1) {
            while (i + 8 <= maxUnits && !HasByteBelow14(data + i))
                i += 8;
            if (i >= maxUnits)
                break;
        }
        uint32_t unit = TextUnitAt(data, UnitBytes, i);
        // Most units are above CR: one comparison each.
        if (unit > '\r')
            continue;
        if (unit == 0)
            break;
        if (unit != '\n' && unit != '\r')
            continue;
        size_t contentEnd = i;
        if (unit == '\r' && i + 1 < maxUnits && TextUnitAt(data, UnitBytes, i + 1) == '\n')
            i++;
        if (contentEnd - lineStart > m_longest)
            m_longest = (uint32_t)(contentEnd - lineStart);
        lineStart = (uint32_t)(i + 1);
        if (!AddLine(lineStart))
            return 0;
    }
    m_units = (uint32_t)i;
    if (m_units - lineStart > m_longest)
        m_longest = m_units - lineStart;
    return 1;
}

int CLineIndex::Build(const uint8_t* data, size_t maxUnits, int unitBytes)
{
    Clear();
    m_data = data;
    m_unitBytes = unitBytes == 2 ? 2 : 1;
    if (maxUnits > UINT32_MAX - 1)
        maxUnits = UINT32_MAX - 1;
    int built = AddLine(0) && (m_unitBytes == 1 ? Scan<1>(maxUnits) : Scan<2>(maxUnits));
    if (!built)
        Clear();
    return built;
}

void CLineIndex::Clear()
{
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_units = m_count = m_longest = 0;
}

uint32_t CLineIndex::GetEnd(uint32_t line) const
{
    if (line + 1 >= m_count)
        return m_units;
    uint32_t end = GetStart(line + 1);
    // The next line starts right after this one's line end.
    if (GetUnit(end - 1) == '\n') {
        end--;
        if (end > GetStart(line) && GetUnit(end - 1) == '\r')
            end--;
    } else {
        end--;
    }
    return end;
}

uint32_t CLineIndex::LineOf(uint32_t offset) const
{
    // The last line whose start is at or before the offset.
    uint32_t low = 0, high = m_count;
    while (high - low > 1) {
        uint32_t middle = low + (high - low) / 2;
        if (GetStart(middle) <= offset)
            low = middle;
        else
            high = middle;
    }
    return low;
}
