#include "media/filters/mpeg2video/win/LogoOverlayLoader.h"

namespace mpeg2videofilter {

HMODULE CurrentModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&CurrentModule), &module);
    return module;
}

LogoOverlay LoadLogoOverlay(HMODULE module, int resourceId)
{
    LogoOverlay logo;
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, 0));
    if (!bitmap)
        return logo;
    BITMAP info = {};
    if (GetObjectW(bitmap, sizeof(info), &info) == sizeof(info) && info.bmWidth > 0 && info.bmHeight > 0 &&
        info.bmWidth <= 4096 && info.bmHeight <= 4096) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = info.bmWidth;
        bmi.bmiHeader.biHeight = -info.bmHeight; // top-down
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        std::vector<uint8_t> pixels(size_t(info.bmWidth) * info.bmHeight * 4);
        HDC dc = CreateCompatibleDC(nullptr);
        const int rows = dc ? GetDIBits(dc, bitmap, 0, info.bmHeight, pixels.data(), &bmi, DIB_RGB_COLORS) : 0;
        if (dc)
            DeleteDC(dc);
        if (rows == info.bmHeight) {
            logo.width = uint32_t(info.bmWidth);
            logo.height = uint32_t(info.bmHeight);
            logo.mask.resize(size_t(logo.width) * logo.height);
            for (size_t i = 0; i < logo.mask.size(); ++i)
                logo.mask[i] = pixels[4 * i];
        }
    }
    DeleteObject(bitmap);
    return logo;
}

} // namespace mpeg2videofilter
