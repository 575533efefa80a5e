// Saving and loading a book of 64 pages, 256 MB in all, against writing and
// reading the same number of bytes with plain WriteFile and ReadFile.
// Prints the medians of a few rounds and their ratios.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "ClipBookBenchData.h"
#include "ClipFiles.h"

namespace {

// Writes size bytes in page-sized pieces from the book's own blocks.
double PlainWrite(const CClipBook& book, const std::string& path, DWORD size, int flush)
{
    double start = BenchNow();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    for (DWORD written = 0, page = 0; written < size; page++) {
        const CClipFormat* record = book.GetPage((int)(page % kBenchPages))->GetRecord(0);
        DWORD piece = size - written < record->GetSize() ? size - written : record->GetSize();
        DWORD done = 0;
        WriteFile(file, record->GetData(), piece, &done, nullptr);
        written += piece;
    }
    if (flush)
        FlushFileBuffers(file);
    CloseHandle(file);
    return BenchNow() - start;
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    std::string folder = BenchFolder("saveload");
    std::string bookPath = folder + "\\bench.cbf", plainPath = folder + "\\plain.bin";
    CClipBook book;
    FillBenchBook(book);

    double save[kBenchRounds], load[kBenchRounds], write[kBenchRounds], writeFlushed[kBenchRounds],
        read[kBenchRounds];
    DWORD size = 0;
    for (int round = 0; round < kBenchRounds; round++) {
        double start = BenchNow();
        if (!SaveBookFile(book, bookPath.c_str(), 0)) {
            printf("the book could not be saved\n");
            return 1;
        }
        save[round] = BenchNow() - start;
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        GetFileAttributesExA(bookPath.c_str(), GetFileExInfoStandard, &attributes);
        size = attributes.nFileSizeLow;
        write[round] = PlainWrite(book, plainPath, size, 0);
        writeFlushed[round] = PlainWrite(book, plainPath, size, 1);

        CClipBook loaded;
        start = BenchNow();
        int complete = LoadBookFile(bookPath.c_str(), 0, loaded);
        load[round] = BenchNow() - start;
        if (!complete || loaded.GetCount() != kBenchPages) {
            printf("the book could not be loaded\n");
            return 1;
        }
        read[round] = PlainRead(bookPath);
    }
    double saveMs = Median(save, kBenchRounds), loadMs = Median(load, kBenchRounds);
    double writeMs = Median(write, kBenchRounds), flushedMs = Median(writeFlushed, kBenchRounds);
    double readMs = Median(read, kBenchRounds);
    printf("Book of %d pages, %lu bytes (median of %d rounds)\n", kBenchPages, size, kBenchRounds);
    printf("  save %9.1f ms   plain WriteFile %9.1f ms   ratio %5.2f (target 2)\n", saveMs, writeMs, saveMs / writeMs);
    printf("                      WriteFile + flush %9.1f ms   ratio %5.2f (the save flushes too)\n", flushedMs,
           saveMs / flushedMs);
    printf("  load %9.1f ms   plain ReadFile  %9.1f ms   ratio %5.2f (target 2)\n", loadMs, readMs, loadMs / readMs);
    RemoveBenchFolder(folder);
    return 0;
}
