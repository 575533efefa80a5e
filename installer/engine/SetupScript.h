// The installer's setup script: the parsed model, read from the program's
// own "INSTALL" resource, with the machine's directories behind its macros
// and the install log that the remover reads back.
#pragma once

#include <windows.h>

#include <string>

#include "Files.h"
#include "ScriptModel.h"
#include "ScriptText.h"

class CProgressDialog;

class CSetupScript : public CScriptModel, private CFileSizeSource, private CMacroSource {
public:
    CSetupScript();
    ~CSetupScript() override;
    CSetupScript(const CSetupScript&) = delete;
    CSetupScript& operator=(const CSetupScript&) = delete;

    // Reads the "INSTALL" resource of that name from the program's module.
    // Answers 0, changing nothing, when there is no usable resource.
    int LoadScript(const char* resourceName);
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
    int CloseLog();
    int IsLogOpen() const { return m_log.IsOpen(); }

    NUMBERFMT m_numberFormat;
    // The preparing dialog's bar while the script is read; may be null.
    CLoadProgress* m_preparingDialog;
    // Set by the worker's first step: its steps report into it.
    CProgressDialog* m_progressDialog;
    CDiskFile m_log;

private:
    uint32_t GetCarriedFileSize(const std::string& source) override;
    std::string GetMacroText(char letter) override;

    char m_decimalSeparator[8];
    char m_thousandSeparator[8];
};

// A string value of a key opened for reading; empty when the key or the
// value is missing.
std::string QueryRegistryText(HKEY root, const char* path, const char* name);

// The root word a REG line of the install log uses for the key.
const char* LogRootWord(HKEY root);
