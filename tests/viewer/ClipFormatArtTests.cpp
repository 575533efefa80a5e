// The viewer's icons and bitmaps, loaded the way the frame and the views
// load them: icons at both sizes, strips as masked image lists.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include <gtest/gtest.h>

#include "AppThread.h"

namespace {

const COLORREF kMask = RGB(192, 192, 192);

// Counts, for each image of a strip, the pixels that are not the mask.
std::vector<int> DrawnPixelsPerImage(HBITMAP strip, int imageWidth, SIZE* size)
{
    BITMAP info = {};
    GetObjectA(strip, sizeof info, &info);
    *size = {info.bmWidth, info.bmHeight};
    std::vector<int> counts(info.bmWidth / imageWidth, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, strip);
    for (int x = 0; x < info.bmWidth; x++)
        for (int y = 0; y < info.bmHeight; y++)
            if (GetPixel(dc, x, y) != kMask && x / imageWidth < (int)counts.size())
                counts[x / imageWidth]++;
    SelectObject(dc, old);
    DeleteDC(dc);
    return counts;
}

} // namespace

TEST(ViewerArt, IconsHaveBothSizes)
{
    for (UINT id : {101u, 107u, 108u, 110u, 117u, 123u}) {
        for (int size : {16, 32}) {
            HICON icon = (HICON)LoadImageA(GetModuleInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0);
            ASSERT_NE(nullptr, icon) << "icon " << id << " at " << size;
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP colour = {};
            GetObjectA(info.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(size, colour.bmWidth) << "icon " << id;
            EXPECT_EQ(size, colour.bmHeight) << "icon " << id;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

TEST(ViewerArt, StripsHoldTheirImagesOnTheMaskColour)
{
    const struct { UINT id; int imageSize; int count; } strips[] = {
        {111, 16, 11}, {112, 16, 11}, {113, 16, 11}, {127, 24, 11}, {128, 24, 11}, {129, 24, 11}, {126, 16, 12},
    };
    for (const auto& strip : strips) {
        HBITMAP bitmap = (HBITMAP)LoadImageA(GetModuleInstance(), MAKEINTRESOURCEA(strip.id), IMAGE_BITMAP, 0, 0, 0);
        ASSERT_NE(nullptr, bitmap) << "bitmap " << strip.id;
        SIZE size = {};
        std::vector<int> drawn = DrawnPixelsPerImage(bitmap, strip.imageSize, &size);
        DeleteObject(bitmap);
        EXPECT_EQ(strip.imageSize * strip.count, size.cx) << "bitmap " << strip.id;
        EXPECT_EQ(strip.imageSize, size.cy) << "bitmap " << strip.id;
        ASSERT_EQ((size_t)strip.count, drawn.size());
        int area = strip.imageSize * strip.imageSize;
        for (int i = 0; i < strip.count; i++) {
            // Every image is drawn, and none fills its square: the mask
            // colour shows around it.
            EXPECT_GT(drawn[i], area / 8) << "bitmap " << strip.id << " image " << i;
            EXPECT_LT(drawn[i], area) << "bitmap " << strip.id << " image " << i;
        }

        HIMAGELIST list = ImageList_LoadImageA(GetModuleInstance(), MAKEINTRESOURCEA(strip.id), strip.imageSize, 0,
                                               kMask, IMAGE_BITMAP, 0);
        ASSERT_NE(nullptr, list) << "bitmap " << strip.id;
        EXPECT_EQ(strip.count, ImageList_GetImageCount(list)) << "bitmap " << strip.id;
        ImageList_Destroy(list);
    }
}
