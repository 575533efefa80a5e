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
void CLineIndex::Scan(size_t readyUnits)
{
    const uint8_t* data = m_data;
    uint32_t lineStart = m_lineStart;
    size_t i = m_scanned;
    // A CR as the last ready unit waits for the next: it may start a CR LF.
    size_t limit = readyUnits < m_end ? readyUnits - 1 : readyUnits;
    for (; i < limit; i++) {
        // Bytes are skipped eight at a time up to the next that may end a
        // line or the text.
        if (UnitBytes == 1) {
            while (i + 8 <= limit && !HasByteBelow14(data + i))
                i += 8;
            if (i >= limit)
                break;
        }
        uint32_t unit = TextUnitAt(data, UnitBytes, i);
        // Most units are above CR: one comparison each.
        if (unit > '\r')
            continue;
        if (unit == 0) {
            m_end = i;
            break;
        }
        if (unit != '\n' && unit != '\r')
            continue;
        size_t contentEnd = i;
        if (unit == '\r' && i + 1 < readyUnits && TextUnitAt(data, UnitBytes, i + 1) == '\n')
            i++;
        if (contentEnd - lineStart > m_longest)
            m_longest = (uint32_t)(contentEnd - lineStart);
        lineStart = (uint32_t)(i + 1);
        if (!AddLine(lineStart)) {
            m_state = kFailed;
            return;
        }
    }
    m_scanned = i < m_end ? i : m_end;
    m_lineStart = lineStart;
}

void CLineIndex::Begin(const uint8_t* data, size_t maxUnits, int unitBytes)
{
    Clear();
    m_data = data;
    m_unitBytes = unitBytes == 2 ? 2 : 1;
    m_maxUnits = maxUnits;
    m_end = maxUnits > UINT32_MAX - 1 ? UINT32_MAX - 1 : maxUnits;
    m_state = AddLine(0) ? kBuilding : kFailed;
}

void CLineIndex::Extend(size_t readyUnits)
{
    if (readyUnits > m_end)
        readyUnits = m_end;
    if (m_state != kBuilding || readyUnits == 0 || readyUnits <= m_scanned)
        return;
    if (m_unitBytes == 1)
        Scan<1>(readyUnits);
    else
        Scan<2>(readyUnits);
}

int CLineIndex::Finish()
{
    Extend(m_end);
    if (m_state != kBuilding) {
        Clear();
        return 0;
    }
    m_units = (uint32_t)m_scanned;
    if (m_units - m_lineStart > m_longest)
        m_longest = m_units - m_lineStart;
    m_state = kBuilt;
    return 1;
}

int CLineIndex::Build(const uint8_t* data, size_t maxUnits, int unitBytes)
{
    Begin(data, maxUnits, unitBytes);
    return Finish();
}

int CLineIndex::IsBuildingOver(const uint8_t* data, size_t maxUnits, int unitBytes) const
{
    return (m_state == kBuilding || m_state == kFailed) && m_data == data && m_unitBytes == unitBytes && m_maxUnits == maxUnits;
}

void CLineIndex::Clear()
{
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_units = m_count = m_longest = 0;
    m_scanned = m_maxUnits = m_end = 0;
    m_lineStart = 0;
    m_state = kEmpty;
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
