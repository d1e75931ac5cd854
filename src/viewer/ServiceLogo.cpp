#include "viewer/ServiceLogo.h"

#include <memory>
#include <string>

#include "framework/win/CImage.h"

namespace viewer {

namespace {
class CServiceLogoImage : public DVBPlaybackCore::CQORService::CLogoImage {
public:
    CImage image;
};
} // namespace

HBITMAP ServiceLogo(DVBPlaybackCore::CQORService& service)
{
    auto* logo = dynamic_cast<CServiceLogoImage*>(service.GetLogoImage());
    if (!logo) {
        auto made = std::make_unique<CServiceLogoImage>();
        logo = made.get();
        service.SetLogoImage(std::move(made));
    }
    if (logo->image.IsNull()) {
        const std::u16string path = service.GetLogoPath();
        if (path.empty() || FAILED(logo->image.Load(reinterpret_cast<const wchar_t*>(path.c_str()))))
            return nullptr;
    }
    return logo->image.GetBitmap();
}

} // namespace viewer
