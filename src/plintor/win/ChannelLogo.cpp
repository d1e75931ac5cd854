#include "plintor/win/ChannelLogo.h"

#include <memory>
#include <vector>

#include "framework/win/CImage.h"
#include "plintor/LogoScaling.h"

using DVBPlaybackCore::CQORService;

namespace {

class CChannelLogo : public CQORService::CLogoImage {
public:
    CImage image;
    std::vector<uint8_t> pixels; // the image's 32-bit pixels, top-down
    std::vector<uint8_t> scaled;
    uint32_t scaledWidth = 0, scaledHeight = 0;
};

CChannelLogo* LogoOf(CQORService* channel)
{
    if (auto* logo = dynamic_cast<CChannelLogo*>(channel->GetLogoImage()))
        return logo;
    auto logo = std::make_unique<CChannelLogo>();
    const std::u16string path = channel->GetLogoPath();
    if (!path.empty() && SUCCEEDED(logo->image.Load(reinterpret_cast<const wchar_t*>(path.c_str())))) {
        const int width = logo->image.GetWidth();
        for (int y = 0; y < logo->image.GetHeight(); ++y)
            logo->pixels.insert(logo->pixels.end(), logo->image.GetRow(y), logo->image.GetRow(y) + width * 4);
    }
    CChannelLogo* kept = logo.get();
    channel->SetLogoImage(std::move(logo));
    return kept;
}

} // namespace

void DrawChannelLogo(HDC dc, CQORService* channel, const RECT& cell, COLORREF background)
{
    if (!channel)
        return;
    CChannelLogo* logo = LogoOf(channel);
    if (logo->image.IsNull())
        return;
    const uint32_t width = static_cast<uint32_t>(logo->image.GetWidth());
    const uint32_t height = static_cast<uint32_t>(logo->image.GetHeight());
    const int rowHeight = cell.bottom - cell.top;
    uint32_t targetWidth = 0;
    const uint32_t targetHeight = rowHeight > 2 ? static_cast<uint32_t>(rowHeight - 2) : 0;
    // A logo that failed to decode to a size has nothing to scale (and would divide by zero).
    if (!plintor::LogoTargetSize(width, height, targetHeight, &targetWidth))
        return;
    if (logo->scaledWidth != targetWidth || logo->scaledHeight != targetHeight) {
        if (!plintor::ScaleLogo(logo->pixels, width, height, targetWidth, targetHeight, &logo->scaled))
            return;
        logo->scaledWidth = targetWidth;
        logo->scaledHeight = targetHeight;
    }
    // Straight alpha over the row's colour.
    std::vector<uint8_t> blended(logo->scaled.size());
    const uint8_t under[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
    for (size_t i = 0; i + 3 < logo->scaled.size(); i += 4) {
        const unsigned alpha = logo->scaled[i + 3];
        for (size_t c = 0; c < 3; ++c)
            blended[i + c] = static_cast<uint8_t>((logo->scaled[i + c] * alpha + under[c] * (255 - alpha) + 127) / 255);
        blended[i + 3] = 0xFF;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(targetWidth);
    info.bmiHeader.biHeight = -static_cast<LONG>(targetHeight);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int x = cell.right - 5 - static_cast<int>(targetWidth);
    const int y = cell.top + (rowHeight - static_cast<int>(targetHeight)) / 2;
    ::SetDIBitsToDevice(dc, x, y, targetWidth, targetHeight, 0, 0, 0, targetHeight, blended.data(), &info,
                        DIB_RGB_COLORS);
}
