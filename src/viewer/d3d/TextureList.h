// The display's skin textures by name. The list holds one reference per entry.
#pragma once

#include <map>
#include <string>

class COSDTexture;

class TextureList {
public:
    TextureList() = default;
    virtual ~TextureList() { Clear(); }
    TextureList(const TextureList&) = delete;
    TextureList& operator=(const TextureList&) = delete;

    // Loads the image under the name; a name already present releases its old texture.
    bool Load(const std::wstring& name, const std::wstring& path, int frames);
    // The caller takes a reference of its own if it keeps the texture.
    COSDTexture* Lookup(const std::wstring& name) const;
    void Clear();
    size_t GetCount() const { return m_textures.size(); }

private:
    std::map<std::wstring, COSDTexture*> m_textures;
};
