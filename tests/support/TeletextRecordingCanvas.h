// A teletext canvas for tests: it records every drawing call with its arguments instead of drawing,
// so the renderer's geometry and colours can be checked exactly on every platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dvb/libDVB/teletext/CTeletextCanvas.h"

namespace test {

class TeletextRecordingCanvas : public libDVB::CTeletextCanvas {
public:
    enum class EKind { kClear, kFill, kSixel, kCharacter, kText, kAlpha };
    struct COp {
        EKind kind;
        int left, top, right, bottom; // kCharacter, kText: left and top are the position
        uint8_t foreground, background;
        bool separated, doubleHeight;
        char16_t character;
        std::u16string text;
    };

    TeletextRecordingCanvas(int cellWidth = 12, int cellHeight = 20) : m_cellWidth(cellWidth), m_cellHeight(cellHeight) {}

    int CellWidth() const override { return m_cellWidth; }
    int CellHeight() const override { return m_cellHeight; }
    void* Handle() override { return this; }

    void Clear() override
    {
        ops.clear();
        ops.push_back({EKind::kClear, 0, 0, 0, 0, 0, 0, false, false, 0, {}});
    }
    void FillRectangle(int l, int t, int r, int b, uint8_t colour) override
    {
        ops.push_back({EKind::kFill, l, t, r, b, colour, colour, false, false, 0, {}});
    }
    void DrawSixel(int l, int t, int r, int b, uint8_t fg, uint8_t bg, bool separated) override
    {
        ops.push_back({EKind::kSixel, l, t, r, b, fg, bg, separated, false, 0, {}});
    }
    void DrawCharacter(int x, int y, char16_t c, uint8_t fg, uint8_t bg, bool doubleHeight) override
    {
        ops.push_back({EKind::kCharacter, x, y, 0, 0, fg, bg, false, doubleHeight, c, {}});
    }
    void DrawTextLine(int x, int y, const std::u16string& text) override
    {
        ops.push_back({EKind::kText, x, y, 0, 0, 7, 0, false, false, 0, text});
    }
    void ApplyAlpha(const std::vector<uint8_t>& rows) override
    {
        ops.push_back({EKind::kAlpha, 0, 0, 0, 0, 0, 0, false, false, 0, {}});
        treated = rows;
    }

    std::vector<COp> Of(EKind kind) const
    {
        std::vector<COp> out;
        for (const COp& op : ops)
            if (op.kind == kind)
                out.push_back(op);
        return out;
    }

    std::vector<COp> ops;
    std::vector<uint8_t> treated;

private:
    int m_cellWidth;
    int m_cellHeight;
};

} // namespace test
