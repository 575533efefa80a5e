#include "InstallThread.h"

#include <objbase.h>

#include "InstallWalks.h"
#include "ProgressDialog.h"
#include "SetupScript.h"
#include "Text.h"
#include "resource.h"

namespace {

void BeginStep(CInstallProgress& progress, UINT textId)
{
    CText text;
    text.LoadString(textId);
    progress.SetStepText(text.GetString());
}

} // namespace

CInstallThread::CInstallThread(CProgressDialog* dialog, CSetupScript& script) : m_dialog(dialog), m_script(script) {}

int CInstallThread::Start()
{
    int done = InstallItems();
    // The log is sealed whatever came of the steps, so that a partial
    // installation can still be removed, and before any program of the
    // installation runs, so that nothing they do is sealed with it.
    m_script.CloseLog();
    if (!m_script.SealLog() || !done || !Proceed())
        return 0;
    m_script.m_installStatus += 10;
    return 1;
}

int CInstallThread::InstallItems()
{
    BeginStep(*m_dialog, IDS_STEP_INITIALISE);
    m_script.m_progressDialog = m_dialog;
    // The wizard opens the log on its program group page; without that page
    // the log is opened here, so that the remover learns of every file.
    if (!m_script.IsLogOpen())
        m_script.OpenLog();
    m_dialog->SetRange(m_script.CountInstallSteps() + 1);
    m_dialog->Step();

    BeginStep(*m_dialog, IDS_STEP_COPY);
    if (!WalkFiles(m_script))
        return 0;

    BeginStep(*m_dialog, IDS_STEP_REGISTRY);
    m_dialog->SetItemText("");
    if (!WalkRegistry(m_script))
        return 0;

    BeginStep(*m_dialog, IDS_STEP_ICONS);
    HRESULT com = CoInitialize(nullptr);
    m_dialog->SetItemText("");
    int created = WalkShortcuts(m_script);
    if (SUCCEEDED(com))
        CoUninitialize();
    return created;
}

int CInstallThread::Proceed()
{
    BeginStep(*m_dialog, IDS_STEP_EXECUTE);
    m_dialog->SetItemText("");
    // The programs are opened through the shell, which wants COM.
    HRESULT com = CoInitialize(nullptr);
    int opened = WalkPrograms(m_script);
    if (SUCCEEDED(com))
        CoUninitialize();
    return opened;
}

int CInstallThread::Finish()
{
    PostMessageA(m_dialog->GetHandle(), CProgressDialog::kWorkerEndedMessage, 0, 0);
    return 0;
}
