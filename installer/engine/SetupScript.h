// The installer's setup script: the parsed model, read from the program's
// own "INSTALL" resource, with the machine's directories behind its macros
// and the install log that the remover reads back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Files.h"
#include "InstallProgress.h"
#include "ScriptModel.h"
#include "ScriptText.h"

// The value of the uninstall key that holds the digest of the install log;
// the remover reads it under the same name.
const char kLogDigestValue[] = "InstallLogDigest";

class CSetupScript : public CScriptModel, private CFileSizeSource, private CMacroSource {
public:
    CSetupScript();
    ~CSetupScript() override;
    CSetupScript(const CSetupScript&) = delete;
    CSetupScript& operator=(const CSetupScript&) = delete;

    // Reads the "INSTALL" resource of that name from the carrier. Answers 0,
    // changing nothing, when there is no usable resource.
    int LoadScript(const char* resourceName);
    // The module that carries the script and the files: the program itself
    // unless another module is set.
    void SetCarrier(HMODULE module) { m_carrier = module; }
    HMODULE GetCarrier() const;
    // Replaces the macros of the text in place; answers 1.
    int ExpandMacros(std::string& text);
    // Sizes are shown as whole numbers in the user's format.
    void FillNumberFormat();

    // "Install.log" in the destination, created anew with its head.
    int OpenLog();
    int LogLine(const char* key, const char* value);
    // ICONGROUP and ICONUSERGROUP, written only when a group was entered.
    int LogProgramGroup(const char* groupName, bool userGroup);
    // A REG line; valueName is null for an entry that only made its key.
    int LogRegistry(HKEY root, const char* keyPath, const char* valueName);
    // Whether a key line of this log names the key or one that holds it, so
    // that the remover takes it away with that one.
    int LogNamesKeyOf(HKEY root, const std::string& keyPath) const;
    int CloseLog();
    // Stores the digest of the closed log in the uninstall key that the
    // registry step wrote an UninstallString to (nothing to do without
    // one); 0, after telling the user, when it cannot be stored.
    int SealLog();
    // The open log of a destination given up, closed and deleted; before the
    // destination changes.
    int DiscardLog();
    int IsLogOpen() const { return m_log.IsOpen(); }

    // The operations of the installation steps, one item each, on the worker
    // thread. InstallFile answers 0 when the user chose to stop; the others
    // always answer 1.
    int InstallFile(CFileItem& item);
    int ApplyRegItem(CRegItem& item);
    int InstallShortcut(CIconItem& item);
    int RunProgram(CRunItem& item);
    // Creates the folder unless it is there; a folder that cannot be made
    // stops the installation with a message naming it (0).
    int CreateFolder(const std::string& path);
    // A registry entry or folder the installation could not make: the user
    // learns which and why, and the installation stops. Always 0.
    int ReportFailure(UINT textId, const std::string& what, DWORD error);
    // The progress dialog while the installation runs, else a quiet stand-in.
    CInstallProgress& GetProgress();

    NUMBERFMT m_numberFormat;
    // The preparing dialog's bar while the script is read; may be null.
    CLoadProgress* m_preparingDialog;
    // Set by the worker's first step: its steps report into it.
    CInstallProgress* m_progressDialog;
    CDiskFile m_log;
    std::string m_logPath;

private:
    // The keys of the log's key lines, as "ROOT,path" in small letters.
    std::vector<std::string> m_loggedKeys;
    // Where the uninstall command was registered; empty until then.
    HKEY m_uninstallRoot = nullptr;
    std::string m_uninstallKey;

    uint32_t GetCarriedFileSize(const std::string& source) override;
    std::string GetMacroText(char letter) override;
    int NeedsReplace(const CFileItem& item);
    int AskMissingFile(const CFileItem& item);
    int AskFileError(const CFileItem& item);
    int AskReplaceNewer(const CFileItem& item);
    int BackUpNewer(const CFileItem& item);
    int CreateDestination(CFileItem& item, CDiskFile& file);
    int WriteCarriedBytes(CFileItem& item, CDiskFile& file, const void* bytes, DWORD size);
    void StampFile(const CFileItem& item, CDiskFile& file);
    void ReplaceAtRestart(CFileItem& item, const std::string& oldName);
    int Stepped(int result);

    HMODULE m_carrier;

    char m_decimalSeparator[8];
    char m_thousandSeparator[8];
};

// A string value of a key opened for reading; empty when the key or the
// value is missing.
std::string QueryRegistryText(HKEY root, const char* path, const char* name);

// The root word a REG line of the install log uses for the key.
const char* LogRootWord(HKEY root);

// The bytes free for the user on the drive or network share of the path
// ("C:\..." asks "C:\"), in 64 bits: drives with more than 4 GB free do not
// fit 32 bits. 0 when the drive cannot be asked.
int QueryFreeSpace(const std::string& path, uint64_t& bytes);
