// The display's fonts by name; the list owns them.
#pragma once

#include <map>
#include <string>

class COSDFont;

class FontList {
public:
    FontList() = default;
    virtual ~FontList() { Clear(); }
    FontList(const FontList&) = delete;
    FontList& operator=(const FontList&) = delete;

    // Makes the font on the viewer's device; false (and nothing kept) when it cannot be made
    // usable. A name already present gives up its old font.
    bool Add(const std::wstring& name, const std::wstring& face, int points, bool bold, bool italic);
    COSDFont* Lookup(const std::wstring& name) const;
    void Clear();
    size_t GetCount() const { return m_fonts.size(); }

private:
    std::map<std::wstring, COSDFont*> m_fonts;
};
