// The floor the text views are measured against: one plain pass over a text
// that counts its line ends (CR LF, LF, CR alone), as any viewer must make.
#pragma once

#include <stddef.h>

inline size_t CountLineEnds(const char* text, size_t size)
{
    size_t ends = 0;
    for (size_t i = 0; i < size && text[i] != 0; i++) {
        if (text[i] == '\n') {
            ends++;
        } else if (text[i] == '\r') {
            ends++;
            if (i + 1 < size && text[i + 1] == '\n')
                i++;
        }
    }
    return ends;
}
