// The display's transform stack. "Local" operations apply before what is already on the top, so a
// child's scale and placement act in its parent's space.
#pragma once

#include <cstddef>
#include <vector>

#include "viewer/osd/Matrix.h"

namespace OnScreenDisplay {

class MatrixStack {
public:
    MatrixStack() : m_stack(1, Matrix::Identity()) {}

    void Push() { m_stack.push_back(m_stack.back()); }
    // The bottom entry stays: popping it only resets it to the identity.
    void Pop();
    void LoadIdentity() { m_stack.back() = Matrix::Identity(); }
    void TranslateLocal(float x, float y, float z);
    void ScaleLocal(float x, float y, float z);
    const Matrix& GetTop() const { return m_stack.back(); }
    size_t Depth() const { return m_stack.size(); }

private:
    std::vector<Matrix> m_stack;
};

} // namespace OnScreenDisplay
