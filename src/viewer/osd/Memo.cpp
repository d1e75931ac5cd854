#include "viewer/osd/Memo.h"

#include <cmath>

#include "viewer/osd/Label.h"
#include "viewer/osd/Scale.h"

namespace OnScreenDisplay {

namespace {

std::u16string TrimRight(std::u16string s)
{
    while (!s.empty() && (s.back() == u' ' || s.back() == u'\t' || s.back() == u'\r'))
        s.pop_back();
    return s;
}

} // namespace

Memo::Memo(Component* parent) : Control(parent), m_lineControl(new MemoLine())
{
    m_lineControl->SetParent(this);
}

void Memo::SetText(const std::u16string& text)
{
    m_text = text;
    Wrap();
}

void Memo::Layout()
{
    Wrap();
    Control::Layout();
}

void Memo::Wrap()
{
    m_lines.clear();
    if (!m_font)
        return;
    COSDString probe;
    probe.Layout(m_font->Atlas(), u"H");
    const int hH = probe.GetHeight();
    const float scale = GetScale();
    // A font that measures nothing, or no line height, gives no lines (never a division by 0).
    if (hH <= 0 || !(m_lineHeight > 0) || !(scale > 0))
        return;
    const double limit = std::trunc(m_rect.Width() / (scale * m_lineHeight / hH));
    auto close = [&](const std::u16string& line) {
        const std::u16string trimmed = TrimRight(line);
        if (trimmed.empty())
            return; // a word too wide for an empty line starts it: no blank line before it
        m_lines.emplace_back();
        m_lines.back().Layout(m_font->Atlas(), trimmed);
    };
    size_t start = 0;
    while (start <= m_text.size()) {
        size_t end = m_text.find(u'\n', start);
        if (end == std::u16string::npos)
            end = m_text.size();
        const std::u16string paragraph = m_text.substr(start, end - start);
        std::u16string line;
        double width = 0;
        size_t wordStart = 0;
        while (wordStart <= paragraph.size()) {
            size_t wordEnd = paragraph.find(u' ', wordStart);
            if (wordEnd == std::u16string::npos)
                wordEnd = paragraph.size();
            const std::u16string word = paragraph.substr(wordStart, wordEnd - wordStart) + u" ";
            COSDString measured;
            measured.Layout(m_font->Atlas(), word);
            const int w = measured.GetWidth();
            if (width + w < limit) {
                line += word;
                width += w;
            } else {
                close(line);
                line = word;
                width = w;
            }
            wordStart = wordEnd + 1;
        }
        close(line); // empty paragraphs add no line
        start = end + 1;
    }
}

void Memo::Render(float alpha)
{
    const float w = m_rect.Width(), h = m_rect.Height();
    if (std::fabs(w * h) < 1e-6f || !m_display)
        return;
    const float lineHeight = GetScale() * m_lineHeight;
    if (!(lineHeight > 0))
        return;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        m_lineControl->m_font = m_font;
        m_lineControl->m_line = &m_lines[i];
        m_lineControl->m_colour = FadeColour(0xFF000000u, alpha);
        m_lineControl->m_alignment = AlignLeft;
        m_lineControl->SetRect(0, i * lineHeight, w, (i + 1) * lineHeight);
        m_lineControl->Layout();
        DrawChild(m_lineControl, alpha);
        if ((i + 1) * lineHeight > h)
            break; // the line that crosses the bottom is still drawn
    }
    m_lineControl->m_line = nullptr;
}

} // namespace OnScreenDisplay
