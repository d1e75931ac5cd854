#include "viewer/osd/MatrixStack.h"

namespace OnScreenDisplay {

void MatrixStack::Pop()
{
    if (m_stack.size() > 1)
        m_stack.pop_back();
    else
        LoadIdentity();
}

void MatrixStack::TranslateLocal(float x, float y, float z)
{
    m_stack.back() = Matrix::Translation(x, y, z) * m_stack.back();
}

void MatrixStack::ScaleLocal(float x, float y, float z)
{
    m_stack.back() = Matrix::Scaling(x, y, z) * m_stack.back();
}

} // namespace OnScreenDisplay
