// Content marked private, the owner and holder line of the status bar, and
// "Save Format As...", against data that another process (ClipSource.exe)
// puts on the clipboard and keeps.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ClipDataSamples.h"
#include "ClipboardHelper.h"
#include "DialogDriver.h"
#include "Dialogs.h"
#include "FormatFileBytes.h"
#include "FrameFixture.h"
#include "PrivateContent.h"
#include "ProcessRunner.h"
#include "TestApp.h"
#include "TextView.h"
#include "resource.h"

using namespace std::string_literals;

namespace {
const char kRefusal[] =
    "The clipboard content is marked private by the program that put it there. Vellmora does not keep it.";

DWORD ProcessOf(HWND window)
{
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return window != nullptr ? id : 0;
}

std::string Dword(DWORD value) { return std::string((const char*)&value, 4); }

// ClipSource.exe putting one page's formats, holding the clipboard open
// when asked, until the object goes.
class CSource {
public:
    CSource(const std::string& folder, const std::vector<CClipFormat*>& records, bool hold = false)
    {
        std::string path = folder + "\\source" + std::to_string(++s_count) + ".cpf";
        CClipPage* page = Page("", records);
        SavePageFile(*page, path.c_str());
        delete page;
        m_started = m_process.Start("ClipSource.exe", path + (hold ? " hold" : ""));
        DWORD id = m_process.GetProcessId();
        m_started = m_started && PumpUntil([&] {
            return ProcessOf(GetClipboardOwner()) == id && (!hold || ProcessOf(GetOpenClipboardWindow()) == id);
        }, 10000);
    }
    ~CSource() { Kill(); }
    void Kill()
    {
        m_process.Kill();
        m_process.Wait(5000);
    }
    bool Started() const { return m_started; }
    DWORD Id() const { return m_process.GetProcessId(); }

private:
    static int s_count;
    CChildProcess m_process;
    bool m_started;
};
int CSource::s_count = 0;

class ClipWatchTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        m_folder = MakeScratchDirectory("clipwatch");
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        RemoveTree(m_folder);
        EmptyClipboardAsOther();
    }
    std::string Status() const { return WindowText(m_frame->GetStatusBar().GetHandle()); }
    bool StatusBecomes(const std::string& text) { return PumpUntil([&] { return Status() == text; }, 8000); }
    std::string OwnerLine(DWORD id)
    {
        return "Owner: ClipSource.exe (" + std::to_string(id) + "), change " +
               std::to_string(GetClipboardSequenceNumber());
    }
    // Runs a command that brings up a dialog with this caption, answers it
    // and tells what it said ("<none>" when it did not come).
    std::string Answer(UINT command, const char* caption, int button = IDOK, const std::string& path = "")
    {
        struct Typing { std::string path; } typing = {path};
        CDialogAnswer answer(caption, button, 0, 5000, [](HWND dialog, void* context) {
            const std::string& typed = ((Typing*)context)->path;
            if (!typed.empty())
                SetWindowTextA(FileNameField(dialog), typed.c_str());
        }, &typing);
        Command(command);
        return answer.Wait() ? answer.Text() : "<none>";
    }
    std::string SavedFormat(UINT format, const std::string& name)
    {
        m_frame->OpenFormat(format);
        std::string path = m_folder + "\\" + name;
        Answer(ID_FILE_SAVE_FORMAT, "Save Format As", IDOK, path);
        return ReadFileBytes(path);
    }
    std::string m_folder;
};
} // namespace

TEST(PrivateContent, MarkersCountByNameAndTheHistoryFlagByItsValue)
{
    const struct {
        const char* name;
        std::string data;
        int marks;
    } rows[] = {
        {"ExcludeClipboardContentFromMonitorProcessing", "", 1}, {"clipboard viewer ignore", "x", 1},
        {"CanIncludeInClipboardHistory", Dword(0), 1},          {"CanIncludeInClipboardHistory", Dword(1), 0},
        {"CanIncludeInClipboardHistory", "\0\0"s, 0},            {"HTML Format", "", 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.marks, MarksContentPrivate(row.name, (const uint8_t*)row.data.data(), row.data.size()))
            << row.name << " " << row.data.size();
}

TEST(FormatFileBytes, BitmapOffsetsMetafileHeaderAndText)
{
    // 2 by 1 pixels: 8 bits with 3 colours used, bit fields, and a cut-off
    // colour table.
    std::string dib8(40, '\0'), fields(40, '\0');
    dib8[0] = fields[0] = 40;
    dib8[14] = 8, dib8[32] = 3, fields[14] = 16, fields[16] = 3;
    std::string file;
    ASSERT_TRUE(EncodeBmpFile((const uint8_t*)(dib8 + std::string(12 + 4, 'c')).data(), 56, file));
    EXPECT_EQ("BM"s + Dword(70) + Dword(0) + Dword(14 + 40 + 12), file.substr(0, 14));
    ASSERT_TRUE(EncodeBmpFile((const uint8_t*)(fields + std::string(16, 'm')).data(), 56, file));
    EXPECT_EQ(Dword(14 + 40 + 12), file.substr(10, 4));
    EXPECT_FALSE(EncodeBmpFile((const uint8_t*)dib8.data(), 40 + 11, file)) << "colours cut off";

    // A window of 200 by 100 units shown one inch wide.
    std::string bits = "\1\0\x09\0\0\x03"s + std::string(12, '\0') + "\5\0\0\0\x0C\x02\x64\0\xC8\0"s + "\3\0\0\0\0\0"s;
    ASSERT_TRUE(EncodePlaceableMetafile((const uint8_t*)bits.data(), bits.size(), MM_ANISOTROPIC, 2540, 1270, file));
    EXPECT_EQ(Dword(0x9AC6CDD7) + "\0\0\0\0\0\0\xC8\0\x64\0\xC8\0"s + Dword(0), file.substr(0, 20));
    EXPECT_EQ(PlaceableChecksum((const uint8_t*)file.data()), *(const uint16_t*)(file.data() + 20));
    EXPECT_EQ(bits, file.substr(22));

    std::u16string wide = u"Gr\u00FC\u00DFe \U0001D11E\xD800!";
    Utf16ToUtf8((const uint8_t*)wide.c_str(), (wide.size() + 1) * 2 + 6, file);
    EXPECT_EQ("Gr\xC3\xBC\xC3\x9F" "e \xF0\x9D\x84\x9E\xEF\xBF\xBD!", file);
}

TEST_F(ClipWatchTest, StatusBarNamesTheOwnerAndTheProgramHoldingTheClipboard)
{
    CSource owner(m_folder, {Block("Text", CF_TEXT, "owned\0"s)});
    ASSERT_TRUE(owner.Started());
    EXPECT_TRUE(StatusBecomes(OwnerLine(owner.Id()))) << Status();
    // Menu help takes part 0 while a menu is open and gives it back.
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(ID_FILE_OPEN, MF_STRING), (LPARAM)GetMenu(Frame()));
    EXPECT_EQ("Opens clipboard files", Status());
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(OwnerLine(owner.Id()), Status());

    ASSERT_TRUE(OpenClipboardRetry(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_TRUE(StatusBecomes("Owner: none, change " + std::to_string(GetClipboardSequenceNumber()))) << Status();

    CSource holder(m_folder, {Block("Text", CF_TEXT, "held\0"s)}, true);
    ASSERT_TRUE(holder.Started());
    SendMessageA(Frame(), WM_DRAWCLIPBOARD, 0, 0);
    EXPECT_EQ("Clipboard held open by ClipSource.exe (" + std::to_string(holder.Id()) + ")", Status());
    holder.Kill();
    EXPECT_TRUE(StatusBecomes("Owner: none, change " + std::to_string(GetClipboardSequenceNumber()))) << Status();
}

TEST_F(ClipWatchTest, PrivateContentIsNeitherShownNorKeptUntilRevealed)
{
    CText notice;
    notice.LoadString(IDS_PRIVATE_NOTICE);
    const struct {
        const char* marker;
        std::string data;
        bool hidden;
    } rows[] = {{"ExcludeClipboardContentFromMonitorProcessing", "x", true},
                {"CanIncludeInClipboardHistory", Dword(0), true},
                {"Clipboard Viewer Ignore", "x", true},
                {"CanIncludeInClipboardHistory", Dword(1), false}};
    for (const auto& row : rows) {
        CSource source(m_folder, {Block("Text", CF_TEXT, "secret\0"s),
                                  Block(row.marker, RegisterClipboardFormatA(row.marker), row.data)});
        ASSERT_TRUE(source.Started());
        // The frame has read this change once its owner line names the source.
        ASSERT_TRUE(PumpUntil([&] { return m_frame->GetClipboardStatus() == OwnerLine(source.Id()); }));
        EXPECT_EQ(row.hidden, (bool)m_frame->IsPrivateContent()) << row.marker;
        m_frame->OpenFormat(CF_TEXT);
        HWND edit = ((CTextView*)NewestView())->GetEditControl();
        EXPECT_EQ(row.hidden ? notice.GetString() : "secret", WindowText(edit)) << row.marker;
    }

    CSource source(m_folder, {Block("Text", CF_TEXT, "secret\0"s),
                              Block("Clipboard Viewer Ignore", RegisterClipboardFormatA("Clipboard Viewer Ignore"), "x")});
    ASSERT_TRUE(source.Started());
    HWND edit = ((CTextView*)NewestView())->GetEditControl();
    ASSERT_TRUE(PumpUntil([&] { return WindowText(edit) == notice.GetString(); }));
    EXPECT_EQ(kRefusal, Answer(ID_EDIT_PASTE, "Vellmora"));
    EXPECT_EQ(0, m_frame->GetClipBook().GetBook().GetCount());
    EXPECT_EQ(kRefusal, Answer(ID_FILE_SAVE_FORMAT, "Vellmora"));
    std::string saved = m_folder + "\\clipboard.cpf";
    CDialogAnswer refusal("Vellmora", IDOK);
    Answer(ID_FILE_SAVE_AS, "Save As", IDOK, saved);
    EXPECT_TRUE(refusal.Wait());
    EXPECT_EQ(kRefusal, refusal.Text());
    EXPECT_EQ("<none>", ReadFileBytes(saved)) << "no file is written";

    Command(ID_DISPLAY_SHOW_PRIVATE);
    EXPECT_EQ("secret", WindowText(edit));
    EXPECT_EQ("secret", SavedFormat(CF_TEXT, "secret.txt")) << "revealed content saves";
    source.Kill();
    CSource again(m_folder, {Block("Text", CF_TEXT, "second\0"s),
                             Block("Clipboard Viewer Ignore", RegisterClipboardFormatA("Clipboard Viewer Ignore"), "x")});
    ASSERT_TRUE(again.Started());
    EXPECT_TRUE(PumpUntil([&] { return WindowText(edit) == notice.GetString(); })) << "the next change hides again";
}

TEST_F(ClipWatchTest, SaveFormatAsWritesTheFileAUserExpects)
{
    HDC dc = CreateMetaFileA(nullptr);
    SetWindowExtEx(dc, 200, 100, nullptr);
    Rectangle(dc, 10, 10, 190, 90);
    HMETAFILE metafile = CloseMetaFile(dc);
    std::string metafileBits(GetMetaFileBitsEx(metafile, 0, nullptr), '\0');
    GetMetaFileBitsEx(metafile, (UINT)metafileBits.size(), &metafileBits[0]);
    CClipFormat* picture = new CClipFormat("Metafile Picture", CF_METAFILEPICT);
    picture->SetMetafilePicture(MM_ANISOTROPIC, 2540, 1270, metafile, sizeof(METAFILEPICT));

    std::string dib = std::string("\x28\0\0\0\2\0\0\0\1\0\0\0\1\0\x18\0"s) + std::string(24, '\0') + "\1\2\3\4\5\6\0\0"s;
    std::u16string wide = u"Gr\u00FC\u00DFe";
    // A 77-byte header, the document, and bytes after EndHTML.
    std::string html = "Version:0.9\r\nStartHTML:077\r\nEndHTML:090\r\nStartFragment:077\r\nEndFragment:090\r\n"
                       "<b>bold</b>\r\n<!-- after -->";
    UINT png = RegisterClipboardFormatA("PNG"), htmlFormat = RegisterClipboardFormatA("HTML Format");
    UINT raw = RegisterClipboardFormatA("Vellmora Raw");
    CSource source(m_folder, {Block("Text", CF_TEXT, "plain\0junk"s), picture,
                              Block("Unicode Text", CF_UNICODETEXT, std::string((const char*)wide.c_str(), 12) + "\0\0"s),
                              Block("HTML Format", htmlFormat, html), Block("PNG", png, "\x89PNG bytes"s),
                              Block("Vellmora Raw", raw, "\0raw\xFF"s), Block("DIB Bitmap", CF_DIB, dib)});
    ASSERT_TRUE(source.Started());
    ASSERT_TRUE(PumpUntil([&] { return m_frame->GetClipboardStatus() == OwnerLine(source.Id()); }));

    EXPECT_EQ("plain", SavedFormat(CF_TEXT, "text.txt"));
    EXPECT_EQ("Gr\xC3\xBC\xC3\x9F" "e", SavedFormat(CF_UNICODETEXT, "wide.txt"));
    EXPECT_EQ("<b>bold</b>\r\n", SavedFormat(htmlFormat, "page.html"));
    EXPECT_EQ("\x89PNG bytes", SavedFormat(png, "picture.png"));
    EXPECT_EQ("\0raw\xFF"s, SavedFormat(raw, "raw.bin"));
    EXPECT_EQ("BM"s + Dword(14 + 48) + Dword(0) + Dword(54) + dib, SavedFormat(CF_DIB, "dib.bmp"));
    std::string wmf = SavedFormat(CF_METAFILEPICT, "picture.wmf");
    EXPECT_EQ(Dword(0x9AC6CDD7) + "\0\0\0\0\0\0\xC8\0\x64\0\xC8\0"s, wmf.substr(0, 16));
    EXPECT_EQ(metafileBits, wmf.substr(22));

    // The bitmap that the system makes from the DIB, pixel for pixel.
    std::string bmp = SavedFormat(CF_BITMAP, "bitmap.bmp");
    HBITMAP loaded = (HBITMAP)LoadImageA(nullptr, (m_folder + "\\bitmap.bmp").c_str(), IMAGE_BITMAP, 0, 0,
                                         LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    ASSERT_NE(nullptr, loaded) << bmp.size();
    COLORREF pixels[2] = {};
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, loaded);
    pixels[0] = GetPixel(memory, 0, 0), pixels[1] = GetPixel(memory, 1, 0);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(loaded);
    EXPECT_EQ(RGB(3, 2, 1), pixels[0]);
    EXPECT_EQ(RGB(6, 5, 4), pixels[1]);

    // The same from a page's format in the clipbook.
    CDialogAnswer name("New Clipbook Page", CDialogBox::kOkId, 0, 5000,
                       [](HWND dialog, void*) { SetDlgItemTextA(dialog, CInputDialog::kEditId, "Page"); });
    Command(ID_EDIT_PASTE);
    ASSERT_TRUE(name.Wait());
    CClipBookWindow& clipbook = m_frame->GetClipBook();
    const CTreeView& tree = clipbook.GetTree();
    HTREEITEM item = tree.GetChildItem(tree.GetChildItem(clipbook.GetRootItem()));
    while (item != nullptr && ((CClipFormat*)tree.GetItemData(item))->GetFormatId() != CF_DIB)
        item = tree.GetNextSibling(item);
    ASSERT_NE(nullptr, item);
    tree.Send(TVM_SELECTITEM, TVGN_CARET, (LPARAM)item);
    std::string path = m_folder + "\\page.bmp";
    CDialogAnswer save("Save Format As", IDOK, 0, 5000, [](HWND dialog, void* context) {
        SetWindowTextA(FileNameField(dialog), ((std::string*)context)->c_str());
    }, &path);
    SendMessageA(clipbook.GetHandle(), WM_COMMAND, ID_FILE_SAVE_FORMAT, 0);
    ASSERT_TRUE(save.Wait());
    EXPECT_EQ("BM"s + Dword(14 + 48) + Dword(0) + Dword(54) + dib, ReadFileBytes(path));
}
