#include "viewer/osd/Header.h"

#include "viewer/osd/Display.h"
#include "viewer/osd/Scale.h"
#include "viewer/osd/WidgetDrawing.h"

namespace OnScreenDisplay {

Header::Header(Component* parent) : Control(parent), m_label(new Label())
{
    m_label->m_alignment = AlignCentre;
    m_label->SetParent(this);
}

Header::~Header()
{
    AssignTexture(m_separator, nullptr);
}

void Header::SetFont(OsdFont* font)
{
    m_font = font;
    m_label->SetFont(font);
}

void Header::AddItem(const std::u16string& text, float width)
{
    HeaderItem item{COSDString(), width};
    if (m_font)
        item.text.Layout(m_font->Atlas(), text);
    m_items.push_back(std::move(item));
}

void Header::Render(float alpha)
{
    DrawingSurface* surface = m_display ? m_display->GetSurface() : nullptr;
    const float w = m_rect.Width(), h = m_rect.Height();
    if (!surface || !(w > 0) || !(h > 0))
        return;
    // The bar: untextured, colour and alpha from the vertex.
    SetDiffuseStages(*surface);
    DrawQuad(*surface, nullptr, -1, 1, 1, -1, FrameRect{0, 0, 0, 0}, FadeColour(m_barColour, alpha));

    const float s = GetScale();
    const FrameRect* sep = m_separator ? m_separator->GetFirstFrameRect() : nullptr;
    const uint32_t white = OpacityColour(alpha);
    Vertex separators[6 * kMaxSeparators];
    int queued = 0;
    float x = s;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const float end = x + s * m_items[i].width;
        if (end > w)
            break;
        if (i > 0 && sep && queued < kMaxSeparators) {
            const float cx = 2 * x / w - 1, half = m_separatorWidth * h / w;
            Vertex* v = separators + 6 * queued++;
            v[0] = {cx - half, 1, 0, white, sep->left, sep->top};
            v[1] = {cx + half, 1, 0, white, sep->right, sep->top};
            v[2] = {cx - half, -1, 0, white, sep->left, sep->bottom};
            v[3] = v[1];
            v[4] = {cx + half, -1, 0, white, sep->right, sep->bottom};
            v[5] = v[2];
        }
        m_label->m_borrowed = &m_items[i].text;
        m_label->m_borrowedColour = FadeColour(0xFF000000u, alpha);
        m_label->m_borrowedAlignment = AlignCentre;
        m_label->SetRect(x, 0.175f * h, end, 0.825f * h);
        m_label->Layout();
        DrawChild(m_label, alpha);
        x = end;
    }
    m_label->ResetBorrowed();
    if (queued > 0) {
        SetImageStages(*surface);
        surface->SetTexture(0, m_separator->GetSurfaceTexture());
        surface->DrawTriangles(separators, static_cast<unsigned>(2 * queued));
        surface->SetTexture(0, nullptr);
    }
}

} // namespace OnScreenDisplay
