#include "CommandLine.h"

#include <string.h>

const char* NextCommandArgument(const char* cursor, CText& argument)
{
    argument.Empty();
    if (cursor == nullptr)
        return nullptr;
    while (*cursor == ' ')
        cursor++;
    if (*cursor == 0)
        return nullptr;
    const char* start = cursor;
    char end = ' ';
    if (*cursor == '"') {
        start = ++cursor;
        end = '"';
    }
    while (*cursor != 0 && *cursor != end)
        cursor++;
    argument.AssignPart(start, (int)(cursor - start));
    if (*cursor == '"')
        cursor++;
    return cursor;
}

ClipFileKind ClassifyClipFile(const char* path)
{
    size_t length = strlen(path);
    if (length < 4)
        return kClipFileIgnored;
    const char* suffix = path + length - 4;
    if (CompareNoCase(suffix, ".cbf") == 0)
        return kClipFileBook;
    if (CompareNoCase(suffix, ".cpf") == 0)
        return kClipFilePage;
    return kClipFileIgnored;
}
