#include "viewer/osd/Tabs.h"

#include "viewer/osd/Image.h"
#include "viewer/osd/PushTextButton.h"
#include "viewer/osd/Scale.h"
#include "viewer/osd/TextButton.h"

namespace OnScreenDisplay {

Tabs::~Tabs()
{
    for (SkinTexture*& t : m_tabTextures)
        AssignTexture(t, nullptr);
    AssignTexture(m_separator, nullptr);
}

void Tabs::SetTabTexture(int index, SkinTexture* texture)
{
    if (index >= 0 && index < 4)
        AssignTexture(m_tabTextures[index], texture);
}

SkinTexture* Tabs::NextTabTexture()
{
    SkinTexture* texture = m_tabTextures[m_nextTexture];
    if (m_nextTexture < 3)
        ++m_nextTexture;
    return texture;
}

void Tabs::AddTextButton(const std::u16string& text, int id)
{
    if (!m_font)
        return;
    auto* tab = new TextButton();
    tab->SetParent(this);
    tab->Caption()->SetFont(m_font);
    tab->Caption()->m_colour = 0xFF000000;
    tab->SetTexture(NextTabTexture());
    tab->SetId(id);
    tab->m_captionRatio = 0.7f;
    tab->SetText(text);
    Layout();
}

void Tabs::AddPushTextButton(const std::u16string& text, int id)
{
    if (!m_font)
        return;
    auto* tab = new PushTextButton();
    tab->SetParent(this);
    tab->Caption()->SetFont(m_font);
    tab->Caption()->m_colour = 0xFF000000;
    tab->SetTexture(NextTabTexture());
    tab->SetId(id);
    tab->SetText(text);
    Layout();
}

void Tabs::AddSeparator()
{
    auto* separator = new Image();
    separator->SetParent(this);
    separator->SetTexture(m_separator);
    Layout();
}

void Tabs::SelectTab(int n)
{
    int index = 0;
    for (Component* child : m_children) {
        auto* push = dynamic_cast<PushButton*>(child);
        if (!push)
            continue;
        push->SetPushed(index++ == n);
        push->StateChanged();
    }
}

void Tabs::Layout()
{
    const float s = GetScale(), w = m_rect.Width(), h = m_rect.Height();
    float x = 0;
    for (Component* child : m_children) {
        if (x > w)
            break;
        Control* control = child->AsControl();
        if (!control)
            continue;
        if (dynamic_cast<Button*>(control)) {
            control->SetRect(x, 0, x + m_tabWidth * s, h);
            control->Layout();
            x += (m_tabWidth + m_gap) * s;
        } else if (dynamic_cast<Image*>(control)) {
            control->SetRect(x, 0, x + m_separatorWidth * s, h);
            control->Layout();
            x += (m_separatorWidth + m_gap) * s;
        }
    }
}

bool Tabs::OnLButtonDown(uint32_t flags, int x, int y)
{
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    if (Control* focused = GetFocusedChild()) {
        if (!focused->GetRect().Contains(fx, fy))
            SetFocusIndex(-1);
    }
    for (int i = GetChildCount() - 1; i >= 0; --i) {
        Control* child = m_children[i]->AsControl();
        if (!child || !child->IsEnabled() || !child->GetRect().Contains(fx, fy))
            continue;
        if (!child->OnLButtonDown(flags, static_cast<int>(fx - child->GetRect().left),
                                  static_cast<int>(fy - child->GetRect().top)))
            continue;
        for (Component* other : m_children) {
            auto* push = dynamic_cast<PushButton*>(other);
            if (push && other != child) {
                push->SetPushed(false);
                push->StateChanged();
            }
        }
        if (i != m_focusIndex && child->IsEnabled() && child->IsFocusable())
            SetFocusIndex(i);
        return true;
    }
    return false;
}

} // namespace OnScreenDisplay
