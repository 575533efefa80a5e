// The installer's file step against a plain copy of the same bytes: a
// payload of 200 MB in four files, carried as resources, installed with
// WalkFiles; the same four files copied with CopyFileA. Prints the best time
// of each over a few rounds and their ratio.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "InstallWalks.h"
#include "SetupScript.h"

namespace {

const int kFiles = 4;
const DWORD kFileBytes = 50 << 20;
const int kRounds = 3;

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return (double)counter.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

std::string Name(const std::string& folder, int i)
{
    return folder + "\\payload" + std::to_string(i) + ".bin";
}

void DeleteFiles(const std::string& folder)
{
    for (int i = 0; i < kFiles; i++)
        DeleteFileA(Name(folder, i).c_str());
}

// A copy of this program carrying the payload as "FILES" resources; the
// same bytes are written as plain files for the copy.
std::string MakeCarrier(const std::string& root, const std::string& source)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string carrier = root + "\\carrier.exe";
    CopyFileA(self, carrier.c_str(), FALSE);
    HANDLE update = BeginUpdateResourceA(carrier.c_str(), FALSE);
    std::vector<unsigned char> bytes(kFileBytes);
    unsigned state = 2463534242u;
    for (int i = 0; i < kFiles; i++) {
        for (unsigned char& byte : bytes) {
            state ^= state << 13, state ^= state >> 17, state ^= state << 5;
            byte = (unsigned char)state;
        }
        std::string name = "PAYLOAD" + std::to_string(i);
        UpdateResourceA(update, "FILES", name.c_str(), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), bytes.data(),
                        kFileBytes);
        HANDLE file = CreateFileA(Name(source, i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), kFileBytes, &written, nullptr);
        CloseHandle(file);
    }
    return EndUpdateResourceA(update, FALSE) ? carrier : std::string();
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string root = std::string(temp) + "vlm-install-bench";
    std::string source = root + "\\source", installed = root + "\\installed", copied = root + "\\copied";
    for (const std::string& folder : {root, source, installed, copied})
        CreateDirectoryA(folder.c_str(), nullptr);

    std::string carrier = MakeCarrier(root, source);
    HMODULE module = LoadLibraryExA(carrier.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        printf("could not build the carrier\n");
        return 1;
    }
    std::string text = "[MAIN]\n";
    for (int i = 0; i < kFiles; i++)
        text += "FILE=PAYLOAD" + std::to_string(i) + "," + Name("%d", i) + "\n";
    CSetupScript script;
    script.SetCarrier(module);
    ReadScript(text.data(), text.size(), script, nullptr, nullptr);
    script.m_destination = installed;

    double install = 1e30, copy = 1e30;
    for (int round = 0; round < kRounds; round++) {
        DeleteFiles(installed);
        double start = Now();
        if (!WalkFiles(script))
            printf("the file step failed\n");
        install = std::min(install, Now() - start);

        DeleteFiles(copied);
        start = Now();
        for (int i = 0; i < kFiles; i++)
            CopyFileA(Name(source, i).c_str(), Name(copied, i).c_str(), FALSE);
        copy = std::min(copy, Now() - start);
    }
    printf("200 MB in 4 files: file step %.1f ms, plain copy %.1f ms, ratio %.2f (goal: at most 1.5)\n", install,
           copy, install / copy);

    FreeLibrary(module);
    for (const std::string& folder : {installed, copied, source})
        DeleteFiles(folder);
    DeleteFileA(carrier.c_str());
    for (const std::string& folder : {installed, copied, source, root})
        RemoveDirectoryA(folder.c_str());
    return 0;
}
