// Saving and loading a book of 64 pages, 256 MB in all, against writing and
// reading the same number of bytes with plain WriteFile and ReadFile, and
// against WriteFile with the flush that a save makes before it replaces
// the previous file. Prints the medians and the best of a few rounds.
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
    double elapsed = BenchNow() - start;
    // Written back before the next measurement starts, so that no
    // measurement pays for the pages another one left dirty.
    file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
    return elapsed;
}

void Report(const char* what, double* times, const char* plain, double* plainTimes, const char* note)
{
    double median = Median(times, kBenchRounds), plainMedian = Median(plainTimes, kBenchRounds);
    double best = times[0], plainBest = plainTimes[0];
    printf("  %s %7.1f / %7.1f ms   %-29s %7.1f / %7.1f ms   ratio %5.2f / %5.2f (%s)\n", what, median, best,
           plain, plainMedian, plainBest, median / plainMedian, best / plainBest, note);
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
    printf("Book of %d pages, %lu bytes; median and best of %d rounds, other programs' disk use makes\n"
           "the medians vary\n", kBenchPages, size, kBenchRounds);
    Report("save", save, "plain WriteFile", write, "target 2");
    Report("save", save, "WriteFile + FlushFileBuffers", writeFlushed, "the save flushes before it replaces");
    Report("load", load, "plain ReadFile", read, "target 2");
    RemoveBenchFolder(folder);
    return 0;
}
