// Wraps arbitrary UTF-16 (event texts come from the air) in a memo and lays it out in a label, at
// sizes and an OSD scale the input chooses: every line must be non-empty, no wider than the memo
// unless it is a single word, and drawing must stay inside the widget's bounds.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "support/FakeGlyphs.h"
#include "support/RecordingSurface.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/Label.h"
#include "viewer/osd/Memo.h"
#include "viewer/osd/Scale.h"

using namespace OnScreenDisplay;

namespace {

float FloatFrom(const uint8_t* p)
{
    float f;
    std::memcpy(&f, p, sizeof f);
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 13)
        return 0;
    RecordingSurface surface;
    RecordingFont font;
    font.rasteriser.zeroHeight = (data[0] & 1) != 0;
    font.rasteriser.shaping = (data[0] & 2) != 0;
    Display root;
    root.Create(&surface);
    root.SetSize(1920, 1080);
    const float scale = FloatFrom(data + 1);
    SetScale(scale);

    std::u16string text;
    for (size_t i = 13; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));

    auto* memo = new Memo();
    memo->SetParent(&root);
    memo->SetFont(&font);
    const float width = FloatFrom(data + 5);
    memo->SetRect(0, 0, width, 1080);
    memo->m_lineHeight = FloatFrom(data + 9);
    memo->SetText(text);
    const double limit = std::isfinite(width) && scale > 0 && memo->m_lineHeight > 0
                             ? width / (scale * memo->m_lineHeight / 20.0)
                             : 0;
    for (const COSDString& line : memo->GetLines()) {
        if (line.GetText().empty())
            __builtin_trap();
        // Only a line of one word may exceed the width.
        if (line.GetWidth() > limit + 1 && line.GetText().find(u' ') != std::u16string::npos)
            __builtin_trap();
    }

    auto* label = new Label();
    label->SetParent(&root);
    label->SetFont(&font);
    label->SetRect(0, 0, width, memo->m_lineHeight);
    label->SetText(text);
    root.Render(1.0f);
    SetScale(1.0f);
    return 0;
}
