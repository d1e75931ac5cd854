#include "viewer/epg/ProgramGuide2.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "base/Clock.h"
#include "viewer/epg/CEPGData.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/Scale.h"
#include "viewer/osd/WidgetDrawing.h"

namespace OnScreenDisplay {

namespace {

constexpr uint32_t kBlockGrey = 0xC8C8C8;
constexpr uint32_t kNowColour = 0x0000DC;
constexpr int kRowsPerBatch = 50;
constexpr int kBlocksPerBatch = 250;
constexpr float kTextHeight = 24;   // height of a name or title line, units
constexpr float kTitleInset = 6;    // beyond the block margin, on each side of a title
constexpr float kTitleFade = 16;    // titles fade out over this much on the right
constexpr float kFrameBorder = 10;  // the selection frame's border, units
constexpr float kNowWidth = 54, kNowHeight = 56;

const uint32_t kGenreColours[16] = {0x000000, 0x000000, 0x00FFFF, 0xFF8040, 0xFFFF00, 0x00FF00, 0x800080, 0x000080,
                                    0x000000, 0x0000FF, 0x800000, 0x008000, 0x8000FF, 0xFF0080, 0xFF0000, 0x808040};

uint32_t WithAlpha(uint32_t rgb, float alpha)
{
    return FadeColour(0xFF000000u | rgb, alpha);
}

std::u16string ToUtf16(const CString& text)
{
    std::u16string out;
    for (const wchar_t* p = text.GetString(); *p; ++p) {
        const uint32_t c = static_cast<uint32_t>(*p);
        if (c > 0xFFFF && c <= 0x10FFFF) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

// Quads collected and drawn as triangle lists of at most `perBatch` quads.
class QuadBatch {
public:
    QuadBatch(DrawingSurface& surface, int perBatch) : m_surface(surface), m_perBatch(perBatch) {}
    ~QuadBatch() { Flush(); }
    void Add(float l, float t, float r, float b, uint32_t colour, float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1)
    {
        const Vertex tl{l, t, 0, colour, u0, v0}, tr{r, t, 0, colour, u1, v0};
        const Vertex bl{l, b, 0, colour, u0, v1}, br{r, b, 0, colour, u1, v1};
        m_vertices.insert(m_vertices.end(), {tl, tr, bl, tr, br, bl});
        if (static_cast<int>(m_vertices.size()) >= 6 * m_perBatch)
            Flush();
    }
    void Flush()
    {
        if (!m_vertices.empty())
            m_surface.DrawTriangles(m_vertices.data(), static_cast<unsigned>(m_vertices.size() / 3));
        m_vertices.clear();
    }

private:
    DrawingSurface& m_surface;
    int m_perBatch;
    std::vector<Vertex> m_vertices;
};

// The event of `channel` with start <= t < end, walking from `pos`; its position through `found`.
CEPGEvent* EventAt(const CEPGChannel& channel, POSITION pos, int64_t t, POSITION* found = nullptr)
{
    while (pos) {
        const POSITION current = pos;
        CEPGEvent* event = channel.m_events.GetNext(pos);
        if (event->m_start <= t && t < event->End()) {
            if (found)
                *found = current;
            return event;
        }
    }
    return nullptr;
}

} // namespace

ProgramGuide2::ProgramGuide2(Component* parent) : Control(parent)
{
    m_textLabel = new Label();
    m_textLabel->SetParent(this);
    m_textLabel->m_colour = m_textColour;
    m_cursorTime = base::UtcNow();
}

ProgramGuide2::~ProgramGuide2()
{
    for (SkinTexture** texture : {&m_channelTexture, &m_cornerTexture, &m_nowTexture, &m_selectedTexture}) {
        if (*texture)
            (*texture)->Release();
        *texture = nullptr;
    }
}

void ProgramGuide2::SetFont(OsdFont* font)
{
    m_font = font;
    m_textLabel->SetFont(font);
}

int64_t ProgramGuide2::Now() const
{
    return m_clock ? m_clock() : base::UtcNow();
}

int64_t ProgramGuide2::FrontRowCount() const
{
    return m_model ? m_model->RowCount() : 0;
}

bool ProgramGuide2::GenreColour(uint32_t genre, uint32_t* rgb)
{
    if (genre > 15)
        return false;
    *rgb = kGenreColours[genre];
    return true;
}

int ProgramGuide2::RowAt(int y) const
{
    const float s = GetScale();
    if (!m_model || !(s > 0))
        return -1;
    const double row = std::floor(y / ((m_rowHeight + m_rowGap) * s));
    if (row < 0 || m_model->m_topRow + row >= m_model->RowCount())
        return -1;
    return static_cast<int>(row);
}

int64_t ProgramGuide2::TimeAt(int x) const
{
    const double s = GetScale();
    if (!m_model || !(s > 0))
        return m_model ? m_model->m_gridStart : m_cursorTime;
    const double minutes = std::trunc((x - m_nameWidth * s) / (m_columnWidth * s) * 30.0);
    return m_model->m_gridStart + static_cast<int64_t>(minutes) * 60;
}

bool ProgramGuide2::OnMouseWheel(uint32_t flags, int delta, int x, int y)
{
    if (!m_model)
        return true;
    const int rows = std::abs(delta) / 120;
    int top = delta > 0 ? m_model->m_topRow - rows : m_model->m_topRow + rows;
    top = std::min(top, m_model->RowCount() - 3);
    m_model->m_topRow = std::max(top, 0);
    return true;
}

bool ProgramGuide2::OnMouseMove(uint32_t flags, int x, int y)
{
    const int row = RowAt(y);
    if (row >= 0) {
        m_model->m_selectedRow = m_model->m_topRow + row;
        m_cursorTime = TimeAt(x);
    }
    return Control::OnMouseMove(flags, x, y);
}

bool ProgramGuide2::OnLButtonDown(uint32_t flags, int x, int y)
{
    if (!m_model)
        return Control::OnMouseMove(0, x, y);
    const int row = RowAt(y);
    if (row < 0)
        return Control::OnLButtonDown(flags, x, y);
    m_model->m_selectedRow = m_model->m_topRow + row;
    const CEPGChannel* channel = m_model->Row(m_model->m_selectedRow);
    if (x < m_nameWidth * GetScale()) {
        if (m_display)
            m_display->OnGuideClick(m_id, channel->m_keyLow, channel->m_keyHigh);
        return true;
    }
    const int64_t t = TimeAt(x);
    const CEPGEvent* hit = EventAt(*channel, channel->FindFirstVisible(m_model->m_gridStart), t);
    if (!hit)
        return Control::OnLButtonDown(flags, x, y);
    const int64_t now = Now();
    const bool running = hit->m_start <= now && now < hit->End();
    const bool past = hit->End() <= now;
    if (m_display)
        m_display->OnGuideMenu(m_id, hit->m_keyLow, hit->m_keyHigh, channel->m_keyLow, channel->m_keyHigh, flags,
                               running, past);
    return true;
}

bool ProgramGuide2::OnKey(unsigned key, unsigned repeat, unsigned flags)
{
    if (!m_model)
        return false;
    const int64_t t = m_cursorTime;
    const int rows = m_model->RowCount();
    if (key == KeyUp || key == KeyDown) {
        int r = m_model->m_selectedRow + (key == KeyUp ? -1 : 1);
        r = std::max(std::min(r, rows - 1), 0);
        m_model->m_selectedRow = r;
        const CEPGChannel* channel = m_model->Row(r);
        if (!channel)
            return false;
        const auto& events = channel->m_events;
        if (events.IsEmpty())
            return true;
        int64_t candidate = events.GetHead()->Midpoint();
        for (POSITION pos = events.GetHeadPosition(); pos;) {
            const CEPGEvent* event = events.GetNext(pos);
            if (event->m_start > t)
                break;
            candidate = event->Midpoint();
        }
        m_cursorTime = candidate;
        return true;
    }
    if (key == KeyLeft || key == KeyRight) {
        const CEPGChannel* channel = m_model->Row(m_model->m_selectedRow);
        if (!channel)
            return false;
        POSITION pos = nullptr;
        if (!EventAt(*channel, channel->m_events.GetHeadPosition(), t, &pos))
            return true;
        if (key == KeyLeft)
            channel->m_events.GetPrev(pos);
        else
            channel->m_events.GetNext(pos);
        if (!pos)
            return false;
        m_cursorTime = channel->m_events.GetAt(pos)->Midpoint();
        return true;
    }
    return true;
}

void ProgramGuide2::Render(float alpha)
{
    // The children, but the label: it draws only the texts lent to it below.
    for (int i = 0; i < GetChildCount(); ++i) {
        Control* child = m_children[i]->AsControl();
        if (child && child != m_textLabel)
            DrawChild(child, alpha);
    }
    if (!m_display || !m_model || !m_font)
        return;
    const float w = m_rect.Width(), h = m_rect.Height(), s = GetScale();
    m_columnsShown = w > 0 ? static_cast<int>(std::floor(w / m_columnWidth)) : 0;
    m_rowsDrawn = 0;
    DrawingSurface* surface = m_display->GetSurface();
    if (!surface || !(w > 0) || !(h > 0) || !(s > 0))
        return;
    const float pitch = (m_rowHeight + m_rowGap) * s;
    int rows = 0;
    while (rows * pitch < h && m_model->Row(m_model->m_topRow + rows))
        ++rows;
    m_rowsDrawn = rows;

    DrawRows(alpha, rows);
    DrawTexts(alpha, rows);
    DrawBlocks(alpha, rows);
    DrawCorners(alpha);
    DrawTitles(alpha);
    DrawNowMarker(alpha);
    SetImageStages(*surface);
    surface->SetTexture(0, nullptr);
    m_blocks.clear();
}

void ProgramGuide2::DrawRows(float alpha, int rows)
{
    if (!m_channelTexture || !rows)
        return;
    DrawingSurface& surface = *m_display->GetSurface();
    const FrameRect* f = m_channelTexture->GetFirstFrameRect();
    const FrameRect uv = f ? *f : FrameRect{0, 0, 1, 1};
    const float s = GetScale(), pitch = (m_rowHeight + m_rowGap) * s;
    SetImageStages(surface);
    surface.SetTexture(0, m_channelTexture->GetSurfaceTexture());
    QuadBatch batch(surface, kRowsPerBatch);
    for (int i = 0; i < rows; ++i)
        batch.Add(X(0), Y(i * pitch), X(m_rect.Width()), Y(i * pitch + m_rowHeight * s), OpacityColour(alpha), uv.left,
                  uv.top, uv.right, uv.bottom);
}

void ProgramGuide2::LendText(const COSDString& text, uint32_t colour, float left, float top, float right,
                             float bottom, float fadeWidth)
{
    m_textLabel->SetRect(left, top, right, bottom);
    m_textLabel->m_borrowed = &text;
    m_textLabel->m_borrowedColour = colour;
    m_textLabel->m_borrowedAlignment = AlignLeft;
    if (fadeWidth > 0) {
        m_textLabel->m_borrowedFadeStart = 1.0f - 2.0f * fadeWidth / (right - left);
        m_textLabel->m_borrowedFadeEnd = 1.0f;
    }
    DrawChild(m_textLabel, 1.0f);
    m_textLabel->ResetBorrowed();
}

void ProgramGuide2::DrawTexts(float alpha, int rows)
{
    const float s = GetScale(), pitch = (m_rowHeight + m_rowGap) * s;
    const float inset = (m_blockMargin + kTitleInset) * s;
    for (int i = 0; i < rows; ++i) {
        CEPGChannel* channel = m_model->Row(m_model->m_topRow + i);
        if (!channel->m_nameText) {
            channel->m_nameText = new COSDString();
            channel->m_nameText->Layout(m_font->Atlas(), ToUtf16(channel->m_name));
        }
        const float top = i * pitch + (m_rowHeight - kTextHeight) * 0.5f * s;
        LendText(*channel->m_nameText, FadeColour(m_textColour, alpha), inset, top, m_nameWidth * s - inset,
                 top + kTextHeight * s, 0);
    }
}

void ProgramGuide2::DrawBlocks(float alpha, int rows)
{
    const float s = GetScale(), w = m_rect.Width(), pitch = (m_rowHeight + m_rowGap) * s;
    const float timeLeft = m_nameWidth * s, perSecond = m_columnWidth / 1800.0f * s;
    const int64_t gridStart = m_model->m_gridStart;
    int framed = -1; // index: the vector grows below
    for (int i = 0; i < rows; ++i) {
        const int row = m_model->m_topRow + i;
        const CEPGChannel* channel = m_model->Row(row);
        const float top = i * pitch;
        for (POSITION pos = channel->FindFirstVisible(gridStart); pos;) {
            const CEPGEvent* event = channel->m_events.GetNext(pos);
            if (event->m_durationMinutes <= 0)
                continue;
            const float left = timeLeft + static_cast<float>(event->m_start - gridStart) * perSecond;
            const float right = left + event->m_durationMinutes * 60.0f * perSecond - m_rowGap * s;
            if (left >= w)
                break;
            if (right <= timeLeft)
                continue;
            const bool selected = row == m_model->m_selectedRow && event->m_start <= m_cursorTime &&
                                  m_cursorTime < event->End();
            m_blocks.push_back({event, std::max(left, timeLeft), top, std::min(right, w), top + m_rowHeight * s,
                                right <= w, selected && framed < 0});
            if (m_blocks.back().framed)
                framed = static_cast<int>(m_blocks.size()) - 1;
        }
    }
    DrawingSurface& surface = *m_display->GetSurface();
    SetDiffuseStages(surface);
    surface.SetTexture(0, nullptr);
    {
        QuadBatch batch(surface, kBlocksPerBatch);
        for (const Block& b : m_blocks) {
            if (!b.framed)
                batch.Add(X(b.left), Y(b.top), X(b.right), Y(b.bottom), WithAlpha(kBlockGrey, alpha));
        }
    }
    if (framed >= 0)
        DrawFrame(alpha, m_blocks[framed]);
    ReportDetails(framed >= 0 ? m_blocks[framed].event : nullptr);
}

void ProgramGuide2::DrawFrame(float alpha, const Block& block)
{
    if (!m_selectedTexture)
        return;
    const FrameRect* f = m_selectedTexture->GetFirstFrameRect();
    const FrameRect r = f ? *f : FrameRect{0, 0, 1, 1};
    const float border = kFrameBorder * GetScale();
    // Nine parts: the texture is cut at 5/62 and 57/62 each way; the corners keep a fixed size.
    const float u[4] = {r.left, r.left + (r.right - r.left) * 5 / 62, r.left + (r.right - r.left) * 57 / 62, r.right};
    const float v[4] = {r.top, r.top + (r.bottom - r.top) * 5 / 62, r.top + (r.bottom - r.top) * 57 / 62, r.bottom};
    const float bw = std::min(border, (block.right - block.left) / 2), bh = std::min(border, (block.bottom - block.top) / 2);
    const float x[4] = {X(block.left), X(block.left + bw), X(block.right - bw), X(block.right)};
    const float y[4] = {Y(block.top), Y(block.top + bh), Y(block.bottom - bh), Y(block.bottom)};
    DrawingSurface& surface = *m_display->GetSurface();
    SetImageStages(surface);
    surface.SetTexture(0, m_selectedTexture->GetSurfaceTexture());
    QuadBatch batch(surface, 9);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            batch.Add(x[col], y[row], x[col + 1], y[row + 1], OpacityColour(alpha), u[col], v[row], u[col + 1], v[row + 1]);
    }
}

void ProgramGuide2::ReportDetails(const CEPGEvent* framed)
{
    const bool same = framed ? m_detailsEvent && framed->HasKey(m_detailsKeyLow, m_detailsKeyHigh) : !m_detailsEvent;
    if (same)
        return;
    m_detailsEvent = framed;
    m_detailsKeyLow = framed ? framed->m_keyLow : 0;
    m_detailsKeyHigh = framed ? framed->m_keyHigh : 0;
    m_display->ShowEventDetails(framed);
}

void ProgramGuide2::DrawCorners(float alpha)
{
    if (!m_cornerTexture)
        return;
    const float s = GetScale();
    const float cw = m_cornerTexture->GetContentWidth() * s, ch = m_cornerTexture->GetFrameContentHeight() * s;
    const FrameRect* f = m_cornerTexture->GetFirstFrameRect();
    const FrameRect uv = f ? *f : FrameRect{0, 0, 1, 1};
    DrawingSurface& surface = *m_display->GetSurface();
    SetModulateStages(surface);
    surface.SetTexture(0, m_cornerTexture->GetSurfaceTexture());
    QuadBatch batch(surface, kBlocksPerBatch);
    for (const Block& b : m_blocks) {
        uint32_t rgb = 0;
        if (!b.rightVisible || cw > b.right - b.left || !GenreColour(b.event->m_genre, &rgb))
            continue;
        batch.Add(X(b.right - cw), Y(b.top), X(b.right), Y(b.top + ch), WithAlpha(rgb, alpha), uv.left, uv.top, uv.right,
                  uv.bottom);
    }
}

void ProgramGuide2::DrawTitles(float alpha)
{
    const float s = GetScale(), inset = (m_blockMargin + kTitleInset) * s;
    for (const Block& b : m_blocks) {
        const float left = b.left + inset, right = b.right - inset;
        if (!(right > left))
            continue;
        CEPGEvent* event = const_cast<CEPGEvent*>(b.event);
        if (!event->m_titleText) {
            event->m_titleText = new COSDString();
            event->m_titleText->Layout(m_font->Atlas(), ToUtf16(event->m_title));
        }
        const float top = b.top + (b.bottom - b.top - kTextHeight * s) * 0.5f;
        const uint32_t colour = b.framed ? WithAlpha(0xFFFFFF, alpha) : FadeColour(m_textColour, alpha);
        LendText(*event->m_titleText, colour, left, top, right, top + kTextHeight * s, kTitleFade * s);
    }
}

uint32_t ProgramGuide2::AnimationDelay(uint32_t now)
{
    const uint32_t children = Control::AnimationDelay(now);
    const uint32_t marker = m_nowTexture && m_model ? 1000 : kStill;
    return children < marker ? children : marker;
}

void ProgramGuide2::DrawNowMarker(float alpha)
{
    if (!m_nowTexture)
        return;
    const float s = GetScale(), timeLeft = m_nameWidth * s;
    const float x = timeLeft + static_cast<float>(Now() - m_model->m_gridStart) * (m_columnWidth / 1800.0f * s);
    if (x < timeLeft || x >= m_rect.Width())
        return;
    const FrameRect* f = m_nowTexture->GetFirstFrameRect();
    const FrameRect uv = f ? *f : FrameRect{0, 0, 1, 1};
    DrawingSurface& surface = *m_display->GetSurface();
    SetModulateStages(surface);
    surface.SetTexture(0, m_nowTexture->GetSurfaceTexture());
    QuadBatch batch(surface, 1);
    batch.Add(X(x - kNowWidth / 2 * s), Y(0), X(x + kNowWidth / 2 * s), Y(kNowHeight * s), WithAlpha(kNowColour, alpha),
              uv.left, uv.top, uv.right, uv.bottom);
}

} // namespace OnScreenDisplay
