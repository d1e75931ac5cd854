#include "viewer/d3d/TextureList.h"

#include "viewer/d3d/COSDTexture.h"

bool TextureList::Load(const std::wstring& name, const std::wstring& path, int frames)
{
    HRESULT hr = E_FAIL;
    auto* texture = new COSDTexture(path.c_str(), &hr, frames);
    texture->AddRef();
    if (FAILED(hr)) {
        texture->Release();
        return false;
    }
    COSDTexture*& entry = m_textures[name];
    if (entry)
        entry->Release();
    entry = texture;
    return true;
}

COSDTexture* TextureList::Lookup(const std::wstring& name) const
{
    const auto it = m_textures.find(name);
    return it == m_textures.end() ? nullptr : it->second;
}

void TextureList::Clear()
{
    for (auto& entry : m_textures)
        entry.second->Release();
    m_textures.clear();
}
