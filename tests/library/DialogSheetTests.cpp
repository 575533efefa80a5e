#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "DialogDriver.h"
#include "DialogWatchdog.h"
#include "Dialogs.h"
#include "TestApp.h"
#include "UiTestResources.h"

// Property sheets and wizards of three pages, driven from a second thread
// with PSM_PRESSBUTTON. The sheet's modal loop notices its end only when
// GetMessage returns, so every press is followed by a posted WM_NULL.

namespace {

struct SheetLog {
    int nextRefusals = 0;
    int cancelRefusals = 0;
    bool skipSecond = false;
    bool sheetBound = true;
    // Added to the sheet when the first page becomes active.
    CPropertyPage* lateAddition = nullptr;
    std::vector<std::string> events;

    int Count(const std::string& event) const
    {
        int count = 0;
        for (const auto& seen : events)
            count += seen == event;
        return count;
    }
};

class CLoggedPage : public CPropertyPage {
public:
    CLoggedPage(UINT templateId, UINT titleId, int number, SheetLog* log, CPropertySheet* sheet, DWORD buttons)
        : CPropertyPage(templateId, titleId), m_number(number), m_log(log), m_sheet(sheet), m_buttons(buttons)
    {
    }

    int OnSetActive() override
    {
        CPropertyPage::OnSetActive();
        Log("active");
        if (m_sheet->GetHandle() != GetParent(m_hWnd))
            m_log->sheetBound = false;
        if (m_log->lateAddition != nullptr) {
            m_sheet->AddPage(m_log->lateAddition);
            m_log->lateAddition = nullptr;
        }
        if (m_number == 2 && m_log->skipSecond)
            return 0;
        if (m_buttons != 0)
            PropSheet_SetWizButtons(GetParent(m_hWnd), m_buttons);
        return 1;
    }

    int OnWizardNext() override
    {
        Log("next");
        if (m_log->nextRefusals > 0) {
            m_log->nextRefusals--;
            return 0;
        }
        return 1;
    }

    int OnWizardBack() override { Log("back"); return 1; }
    int OnWizardFinish() override { Log("finish"); return 1; }
    int OnKillActive() override { Log("kill"); return 1; }
    int OnPageOK() override { Log("ok"); return 0; }
    int OnPageCancel() override { Log("reset"); return 0; }

    int OnQueryCancel() override
    {
        Log("cancel");
        if (m_log->cancelRefusals > 0) {
            m_log->cancelRefusals--;
            return 0;
        }
        return 1;
    }

private:
    void Log(const char* event) { m_log->events.push_back(std::string(event) + " " + std::to_string(m_number)); }

    int m_number;
    SheetLog* m_log;
    CPropertySheet* m_sheet;
    DWORD m_buttons;
};

// Which of the three pages the sheet shows: 1 to 3, 0 for none.
int CurrentPage(HWND sheet)
{
    HWND page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    for (int number = 1; number <= 3; number++)
        if (page != nullptr && GetDlgItem(page, IDC_UI_PAGE_ONE + number - 1) != nullptr)
            return number;
    return 0;
}

void Press(HWND sheet, int button)
{
    SendMessageA(sheet, PSM_PRESSBUTTON, button, 0);
    PostMessageA(sheet, WM_NULL, 0, 0);
}

// Waits until the sheet shows the page; answers the page it ended on.
int WaitForPage(HWND sheet, int number)
{
    DWORD start = GetTickCount();
    int current = CurrentPage(sheet);
    while (current != number && GetTickCount() - start < 3000) {
        Sleep(20);
        current = CurrentPage(sheet);
    }
    return current;
}

// A wizard of three pages whose driver runs the steps given.
struct WizardRun {
    std::vector<int> pagesSeen;
    bool goneAtEnd = false;
    bool found = false;
};

class CWizard : public CPropertySheet {
public:
    explicit CWizard(SheetLog* log)
        : CPropertySheet("UI Wizard", nullptr, 0),
          first(IDD_UI_PAGE_ONE, 0, 1, log, this, PSWIZB_NEXT),
          second(IDD_UI_PAGE_TWO, 0, 2, log, this, PSWIZB_BACK | PSWIZB_NEXT),
          third(IDD_UI_PAGE_THREE, 0, 3, log, this, PSWIZB_BACK | PSWIZB_FINISH)
    {
        m_header.dwFlags |= PSH_WIZARD;
        AddPage(&first);
        AddPage(&second);
        AddPage(&third);
    }
    CLoggedPage first, second, third;
};

// A wizard's caption is its current page's: the first page's template
// caption at the start.
const char kWizardCaption[] = "First";

HWND WaitForSheet(const char* caption)
{
    return WaitForDialog(caption, GetCurrentProcessId(), 10000);
}

// Runs the sheet modally while a driver thread finds it by its caption and
// works it; answers PropertySheetA's result.
template <class Steps>
int RunDriven(CPropertySheet& sheet, const char* caption, bool& found, Steps steps)
{
    std::thread driver([caption, &found, &steps] {
        HWND window = WaitForSheet(caption);
        if (window == nullptr)
            return;
        found = true;
        steps(window);
    });
    CDialogWatchdog watchdog;
    int result = sheet.DoModal();
    driver.join();
    return result;
}

} // namespace

TEST(SheetDialog, WizardKeepsARefusedPageSkipsAnInactivePageAndAsksBeforeCancelling)
{
    SheetLog log;
    log.nextRefusals = 1;
    log.cancelRefusals = 1;
    log.skipSecond = true;
    CWizard wizard(&log);
    EXPECT_EQ(3, wizard.GetPageCount());
    WizardRun run;
    int result = RunDriven(wizard, kWizardCaption, run.found, [&run](HWND sheet) {
        run.pagesSeen.push_back(WaitForPage(sheet, 1));
        // Refused by OnWizardNext: the first page stays.
        Press(sheet, PSBTN_NEXT);
        Sleep(400);
        run.pagesSeen.push_back(CurrentPage(sheet));
        // Accepted; the second page declines activation and is skipped.
        Press(sheet, PSBTN_NEXT);
        run.pagesSeen.push_back(WaitForPage(sheet, 3));
        // Back skips it again.
        Press(sheet, PSBTN_BACK);
        run.pagesSeen.push_back(WaitForPage(sheet, 1));
        // The first Cancel is refused by OnQueryCancel, the second closes.
        Press(sheet, PSBTN_CANCEL);
        Sleep(400);
        run.pagesSeen.push_back(IsWindowVisible(sheet) ? CurrentPage(sheet) : 0);
        Press(sheet, PSBTN_CANCEL);
        run.goneAtEnd = WaitUntilGone(sheet, 5000);
    });
    ASSERT_TRUE(run.found);
    EXPECT_EQ((std::vector<int>{1, 1, 3, 1, 1}), run.pagesSeen);
    EXPECT_TRUE(run.goneAtEnd);
    EXPECT_EQ(0, result);
    EXPECT_EQ(2, log.Count("next 1"));
    EXPECT_EQ(2, log.Count("active 2"));
    EXPECT_EQ(2, log.Count("cancel 1"));
    EXPECT_EQ(0, log.Count("finish 3"));
    EXPECT_TRUE(log.sheetBound);
    EXPECT_EQ(nullptr, wizard.GetHandle());
}

TEST(SheetDialog, WizardFinishesFromTheLastPage)
{
    SheetLog log;
    CWizard wizard(&log);
    WizardRun run;
    int result = RunDriven(wizard, kWizardCaption, run.found, [&run](HWND sheet) {
        run.pagesSeen.push_back(WaitForPage(sheet, 1));
        Press(sheet, PSBTN_NEXT);
        run.pagesSeen.push_back(WaitForPage(sheet, 2));
        Press(sheet, PSBTN_NEXT);
        run.pagesSeen.push_back(WaitForPage(sheet, 3));
        Press(sheet, PSBTN_FINISH);
        run.goneAtEnd = WaitUntilGone(sheet, 5000);
    });
    ASSERT_TRUE(run.found);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), run.pagesSeen);
    EXPECT_TRUE(run.goneAtEnd);
    EXPECT_GT(result, 0);
    EXPECT_EQ(1, log.Count("finish 3"));
    EXPECT_EQ(0, log.Count("cancel 3"));
    // A wizard's first activation flag is cleared by the base OnSetActive.
    EXPECT_FALSE(wizard.first.IsFirstActivation());
    EXPECT_TRUE(log.sheetBound);
}

namespace {

struct TabRun {
    bool found = false;
    int tabCount = 0;
    std::string tabText;
    bool goneAtEnd = false;
};

} // namespace

TEST(SheetDialog, OkAppliesThePagesAndTabsShowThePageTitles)
{
    SheetLog log;
    CPropertySheet sheet("UI Sheet", nullptr, 0);
    CLoggedPage first(IDD_UI_PAGE_ONE, IDS_UI_PAGE_TITLE, 1, &log, &sheet, 0);
    CLoggedPage second(IDD_UI_PAGE_TWO, 0, 2, &log, &sheet, 0);
    EXPECT_TRUE(first.GetPageRecord().dwFlags & PSP_USETITLE);
    EXPECT_STREQ("Page Title", first.GetPageRecord().pszTitle);
    EXPECT_EQ(PageRecordSize(), first.GetPageRecord().dwSize);
    CLoggedPage third(IDD_UI_PAGE_THREE, 0, 3, &log, &sheet, 0);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    log.lateAddition = &third;
    TabRun run;
    RunDriven(sheet, "UI Sheet", run.found, [&run](HWND window) {
        WaitForPage(window, 1);
        HWND tabs = (HWND)SendMessageA(window, PSM_GETTABCONTROL, 0, 0);
        char text[64] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tabs, TCM_GETITEMA, 0, (LPARAM)&item);
        run.tabText = text;
        run.tabCount = (int)SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0);
        Press(window, PSBTN_OK);
        run.goneAtEnd = WaitUntilGone(window, 5000);
    });
    ASSERT_TRUE(run.found);
    EXPECT_EQ("Page Title", run.tabText);
    // The page added while the sheet was on screen got its tab.
    EXPECT_EQ(3, run.tabCount);
    EXPECT_EQ(3, sheet.GetPageCount());
    EXPECT_TRUE(run.goneAtEnd);
    EXPECT_EQ(1, log.Count("kill 1"));
    EXPECT_EQ(1, log.Count("ok 1"));
}

TEST(SheetDialog, BuildPagesPacksTheRecordsInTheOrderAdded)
{
    SheetLog log;
    CPropertySheet sheet("Unshown", nullptr, 1);
    CLoggedPage first(IDD_UI_PAGE_ONE, 0, 1, &log, &sheet, 0);
    CLoggedPage second(IDD_UI_PAGE_TWO, 0, 2, &log, &sheet, 0);
    CLoggedPage third(IDD_UI_PAGE_THREE, 0, 3, &log, &sheet, 0);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    sheet.AddPage(&third);
    EXPECT_EQ(3, sheet.BuildPages());
    const PROPSHEETHEADERA& header = sheet.GetHeader();
    EXPECT_EQ(3u, header.nPages);
    EXPECT_EQ(1u, header.nStartPage);
    EXPECT_TRUE(header.dwFlags & PSH_PROPSHEETPAGE);
    const BYTE* records = (const BYTE*)header.ppsp;
    CLoggedPage* pages[] = {&first, &second, &third};
    for (int i = 0; i < 3; i++) {
        const PROPSHEETPAGEA* record = (const PROPSHEETPAGEA*)(records + i * PageRecordSize());
        EXPECT_EQ(PageRecordSize(), record->dwSize);
        EXPECT_EQ((LPARAM)pages[i], record->lParam);
        EXPECT_EQ(MAKEINTRESOURCEA(IDD_UI_PAGE_ONE + i), record->pszTemplate);
    }
}
