#include "viewer/osd/Component.h"

#include <algorithm>

namespace OnScreenDisplay {

Component::Component(Component* parent)
{
    // Only the Component part of this object exists here, so the parent's AddChild sees no Control
    // and skips its display and focus steps; widgets are therefore usually attached with SetParent
    // after construction.
    if (parent) {
        parent->AddChild(this);
        m_parent = parent;
    }
}

Component::~Component()
{
    DeleteChildren();
}

void Component::AddChild(Component* child)
{
    if (child && !IndexOfChild(child))
        m_children.push_back(child);
}

void Component::RemoveChild(Component* child)
{
    const auto it = std::find(m_children.begin(), m_children.end(), child);
    if (it != m_children.end())
        m_children.erase(it);
}

void Component::SetParent(Component* parent)
{
    if (parent == m_parent)
        return;
    if (m_parent)
        m_parent->RemoveChild(this);
    m_parent = nullptr;
    if (parent) {
        parent->AddChild(this);
        m_parent = parent;
    }
}

void Component::DeleteChildren()
{
    // Take the array first: a child's destructor must not find itself in a half-emptied list.
    std::vector<Component*> children;
    children.swap(m_children);
    for (Component* child : children) {
        child->m_parent = nullptr;
        delete child;
    }
}

int Component::FindChild(const Component* child) const
{
    const auto it = std::find(m_children.begin(), m_children.end(), child);
    return it == m_children.end() ? -1 : static_cast<int>(it - m_children.begin());
}

Component* Component::GetChild(int index) const
{
    return index >= 0 && index < GetChildCount() ? m_children[index] : nullptr;
}

} // namespace OnScreenDisplay
