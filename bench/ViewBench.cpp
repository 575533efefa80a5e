// How the format views' costs grow with their data, each pair measured in
// one run and printed as a ratio:
// - the binary view painting one screen of a 256 MB block against a 1 KB
//   block, and paging at the end of the 256 MB block against its start;
// - the information view repainting (scrolling) the page of a 64 MB text
//   against a 1 KB text;
// - the text view opening a 16 MB CF_TEXT, from the clipboard and from a
//   page's copy, against one pass over the text counting its line ends plus
//   one paint of a screen; and painting a screen at the end of the text
//   against at its start;
// - the peak memory of a 64 MB text view against the text once plus 8
//   bytes a line;
// - the picture view's first draw of a 3840 by 2160 PNG against a bare
//   decode with the same codec plus one BitBlt, and its repaint against a
//   bare BitBlt of the same size: a plain window of the view's client size
//   whose paint is that one BitBlt, repainted the same way.
#include <windows.h>
#include <psapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "AppThread.h"
#include "BenchClock.h"
#include "BenchFrame.h"
#include "BinaryView.h"
#include "InfoView.h"
#include "PictureView.h"
#include "PngMaker.h"
#include "TextPass.h"
#include "TextView.h"
#include "ViewerFrame.h"
#include "resource.h"

namespace {
const int kRounds = 41;

double Elapsed(const std::function<void()>& work)
{
    double start = BenchNow();
    work();
    return BenchNow() - start;
}

// The median times of rounds runs of two works, taken in turns so that
// both meet the same load of the machine; in milliseconds.
struct Medians {
    double first;
    double second;
};
Medians MedianPair(int rounds, const std::function<void()>& first, const std::function<void()>& second)
{
    std::vector<double> firstTimes, secondTimes;
    for (int round = 0; round < rounds; round++) {
        firstTimes.push_back(Elapsed(first));
        secondTimes.push_back(Elapsed(second));
    }
    std::sort(firstTimes.begin(), firstTimes.end());
    std::sort(secondTimes.begin(), secondTimes.end());
    return {firstTimes[rounds / 2], secondTimes[rounds / 2]};
}

// Printable bytes with a line feed now and then, as a text would have.
std::vector<char> MakeText(size_t bytes)
{
    std::vector<char> text(bytes);
    for (size_t i = 0; i < bytes; i++)
        text[i] = i % 81 == 80 ? '\n' : (char)('a' + i % 23);
    text.back() = 0;
    return text;
}

// Views compared with each other stand side by side, each in a slot of its
// own, so that neither covers the other.
template <class View>
View* OpenView(CViewerFrame& frame, UINT format, int slot, int height = 400)
{
    View* view = new View(format);
    view->SetListEntry(frame.GetViewList().AddHead(view));
    view->CreateViewWindow(&frame);
    SetWindowPos(view->GetHandle(), nullptr, slot * 505, 0, 500, height, SWP_NOZORDER);
    return view;
}

void Repaint(CFormatView* view, BOOL erase)
{
    InvalidateRect(view->GetHandle(), nullptr, erase);
    UpdateWindow(view->GetHandle());
}

void Scroll(CFormatView* view, UINT message, UINT code)
{
    SendMessageA(view->GetHandle(), message, code, 0);
    UpdateWindow(view->GetHandle());
}

void CloseView(CFormatView* view)
{
    SendMessageA(view->GetHandle(), WM_CLOSE, 0, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

void BenchBinaryView(CViewerFrame& frame)
{
    const size_t smallBytes = 1024, largeBytes = 256u * 1024 * 1024;
    std::vector<char> block(largeBytes);
    for (size_t i = 0; i < largeBytes; i++)
        block[i] = (char)(i * 7);
    CBinaryView* small = OpenView<CBinaryView>(frame, CF_DIF, 0);
    CBinaryView* large = OpenView<CBinaryView>(frame, CF_DIF, 1);
    small->SetData(block.data(), smallBytes);
    large->SetData(block.data(), largeBytes);
    Medians paint = MedianPair(kRounds, [&] { Repaint(large, TRUE); }, [&] { Repaint(small, TRUE); });
    // Down a page and back at the start of the large block, and up a page
    // and back at its end, in a second view in the small one's place.
    CloseView(small);
    CBinaryView* end = OpenView<CBinaryView>(frame, CF_DIF, 0);
    end->SetData(block.data(), largeBytes);
    UpdateWindow(end->GetHandle());
    Scroll(end, WM_VSCROLL, SB_BOTTOM);
    int bottomRow = end->GetTopRow();
    Medians paging = MedianPair(
        kRounds,
        [&] {
            Scroll(large, WM_VSCROLL, SB_PAGEDOWN);
            Scroll(large, WM_VSCROLL, SB_PAGEUP);
        },
        [&] {
            Scroll(end, WM_VSCROLL, SB_PAGEUP);
            Scroll(end, WM_VSCROLL, SB_PAGEDOWN);
        });
    double smallPaint = paint.second, largePaint = paint.first;
    double pagingAtStart = paging.first, pagingAtEnd = paging.second;
    printf("Binary view, one screen (median of 41):\n");
    printf("  paint 1 KB %8.3f ms   256 MB %8.3f ms   ratio %5.2f (goal at most 1.2)\n", smallPaint, largePaint,
           largePaint / smallPaint);
    printf("  page down and up: at the start %8.3f ms   at the end (row %d) %8.3f ms   ratio %5.2f\n", pagingAtStart,
           bottomRow, pagingAtEnd, pagingAtEnd / pagingAtStart);
    CloseView(large);
    CloseView(end);
}

void BenchInfoView(CViewerFrame& frame)
{
    std::vector<char> smallText = MakeText(1024), largeText = MakeText(64u * 1024 * 1024);
    // Low views, so that the page scrolls.
    CInfoView* small = OpenView<CInfoView>(frame, CF_TEXT, 0, 90);
    CInfoView* large = OpenView<CInfoView>(frame, CF_TEXT, 1, 90);
    small->SetData(smallText.data(), (UINT)smallText.size());
    double start = BenchNow();
    large->SetData(largeText.data(), (UINT)largeText.size());
    UpdateWindow(large->GetHandle());
    double firstPaint = BenchNow() - start;
    UpdateWindow(small->GetHandle());
    auto scrolling = [](CInfoView* view) {
        return [view] {
            Scroll(view, WM_VSCROLL, SB_LINEDOWN);
            Scroll(view, WM_VSCROLL, SB_LINEUP);
        };
    };
    Medians repaint = MedianPair(kRounds, scrolling(small), scrolling(large));
    double smallRepaint = repaint.first, largeRepaint = repaint.second;
    bool samePage = strstr(large->GetPage().GetString(), "Lenght 67108863 bytes") != nullptr;
    printf("Information view, text statistics page (median of 41):\n");
    printf("  repaint 1 KB %8.3f ms   64 MB %8.3f ms   ratio %5.2f (goal at most 1.2)\n", smallRepaint,
           largeRepaint, largeRepaint / smallRepaint);
    printf("  the 64 MB page, counted once at the data change and first paint: %.1f ms; page %s\n", firstPaint,
           samePage ? "as expected" : "WRONG");
    CloseView(small);
    CloseView(large);
}

void PutText(HWND owner, const std::vector<char>& text)
{
    while (!OpenClipboard(owner))
        Sleep(5);
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size());
    memcpy(GlobalLock(block), text.data(), text.size());
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

// The view's window, the text it shows and its line count.
struct TextViewState {
    CTextView* view;
    HWND control;
    uint32_t lines;
};
TextViewState StateOf(CTextView* view)
{
    HWND control = view->GetTextControl();
    return {view, control, (uint32_t)SendMessageA(control, EM_GETLINECOUNT, 0, 0)};
}

void BenchTextView(CViewerFrame& frame)
{
    std::vector<char> text = MakeText(16u * 1024 * 1024);
    PutText(frame.GetHandle(), text);
    const int rounds = 9;
    CTextView* shown = nullptr;
    auto openFromClipboard = [&] {
        shown = OpenView<CTextView>(frame, CF_TEXT, 0);
        shown->ReloadFromClipboard();
        UpdateWindow(shown->GetTextControl());
    };
    auto openFromPage = [&] {
        shown = OpenView<CTextView>(frame, CF_TEXT, 0);
        shown->SetData(text.data(), (UINT)text.size());
        UpdateWindow(shown->GetTextControl());
    };
    auto repaint = [](HWND control) {
        return [control] {
            InvalidateRect(control, nullptr, TRUE);
            UpdateWindow(control);
        };
    };
    // The floor: the pass, then one paint of a screen of an open view.
    CTextView* painted = OpenView<CTextView>(frame, CF_TEXT, 1);
    painted->SetData(text.data(), (UINT)text.size());
    HWND paintedControl = painted->GetTextControl();
    UpdateWindow(paintedControl);
    size_t ends = 0;
    auto floor = [&] {
        ends = CountLineEnds(text.data(), text.size());
        repaint(paintedControl)();
    };
    // Where an open from a page's copy spends its time: the window, the
    // data (copy and index), the first paint; and a plain copy of the text
    // into a new block, for comparison.
    auto createWindow = [&] { shown = OpenView<CTextView>(frame, CF_TEXT, 0); };
    auto setData = [&] { shown->SetData(text.data(), (UINT)text.size()); };
    auto firstPaint = [&] { UpdateWindow(shown->GetTextControl()); };
    char* volatile copied = nullptr;
    auto plainCopy = [&] {
        copied = (char*)malloc(text.size());
        if (copied != nullptr)
            memcpy(copied, text.data(), text.size());
    };
    std::vector<double> clipboardTimes, pageTimes, floorTimes, windowTimes, dataTimes, paintTimes, copyTimes;
    for (int round = 0; round < rounds; round++) {
        floorTimes.push_back(Elapsed(floor));
        clipboardTimes.push_back(Elapsed(openFromClipboard));
        CloseView(shown);
        pageTimes.push_back(Elapsed(openFromPage));
        CloseView(shown);
        windowTimes.push_back(Elapsed(createWindow));
        dataTimes.push_back(Elapsed(setData));
        paintTimes.push_back(Elapsed(firstPaint));
        CloseView(shown);
        copyTimes.push_back(Elapsed(plainCopy));
        free(copied);
    }
    for (std::vector<double>* times :
         {&clipboardTimes, &pageTimes, &floorTimes, &windowTimes, &dataTimes, &paintTimes, &copyTimes})
        std::sort(times->begin(), times->end());
    double fromClipboard = clipboardTimes[rounds / 2], fromPage = pageTimes[rounds / 2],
           floorTime = floorTimes[rounds / 2];

    // A screen at the end of the text against one at its start.
    CTextView* end = OpenView<CTextView>(frame, CF_TEXT, 0);
    end->SetData(text.data(), (UINT)text.size());
    HWND endControl = end->GetTextControl();
    UpdateWindow(endControl);
    SendMessageA(endControl, WM_VSCROLL, SB_BOTTOM, 0);
    UpdateWindow(endControl);
    uint32_t endTop = (uint32_t)SendMessageA(endControl, EM_GETFIRSTVISIBLELINE, 0, 0);
    Medians paint = MedianPair(kRounds, repaint(paintedControl), repaint(endControl));
    // What the first paint adds to a repaint: the window's frame, its edge
    // and scroll bars, drawn by the system.
    Medians frameOnly = MedianPair(
        kRounds, [&] { RedrawWindow(paintedControl, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW); },
        [&] { RedrawWindow(endControl, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW); });
    TextViewState state = StateOf(end);
    printf("Text view, 16 MB CF_TEXT, %lu line ends (median of %d):\n", (unsigned long)ends, rounds);
    printf("  floor (one pass counting line ends + one paint of a screen) %8.2f ms\n", floorTime);
    printf("  opened from the clipboard %8.2f ms   ratio %5.2f (goal at most 1.5)\n", fromClipboard,
           fromClipboard / floorTime);
    printf("  opened from a page's copy %8.2f ms   ratio %5.2f\n", fromPage, fromPage / floorTime);
    printf("  of which: the MDI child window %.2f ms (%.2f of the floor), the data %.2f ms, the first paint %.2f "
           "ms; a plain copy of the text into a new block %.2f ms\n",
           windowTimes[rounds / 2], windowTimes[rounds / 2] / floorTime, dataTimes[rounds / 2],
           paintTimes[rounds / 2], copyTimes[rounds / 2]);
    printf("  the view's frame (edge and both scroll bars) redrawn alone %.2f ms\n", frameOnly.first);
    printf("  paint a screen: at the start %7.3f ms   at the end (line %lu of %lu) %7.3f ms   ratio %5.2f (goal at "
           "most 1.2)\n",
           paint.first, (unsigned long)endTop, (unsigned long)state.lines, paint.second, paint.second / paint.first);
    CloseView(painted);
    CloseView(end);
}

size_t PeakWorkingSet(size_t* current)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    *current = counters.WorkingSetSize;
    return counters.PeakWorkingSetSize;
}

// First of all, while the process's peak is still its start-up's.
void BenchTextViewMemory(CViewerFrame& frame)
{
    std::vector<char> text = MakeText(64u * 1024 * 1024);
    size_t before = 0;
    PeakWorkingSet(&before);
    CTextView* view = OpenView<CTextView>(frame, CF_TEXT, 0);
    view->SetData(text.data(), (UINT)text.size());
    UpdateWindow(view->GetTextControl());
    size_t now = 0, peak = PeakWorkingSet(&now);
    TextViewState state = StateOf(view);
    double allowed = (double)text.size() + 8.0 * state.lines, grown = (double)(peak - before);
    printf("Text view of a 64 MB text, %lu lines:\n", (unsigned long)state.lines);
    printf("  peak working set grew %.1f MB; the text once plus 8 bytes a line is %.1f MB; ratio %5.2f (goal at "
           "most 1)\n",
           grown / 1048576.0, allowed / 1048576.0, grown / allowed);
    CloseView(view);
}

// The bare work: the codec's decoder and converter into a 32-bit DIB
// section, then one BitBlt of the view's client size.
void DecodeAndBlit(const std::vector<BYTE>& png, HWND window, const RECT& client)
{
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     (void**)&factory);
    factory->CreateStream(&stream);
    stream->InitializeFromMemory((BYTE*)png.data(), (DWORD)png.size());
    factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder);
    decoder->GetFrame(0, &frame);
    UINT width, height;
    frame->GetSize(&width, &height);
    factory->CreateFormatConverter(&converter);
    converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                          WICBitmapPaletteTypeCustom);
    DWORD* pixels = nullptr;
    HBITMAP bitmap = CreatePixelBitmap(width, height, &pixels);
    converter->CopyPixels(nullptr, width * 4, width * height * 4, (BYTE*)pixels);
    HDC dc = GetDC(window), memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    GdiFlush();
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    DeleteObject(bitmap);
    for (IUnknown* object : {(IUnknown*)converter, (IUnknown*)frame, (IUnknown*)decoder, (IUnknown*)stream,
                             (IUnknown*)factory})
        object->Release();
}

HDC g_bareSource = nullptr;
LRESULT CALLBACK BareBlitProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    BitBlt(dc, 0, 0, client.right, client.bottom, g_bareSource, 0, 0, SRCCOPY);
    EndPaint(window, &paint);
    return 0;
}

void BenchPictureView(CViewerFrame& frame)
{
    const UINT width = 3840, height = 2160;
    std::vector<DWORD> pixels((size_t)width * height);
    for (UINT y = 0; y < height; y++)
        for (UINT x = 0; x < width; x++)
            pixels[(size_t)y * width + x] = (DWORD)(x * 255 / width) << 24 | (x ^ y) << 16 | (x * y) % 251 << 8 | y % 256;
    std::vector<BYTE> png = MakePng(width, height, pixels);
    const UINT format = RegisterClipboardFormatA("PNG");
    CPictureView* view = OpenView<CPictureView>(frame, format, 0, 500);
    RECT client;
    GetClientRect(view->GetHandle(), &client);
    const int rounds = 7;
    Medians first = MedianPair(
        rounds,
        [&] {
            view->SetData(png.data(), (UINT)png.size());
            UpdateWindow(view->GetHandle());
            GdiFlush();
        },
        [&] { DecodeAndBlit(png, view->GetHandle(), client); });
    // The bare BitBlt copies from a bitmap as large as the picture, in a
    // window beside the view with the same background.
    DWORD* bits = nullptr;
    HBITMAP bitmap = CreatePixelBitmap(width, height, &bits);
    HDC windowDc = GetDC(view->GetHandle());
    g_bareSource = CreateCompatibleDC(windowDc);
    ReleaseDC(view->GetHandle(), windowDc);
    HGDIOBJ old = SelectObject(g_bareSource, bitmap);
    WNDCLASSA bareClass = {CS_HREDRAW | CS_VREDRAW, BareBlitProc, 0, 0, GetModuleHandleA(nullptr), nullptr,
                           LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1), nullptr, "BareBlit"};
    RegisterClassA(&bareClass);
    HWND bare = CreateWindowExA(0, "BareBlit", "", WS_CHILD | WS_VISIBLE, 505, 0, client.right, client.bottom,
                                frame.GetClient(), nullptr, GetModuleHandleA(nullptr), nullptr);
    auto repaint = [](HWND window) {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
        GdiFlush();
    };
    UpdateWindow(bare);
    Medians repaints = MedianPair(kRounds, [&] { repaint(view->GetHandle()); }, [&] { repaint(bare); });
    DestroyWindow(bare);
    SelectObject(g_bareSource, old);
    DeleteDC(g_bareSource);
    DeleteObject(bitmap);
    printf("Picture view, %ux%u PNG of %u KB with alpha, view %dx%d:\n", width, height, (UINT)(png.size() / 1024),
           (int)client.right, (int)client.bottom);
    printf("  first draw %8.1f ms   bare decode and BitBlt %8.1f ms   ratio %5.2f (goal at most 1.5; median of %d)\n",
           first.first, first.second, first.first / first.second, rounds);
    printf("  repaint %8.3f ms   bare BitBlt window %8.3f ms   ratio %5.2f (goal at most 1.2; median of %d)\n",
           repaints.first, repaints.second, repaints.first / repaints.second, kRounds);
    CloseView(view);
}

class CBenchApp : public CWinApp {
public:
    CBenchApp() : CWinApp("ViewBench") {}
    int Start() override;
};

int CBenchApp::Start()
{
    CBenchFrame bench;
    if (!bench.Create())
        return 0;
    CViewerFrame& frame = bench.Get();
    ShowWindow(frame.GetHandle(), SW_MAXIMIZE);
    // "picture" on the command line runs the picture view's bench alone.
    if (strstr(GetCommandLineA(), " picture") == nullptr) {
        BenchTextViewMemory(frame);
        BenchBinaryView(frame);
        BenchInfoView(frame);
        BenchTextView(frame);
    }
    BenchPictureView(frame);
    return 1;
}
} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    static CBenchApp application;
    return RunProgramEntry(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWNORMAL);
}
