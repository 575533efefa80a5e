// Where the lines of a text start, found in one pass over its units: bytes,
// or UTF-16 units in little-endian order at any address. CR LF, LF and CR
// alone each end a line; the text after the last line end, even when empty,
// is the last line. The text ends at its first zero unit or at the end of
// the block. Plain code over bytes, without windows, so it can be checked
// and fuzzed on its own.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <memory>
#include <vector>

// The unit at index of a text of 1- or 2-byte units.
inline uint32_t TextUnitAt(const uint8_t* data, int unitBytes, size_t index)
{
    return unitBytes == 1 ? data[index] : (uint32_t)(data[2 * index] | data[2 * index + 1] << 8);
}

class CLineIndex {
public:
    // The starts are kept in blocks of this many, so building never moves
    // what it has found and holds at most one block more than it uses.
    enum { kBlockLines = 16384 };

    CLineIndex() : m_data(nullptr), m_unitBytes(1), m_units(0), m_count(0), m_longest(0) {}
    CLineIndex(const CLineIndex&) = delete;
    CLineIndex& operator=(const CLineIndex&) = delete;

    // Indexes a text the caller keeps alive while the index is used;
    // maxUnits is how many whole units the block holds (at most 2^32 - 2).
    // Answers 0 when memory ran out, leaving the index empty.
    int Build(const uint8_t* data, size_t maxUnits, int unitBytes);
    void Clear();

    const uint8_t* GetData() const { return m_data; }
    int GetUnitBytes() const { return m_unitBytes; }
    uint32_t GetUnit(uint32_t index) const { return TextUnitAt(m_data, m_unitBytes, index); }
    // Units before the text's zero.
    uint32_t GetUnits() const { return m_units; }
    // Lines: at least 1 once built, 0 when empty.
    uint32_t GetCount() const { return m_count; }
    uint32_t GetStart(uint32_t line) const { return m_blocks[line / kBlockLines][line % kBlockLines]; }
    // Where the line's characters end, before its line end.
    uint32_t GetEnd(uint32_t line) const;
    // The line holding a unit offset; an offset inside a line end belongs
    // to the line it ends.
    uint32_t LineOf(uint32_t offset) const;
    // Characters of the longest line, its line end left out.
    uint32_t GetLongest() const { return m_longest; }
    // Bytes of memory the starts take.
    size_t GetHeldBytes() const { return m_blocks.size() * (size_t)kBlockLines * sizeof(uint32_t); }

private:
    template <int UnitBytes>
    int Scan(size_t maxUnits);
    int AddLine(uint32_t start);

    const uint8_t* m_data;
    int m_unitBytes;
    uint32_t m_units;
    uint32_t m_count;
    uint32_t m_longest;
    std::vector<std::unique_ptr<uint32_t[]>> m_blocks;
};
