#include "viewer/osd/ListBox.h"

namespace OnScreenDisplay {

ListBox::ListBox(Component* parent) : ControlList(parent), m_highlight(new TileImage())
{
    m_selection = 0;
    m_highlight->SetParent(this);
}

void ListBox::AddItem(const std::u16string& text1, const std::u16string& text2, int value1, int value2)
{
    if (!m_font)
        return;
    ListBoxItem item;
    item.value1 = value1;
    item.value2 = value2;
    item.text1.Layout(m_font->Atlas(), text1);
    item.text2.Layout(m_font->Atlas(), text2);
    m_items.push_back(std::move(item));
    if (m_items.size() == 1)
        m_selection = 0;
}

void ListBox::SetHighlightTexture(SkinTexture* texture)
{
    m_highlight->SetTexture(texture);
    m_highlight->SetBorders(6, 6, 7, 7);
}

void ListBox::DrawItem(int index, float alpha, float l, float t, float r, float b)
{
    const float h = b - t, pad = 0.3f * h, textTop = t + 0.03f * h, s = GetScale();
    const uint32_t colour = FadeColour(m_textColour, alpha);
    if (index == m_selection) {
        m_highlight->SetRect(l, t, r, b);
        m_highlight->Layout();
        DrawChild(m_highlight, alpha);
    }
    const ListBoxItem& item = m_items[index];
    float x = l;
    if (!item.text1.GetText().empty()) {
        m_label->SetRect(l + pad, textTop, l + pad + 60 * s, textTop + 0.85f * h);
        m_label->m_borrowed = &item.text1;
        m_label->m_borrowedColour = colour;
        m_label->m_borrowedAlignment = AlignRight;
        m_label->Layout();
        DrawChild(m_label, alpha);
        x = l + 60 * s + pad;
    }
    m_label->SetRect(x + pad, textTop, r - pad, textTop + 0.85f * h);
    m_label->m_borrowed = &item.text2;
    m_label->m_borrowedColour = colour;
    m_label->m_borrowedAlignment = AlignLeft;
    m_label->Layout();
    DrawChild(m_label, alpha);
    m_label->ResetBorrowed();
}

void ListBox::OnItemActivated(int index)
{
    if (index >= 0 && index < GetCount() && m_display)
        m_display->OnListSelect(m_id, m_items[index].value1, m_items[index].value2);
}

} // namespace OnScreenDisplay
