// Device contexts and GDI objects. Every drawing operation calls the GDI
// function of its name on the held handle and answers its result.
#pragma once

#include <windows.h>

#include "Utility.h"

class CText;
class CWindow;

class CDrawContext {
public:
    CDrawContext() : m_hDC(nullptr), m_window(nullptr), m_reserved(0) {}
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;
    // Releases a handle taken from a window; a handle without a window
    // (attached or memory) is left alone.
    virtual ~CDrawContext();

    virtual HGDIOBJ SelectStockObject(int index);
    virtual void Attach(HDC dc);
    virtual int ReleaseFrom(HWND window);
    virtual int Release();
    virtual int SaveDC();
    virtual BOOL RestoreDC(int savedState);
    virtual COLORREF SetBkColor(COLORREF colour);
    virtual COLORREF SetTextColor(COLORREF colour);
    virtual int SetMapMode(int mode);
    // The origin and extent setters answer the previous value (zero when
    // the call failed).
    virtual CPoint SetViewportOrg(int x, int y);
    virtual CPoint OffsetViewportOrg(int dx, int dy);
    virtual CSize SetViewportExt(int cx, int cy);
    virtual CSize ScaleViewportExt(int xNumerator, int xDenominator, int yNumerator, int yDenominator);
    virtual CSize SetWindowExt(int cx, int cy);
    virtual CSize ScaleWindowExt(int xNumerator, int xDenominator, int yNumerator, int yDenominator);
    virtual int GetClipBox(RECT* rect);
    virtual BOOL PtVisible(int x, int y);
    virtual BOOL RectVisible(const RECT* rect);
    virtual BOOL TextOut(int x, int y, const char* text, int count);
    virtual BOOL ExtTextOut(int x, int y, UINT options, const RECT* rect, const char* text, UINT count,
                            const INT* widths);
    // The drawn extent: width from the low word, height from the high word.
    virtual CSize TabbedTextOut(int x, int y, const char* text, int count, int tabCount, const INT* tabPositions,
                                int tabOrigin);
    virtual int DrawText(const char* text, int count, RECT* rect, UINT format);
    virtual BOOL GrayString(HBRUSH brush, GRAYSTRINGPROC output, LPARAM data, int count, int x, int y, int width,
                            int height);
    virtual int Escape(int escape, int inputSize, const char* input, void* output);

    // Replaces the held handle by a memory context compatible with the
    // reference (null: the screen).
    int CreateCompatible(HDC reference);
    int DeleteMemoryDC();
    // Measures the text with its terminating zero, so an empty text still
    // has the font's height.
    CSize GetTextExtent(const CText& text);
    // Lines end after each line feed; each is measured with its line feed,
    // the last with the terminating zero. Answers (widest, sum of heights).
    CSize GetMultiLineExtent(const CText& text);

    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    HDC GetHandle() const { return m_hDC; }
    HWND GetWindow() const { return m_window; }

protected:
    HDC m_hDC;
    HWND m_window;
    int m_reserved;
};

// The client area's context of a window (null: the screen's).
class CClientDC : public CDrawContext {
public:
    explicit CClientDC(CWindow* window);
    ~CClientDC() override;

protected:
    // Set while the handle is the screen's; it is released like a window's.
    int m_screen;
};

// BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC : public CDrawContext {
public:
    explicit CPaintDC(CWindow* window);
    ~CPaintDC() override;

    const PAINTSTRUCT& GetPaintStruct() const { return m_paint; }

protected:
    HWND m_painted;
    PAINTSTRUCT m_paint;
};

// Owns one GDI object and deletes it with itself.
class CGdiObject {
public:
    CGdiObject() : m_handle(nullptr) {}
    explicit CGdiObject(HGDIOBJ handle) : m_handle(handle) {}
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject();

    int DeleteHandle();
    // Holds a stock object; deleting it later is ignored by the system.
    int UseStockObject(int index);
    HGDIOBJ GetHandle() const { return m_handle; }

protected:
    HGDIOBJ m_handle;
};

class CPen : public CGdiObject {
public:
    CPen() {}
    CPen(int style, int width, COLORREF colour);
    HPEN GetPen() const { return (HPEN)m_handle; }
};

class CBrush : public CGdiObject {
public:
    CBrush() {}
    explicit CBrush(COLORREF colour);
    int CreateSolid(COLORREF colour);
    HBRUSH GetBrush() const { return (HBRUSH)m_handle; }
};

class CFont : public CGdiObject {
public:
    CFont() {}
    int CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                   DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outputPrecision, DWORD clipPrecision,
                   DWORD quality, DWORD pitchAndFamily, const char* faceName);
    HFONT GetFont() const { return (HFONT)m_handle; }
};

class CBitmap : public CGdiObject {
public:
    CBitmap() {}
    explicit CBitmap(HBITMAP bitmap) : CGdiObject(bitmap) {}
    // A bitmap resource of the program's module.
    int LoadBitmap(UINT resourceId);
    HBITMAP GetBitmap() const { return (HBITMAP)m_handle; }
};
