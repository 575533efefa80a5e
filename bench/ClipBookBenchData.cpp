#include "ClipBookBenchData.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "ClipFiles.h"

namespace {

const char kBenchFormatName[] = "Vellmora Bench Data";

// Bytes that differ from page to page and along the page.
void FillPageBytes(BYTE* bytes, int page)
{
    for (DWORD i = 0; i < kBenchPageBytes; i += 4) {
        DWORD value = i * 2654435761u + (DWORD)page;
        memcpy(bytes + i, &value, 4);
    }
}

std::string PageName(int page)
{
    char name[32];
    snprintf(name, sizeof name, "Page %d", page + 1);
    return name;
}

} // namespace

std::string BenchFolder(const char* tag)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "vlmbench-" + tag;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveBenchFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            DeleteFileA((folder + "\\" + found.cFileName).c_str());
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

double Median(double* values, int count)
{
    std::sort(values, values + count);
    return values[count / 2];
}

double PlainRead(const std::string& path)
{
    double start = BenchNow();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD size = GetFileSize(file, nullptr);
    void* bytes = malloc(size);
    DWORD done = 0;
    ReadFile(file, bytes, size, &done, nullptr);
    CloseHandle(file);
    double elapsed = BenchNow() - start;
    free(bytes);
    return elapsed;
}

void FillBenchBook(CClipBook& book)
{
    UINT format = RegisterClipboardFormatA(kBenchFormatName);
    std::vector<BYTE> bytes(kBenchPageBytes);
    for (int page = 0; page < kBenchPages; page++) {
        FillPageBytes(bytes.data(), page);
        CClipPage* added = new CClipPage(PageName(page).c_str());
        CClipFormat* record = new CClipFormat(kBenchFormatName, format);
        record->SetBlock(bytes.data(), kBenchPageBytes);
        added->Append(record);
        book.Append(added);
    }
}

DWORD WriteBenchBookFile(const char* path, int dataFile)
{
    CSafeFileWriter writer;
    if (!writer.Open(path) || !PutFileStart(writer, dataFile ? kClipDataFile : kClipBookFile))
        return 0;
    std::vector<BYTE> bytes(kBenchPageBytes);
    CStoredRecord record = {};
    record.formatId = RegisterClipboardFormatA(kBenchFormatName);
    record.name = kBenchFormatName;
    record.size = record.dataBytes = kBenchPageBytes;
    record.kind = kStoredBlock;
    record.data = bytes.data();
    for (int page = 0; page < kBenchPages; page++) {
        FillPageBytes(bytes.data(), page);
        if (!PutPageName(writer, PageName(page).c_str()) || !PutStoredRecord(writer, record) || !PutEndOfPage(writer))
            return 0;
    }
    if (!PutEndOfFile(writer) || !writer.Commit())
        return 0;
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    return GetFileAttributesExA(path, GetFileExInfoStandard, &attributes) ? attributes.nFileSizeLow : 0;
}
