// A scrollable list of laid-out items: the geometry, the hover selection, wheel scrolling, the
// scroll arrows and the drawing loop. Derived lists draw one item and act on a chosen one.
#pragma once

#include <cmath>
#include <vector>

#include "viewer/osd/Display.h"
#include "viewer/osd/Label.h"
#include "viewer/osd/Scale.h"
#include "viewer/osd/SkinTexture.h"
#include "viewer/osd/WidgetDrawing.h"

namespace OnScreenDisplay {

template <class Item>
class ControlList : public Control {
public:
    explicit ControlList(Component* parent = nullptr) : Control(parent), m_label(new Label())
    {
        m_label->SetParent(this);
    }
    ~ControlList() override { AssignTexture(m_arrows, nullptr); }

    virtual void DrawItem(int index, float alpha, float left, float top, float right, float bottom) {}
    virtual void OnItemActivated(int index) {}

    void SetArrowTexture(SkinTexture* texture) { AssignTexture(m_arrows, texture); }
    void SetFont(OsdFont* font)
    {
        m_font = font;
        m_label->SetFont(font);
    }
    // Empties the list for a refill.
    void Clear()
    {
        m_items.clear();
        m_top = 0;
        m_selection = 0;
    }
    int GetCount() const { return static_cast<int>(m_items.size()); }
    const Item& GetItem(int i) const { return m_items[i]; }

    // Visible rows: row-major lists keep a margin above and below, column-major ones below.
    int VisibleRows() const
    {
        const float s = GetScale(), r = s * m_rowHeight, m = s * m_margin, h = m_rect.Height();
        if (!(r > 0))
            return 0;
        return static_cast<int>(std::floor((m_rowMajor ? h - 2 * m : h - m) / r));
    }

    void EnsureSelectionVisible()
    {
        const int rows = VisibleRows();
        // A list shorter than its margin plus one row, or without columns, has nothing to scroll.
        if (rows <= 0 || m_columns <= 0)
            return;
        if (m_selection > GetCount() - 1)
            m_selection = GetCount() - 1;
        if (m_selection < 0)
            m_selection = 0;
        if (m_rowMajor) {
            if (m_selection < m_top)
                m_top = (m_selection / m_columns) * m_columns;
            if (m_selection >= m_top + m_columns * rows)
                m_top = (m_selection / m_columns - rows + 1) * m_columns;
        } else {
            if (m_selection < m_top)
                m_top = (m_selection / rows) * rows;
            if (m_selection >= m_top + m_columns * rows)
                m_top = (m_selection / rows - m_columns + 1) * rows;
        }
        if (m_top < 0)
            m_top = 0;
    }

    bool OnMouseMove(uint32_t, int x, int y) override
    {
        const float w = m_rect.Width(), h = m_rect.Height(), s = GetScale();
        const float r = s * m_rowHeight, m = s * m_margin;
        if (!(x >= 0 && x < w && y >= 0 && y < h) || !(r > 0) || m_columns <= 0)
            return false;
        const int rows = VisibleRows();
        const int k = static_cast<int>(std::floor(m_columns * static_cast<float>(x) / w));
        const int j = static_cast<int>(std::floor((m_rowMajor ? y - m : static_cast<float>(y)) / r));
        if (j < 0 || j >= rows)
            return false;
        m_selection = m_rowMajor ? m_top + m_columns * j + k : m_top + k * rows + j;
        const bool inside = m_selection >= 0 && m_selection < GetCount();
        EnsureSelectionVisible();
        return inside;
    }

    bool OnLButtonDown(uint32_t, int x, int y) override
    {
        const bool hit = OnMouseMove(0, x, y);
        if (hit && m_selection >= 0 && m_selection < GetCount())
            OnItemActivated(m_selection);
        return hit;
    }

    bool OnMouseWheel(uint32_t flags, int delta, int x, int y) override
    {
        const int steps = -(delta / 120);
        const int rows = VisibleRows();
        const int upper = GetCount() - m_columns * rows;
        m_top += steps * (m_rowMajor ? m_columns : rows);
        if (m_top > upper)
            m_top = upper;
        if (m_top < 0)
            m_top = 0;
        OnMouseMove(flags, x, y);
        return true;
    }

    void Render(float alpha) override
    {
        DrawingSurface* surface = m_display ? m_display->GetSurface() : nullptr;
        const float w = m_rect.Width(), h = m_rect.Height(), s = GetScale();
        if (!surface || !(w > 0) || !(h > 0) || m_columns <= 0)
            return;
        const int rows = VisibleRows();
        const float r = s * m_rowHeight, m = s * m_margin, c = w / m_columns;
        DrawArrows(*surface, alpha, rows, w, h, m, s);
        if (rows <= 0)
            return;
        if (m_rowMajor) {
            for (int k = 0; k < m_columns * rows && m_top + k < GetCount(); ++k) {
                const float left = (k % m_columns) * c, top = (k / m_columns) * r + m;
                DrawItem(m_top + k, alpha, left, top, left + c, top + r);
            }
        } else {
            int index = m_top;
            for (float x = 0; index < GetCount() && x < w; x += c) {
                for (int j = 0; j < rows && index < GetCount(); ++j, ++index)
                    DrawItem(index, alpha, x, j * r, x + c, (j + 1) * r);
            }
        }
    }

    int m_columns = 1;
    float m_rowHeight = 34.0f;
    int m_top = 0;
    int m_selection = -1;
    bool m_rowMajor = true;
    float m_margin = 20.0f;
    float m_arrowWidth = 20.0f;
    uint32_t m_textColour = 0xFFFFFFFF;

protected:
    std::vector<Item> m_items;
    SkinTexture* m_arrows = nullptr;
    OsdFont* m_font = nullptr;
    Label* m_label;

private:
    void DrawArrows(DrawingSurface& surface, float alpha, int rows, float w, float h, float m, float s)
    {
        if (!m_arrows)
            return;
        const FrameRect* before = m_arrows->GetFrameRect(0);
        const FrameRect* after = m_arrows->GetFrameRect(1);
        const float aw = 2 * s * m_arrowWidth / w, ah = 2 * m / h;
        const uint32_t colour = OpacityColour(alpha);
        Vertex v[12];
        int n = 0;
        auto quad = [&](float l, float t, float rt, float b, const FrameRect& f) {
            v[n++] = {l, t, 0, colour, f.left, f.top};
            v[n++] = {rt, t, 0, colour, f.right, f.top};
            v[n++] = {l, b, 0, colour, f.left, f.bottom};
            v[n++] = {rt, t, 0, colour, f.right, f.top};
            v[n++] = {rt, b, 0, colour, f.right, f.bottom};
            v[n++] = {l, b, 0, colour, f.left, f.bottom};
        };
        if (before && m_top > 0) {
            if (m_rowMajor)
                quad(1 - aw, 1, 1, 1 - ah, *before);
            else
                quad(-1, -1 + ah, -1 + aw, -1, *before);
        }
        if (after && m_columns * rows + m_top < GetCount())
            quad(1 - aw, -1 + ah, 1, -1, *after);
        if (n == 0)
            return;
        SetImageStages(surface);
        surface.SetTexture(0, m_arrows->GetSurfaceTexture());
        surface.DrawTriangles(v, static_cast<unsigned>(n / 3));
        surface.SetTexture(0, nullptr);
    }
};

} // namespace OnScreenDisplay
