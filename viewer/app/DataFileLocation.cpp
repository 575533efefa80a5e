#include "DataFileLocation.h"

#include <windows.h>
#include <shlobj.h>

#include <string.h>

#include "ClipFiles.h"
#include "resource.h"

namespace {
const char kDataFileName[] = "Vellmora.cbd";

int FileExists(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates every missing folder of the path, which ends in a backslash.
int CreateFolders(const char* folder)
{
    CText part;
    for (const char* slash = strchr(folder, '\\'); slash != nullptr; slash = strchr(slash + 1, '\\')) {
        part.AssignPart(folder, (int)(slash - folder));
        if (part.GetLength() > 2)
            CreateDirectoryA(part.GetString(), nullptr);
    }
    DWORD attributes = GetFileAttributesA(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

// A probe file that can be made and removed says more than the folder's
// attributes: access lists and virtualisation decide, not the read-only bit.
int CDataFileLocation::CanCreateFileIn(const char* folder)
{
    char probe[MAX_PATH] = "";
    if (!GetTempFileNameA(folder, "vlm", 0, probe))
        return 0;
    DeleteFileA(probe);
    return 1;
}

int CDataFileLocation::Decide(const char* programFolder, const char* appDataFolder)
{
    CText beside(programFolder), inAppData(appDataFolder);
    beside.Append(kDataFileName);
    inAppData.Append(kDataFileName);
    m_path = beside;
    m_startPath = beside;
    // A data file already in the application data folder wins, so that the
    // book never jumps back once it has moved there; no probe is made then.
    int appDataFileExists = appDataFolder[0] != 0 && FileExists(inAppData.GetString());
    if (!appDataFileExists && CanCreateFileIn(programFolder))
        return 1;
    if (appDataFolder[0] == 0 || !CreateFolders(appDataFolder))
        return 0;
    m_path = inAppData;
    if (appDataFileExists)
        m_startPath = inAppData;
    return 1;
}

int CDataFileLocation::DecideForProgram()
{
    CText dataFile, appData;
    GetDataFilePath(dataFile);
    CText folder(dataFile.GetString(), dataFile.GetLength() - (int)strlen(kDataFileName));
    GetAppDataFolder(appData);
    return Decide(folder.GetString(), appData.GetString());
}

void CDataFileLocation::ShowMessage(const CText& text)
{
    CText caption;
    caption.LoadString(IDS_ERROR);
    MessageBoxA(nullptr, text.GetString(), caption.GetString(), MB_ICONERROR | MB_SETFOREGROUND);
}

int CDataFileLocation::GetAppDataFolder(CText& folder)
{
    char path[MAX_PATH] = "";
    folder.Empty();
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, path)))
        return 0;
    folder.Assign(path);
    folder.Append("\\Brennwick\\Vellmora\\");
    return 1;
}
