// The book the clipbook benchmarks measure: 64 pages of one 4 MB block
// each, 256 MB in all, built in memory or written straight to a file.
#pragma once

#include <windows.h>

#include <string>

#include "BenchClock.h"
#include "ClipBook.h"

const int kBenchPages = 64;
const DWORD kBenchPageBytes = 4 * 1024 * 1024;
const int kBenchRounds = 5;

// A folder of its own under the temporary folder.
std::string BenchFolder(const char* tag);
void RemoveBenchFolder(const std::string& folder);
// Sorts a few values and answers their median; the best is then first.
double Median(double* values, int count);
// Reads a whole file with one plain ReadFile; answers the milliseconds.
double PlainRead(const std::string& path);

// Appends the 64 pages to the book.
void FillBenchBook(CClipBook& book);
// Writes the same book as a clipbook or data file without holding it in
// memory; answers the file's size, 0 on failure.
DWORD WriteBenchBookFile(const char* path, int dataFile);
