#include "viewer/d3d/FontList.h"

#include "viewer/d3d/CD3DHandler.h"
#include "viewer/d3d/COSDFont.h"

bool FontList::Add(const std::wstring& name, const std::wstring& face, int points, bool bold, bool italic)
{
    IDirect3DDevice9* device = theD3DHandler ? theD3DHandler->GetDevice() : nullptr;
    auto* font = new COSDFont(device, face.c_str(), points, bold, italic, 32, 255);
    if (!font->IsUsable()) {
        delete font;
        return false;
    }
    COSDFont*& entry = m_fonts[name];
    delete entry;
    entry = font;
    return true;
}

COSDFont* FontList::Lookup(const std::wstring& name) const
{
    const auto it = m_fonts.find(name);
    return it == m_fonts.end() ? nullptr : it->second;
}

void FontList::Clear()
{
    for (auto& entry : m_fonts)
        delete entry.second;
    m_fonts.clear();
}
