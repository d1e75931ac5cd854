// A node of the channel menu tree (TV and radio by initial letter, network channels, favourites),
// built from the engine's services.
#pragma once

#include "framework/CArray.h"
#include "framework/CString.h"

class CChannelNode {
public:
    CChannelNode() = default;
    virtual ~CChannelNode() { RemoveAll(); }
    CChannelNode(const CChannelNode&) = delete;
    CChannelNode& operator=(const CChannelNode&) = delete;

    void RemoveAll()
    {
        for (int i = 0; i < m_children.GetSize(); ++i)
            delete m_children[i];
        m_children.RemoveAll();
    }
    int GetCount() const { return static_cast<int>(m_children.GetSize()); }

    CString m_name;

private:
    CArray<CChannelNode*, CChannelNode*> m_children;
};
