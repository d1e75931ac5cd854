// A node of the OSD tree: an id, its children in drawing order and its parent. A component owns its
// children and deletes them with itself.
#pragma once

#include <cstdint>
#include <vector>

namespace OnScreenDisplay {

class Control;

class Component {
public:
    explicit Component(Component* parent = nullptr);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    virtual void AddChild(Component* child);
    virtual void RemoveChild(Component* child);
    // Detaches from the current parent and attaches to p (p may be null).
    virtual void SetParent(Component* parent);
    virtual void DeleteChildren();
    virtual Control* AsControl() { return nullptr; }

    bool IndexOfChild(const Component* child) const { return FindChild(child) >= 0; }
    int FindChild(const Component* child) const;
    int GetChildCount() const { return static_cast<int>(m_children.size()); }
    Component* GetChild(int index) const;
    Component* GetParent() const { return m_parent; }

    int32_t GetId() const { return m_id; }
    void SetId(int32_t id) { m_id = id; }

protected:
    std::vector<Component*> m_children;
    Component* m_parent = nullptr;
    int32_t m_id = 0;
};

} // namespace OnScreenDisplay
