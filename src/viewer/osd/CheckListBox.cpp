#include "viewer/osd/CheckListBox.h"

namespace OnScreenDisplay {

CheckListBox::CheckListBox(Component* parent) : ControlList(parent), m_highlight(new TileImage())
{
    m_selection = 0;
    m_highlight->SetParent(this);
}

CheckListBox::~CheckListBox()
{
    AssignTexture(m_check, nullptr);
}

void CheckListBox::AddString(const std::u16string& text, int value, int checked)
{
    if (!m_font)
        return;
    CheckListBoxItem item;
    item.text.Layout(m_font->Atlas(), text);
    item.value = value;
    item.checked = checked;
    m_items.push_back(std::move(item));
    if (m_items.size() == 1)
        m_selection = 0;
}

void CheckListBox::SetHighlightTexture(SkinTexture* texture)
{
    m_highlight->SetTexture(texture);
    m_highlight->SetBorders(6, 6, 7, 7);
}

void CheckListBox::DrawItem(int index, float alpha, float l, float t, float r, float b)
{
    const float h = b - t, w = m_rect.Width(), height = m_rect.Height();
    if (index == m_selection) {
        m_highlight->SetRect(l + 1.08f * h, t, r, b);
        m_highlight->Layout();
        DrawChild(m_highlight, alpha);
    }
    DrawingSurface* surface = m_display ? m_display->GetSurface() : nullptr;
    const FrameRect* frame = m_check ? m_check->GetFrameRect(m_items[index].checked ? 1 : 0) : nullptr;
    if (surface && frame && w > 0 && height > 0) {
        SetImageStages(*surface);
        DrawQuad(*surface, m_check->GetSurfaceTexture(), 2 * l / w - 1, 1 - 2 * t / height, 2 * (l + h) / w - 1,
                 1 - 2 * (t + h) / height, *frame, OpacityColour(alpha));
    }
    m_label->SetRect(l + 1.3f * h, t + 0.03f * h, r - 0.3f * h, t + 0.03f * h + 0.85f * h);
    m_label->m_borrowed = &m_items[index].text;
    m_label->m_borrowedColour = FadeColour(m_textColour, alpha);
    m_label->m_borrowedAlignment = AlignLeft;
    m_label->Layout();
    DrawChild(m_label, alpha);
    m_label->ResetBorrowed();
}

void CheckListBox::OnItemActivated(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    for (int i = 0; i < GetCount(); ++i)
        m_items[i].checked = i == index ? 1 : 0;
    if (m_display)
        m_display->OnStreamMenu(m_items[index].value);
}

} // namespace OnScreenDisplay
