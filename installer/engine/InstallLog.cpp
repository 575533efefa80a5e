// The install log: what the installation made, one KEY=VALUE line each,
// for the remover to undo.
#include "SetupScript.h"

#include <string.h>

#include "Digest.h"
#include "Registry.h"
#include "resource.h"

const char* LogRootWord(HKEY root)
{
    if (root == HKEY_CLASSES_ROOT)
        return "HKCR";
    if (root == HKEY_LOCAL_MACHINE)
        return "HKLM";
    if (root == HKEY_USERS)
        return "HKU";
    return "HKCU";
}

static void WriteText(CDiskFile& log, const char* text)
{
    log.Write(text, (DWORD)strlen(text), nullptr);
}

int CSetupScript::OpenLog()
{
    m_logPath = "%d\\Install.log";
    ExpandMacros(m_logPath);
    if (m_log.IsOpen())
        m_log.Close();
    m_loggedKeys.clear();
    CFileError error;
    if (!m_log.Open(m_logPath.c_str(), kFileCreate | kFileWrite, &error))
        return 0;
    WriteText(m_log, "[INSTALL]\n");
    LogLine("TITLE", m_programName.c_str());
    LogLine("PATH", m_destination.c_str());
    return 1;
}

// A line lost to a write error is not reported: the installation goes on.
int CSetupScript::LogLine(const char* key, const char* value)
{
    if (!m_log.IsOpen())
        return 0;
    WriteText(m_log, key);
    WriteText(m_log, "=");
    WriteText(m_log, value);
    WriteText(m_log, "\n");
    return 1;
}

int CSetupScript::LogProgramGroup(const char* groupName, bool userGroup)
{
    if (groupName == nullptr || *groupName == 0)
        return 0;
    return LogLine("ICONGROUP", groupName) && LogLine("ICONUSERGROUP", userGroup ? "YES" : "NO");
}

int CSetupScript::LogRegistry(HKEY rootKey, const char* keyPath, const char* valueName)
{
    if (!m_log.IsOpen())
        return 0;
    std::string root = LogRootWord(rootKey);
    WriteText(m_log, "REG=");
    WriteText(m_log, (root + ",").c_str());
    WriteText(m_log, keyPath);
    if (valueName != nullptr) {
        WriteText(m_log, ",\"");
        WriteText(m_log, valueName);
        WriteText(m_log, "\"");
    } else {
        m_loggedKeys.push_back(LowerAnsiText(root + "," + keyPath));
    }
    WriteText(m_log, "\n");
    return 1;
}

int CSetupScript::LogNamesKeyOf(HKEY rootKey, const std::string& keyPath) const
{
    std::string key = LowerAnsiText(std::string(LogRootWord(rootKey)) + "," + keyPath);
    for (const std::string& logged : m_loggedKeys)
        if (key.compare(0, logged.size(), logged) == 0 && (key.size() == logged.size() || key[logged.size()] == '\\'))
            return 1;
    return 0;
}

int CSetupScript::DiscardLog()
{
    if (!m_log.IsOpen())
        return 0;
    m_log.Close();
    m_loggedKeys.clear();
    return DeleteFileA(m_logPath.c_str()) != 0;
}

int CSetupScript::CloseLog()
{
    m_log.Close();
    return 1;
}

// The uninstall key can only be changed by administrators, the log often by
// whoever may write to the destination: the remover trusts the log only when
// it still has this digest.
int CSetupScript::SealLog()
{
    if (m_uninstallKey.empty() || m_logPath.empty())
        return 1;
    std::string entry = std::string(LogRootWord(m_uninstallRoot)) + "\\" + m_uninstallKey + " \"" + kLogDigestValue + "\"";
    CDiskFile log;
    CFileError error;
    if (!log.Open(m_logPath.c_str(), kFileRead | kFileShareRead, &error))
        return ReportFailure(IDS_REGISTRY_FAILED, entry, GetLastError());
    std::string bytes(log.GetLength(), '\0');
    int read = bytes.empty() || log.Read(&bytes[0], (DWORD)bytes.size(), &error) == bytes.size();
    log.Close();
    // Without a SHA-256 provider (systems before XP SP3) nothing can be
    // sealed, and the remover would refuse the log.
    std::string digest = read ? Sha256Hex(bytes.data(), bytes.size()) : std::string();
    if (digest.empty())
        return ReportFailure(IDS_REGISTRY_FAILED, entry, read ? (DWORD)ERROR_NOT_SUPPORTED : (DWORD)ERROR_READ_FAULT);
    CRegistryKey key;
    LONG result = key.Open(m_uninstallRoot, m_uninstallKey.c_str(), kKeyOpenExisting | kKeySetValue);
    if (result == ERROR_SUCCESS)
        result = key.SetValue(kLogDigestValue, REG_SZ, digest.c_str(), (DWORD)digest.size() + 1);
    return result == ERROR_SUCCESS ? 1 : ReportFailure(IDS_REGISTRY_FAILED, entry, (DWORD)result);
}
