// A doubly linked list addressed by POSITION values, its nodes allocated in blocks of a
// chosen size and reused after removal.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

struct __POSITION {};
typedef __POSITION* POSITION;

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList {
public:
    explicit CList(ptrdiff_t blockSize = 10) : m_blockSize(blockSize > 0 ? blockSize : 10) {}
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    ~CList() { RemoveAll(); }

    ptrdiff_t GetCount() const { return m_count; }
    ptrdiff_t GetSize() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    // The head or tail of an empty list is a caller's fault and aborts.
    TYPE& GetHead() { return Node(m_head)->data; }
    const TYPE& GetHead() const { return Node(m_head)->data; }
    TYPE& GetTail() { return Node(m_tail)->data; }
    const TYPE& GetTail() const { return Node(m_tail)->data; }

    POSITION AddHead(ARG_TYPE element) { return InsertBetween(nullptr, m_head, element); }
    POSITION AddTail(ARG_TYPE element) { return InsertBetween(m_tail, nullptr, element); }
    // A null position stands for the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE element)
    {
        if (!position)
            return AddHead(element);
        CNode* node = Node(position);
        return InsertBetween(node->prev, node, element);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE element)
    {
        if (!position)
            return AddTail(element);
        CNode* node = Node(position);
        return InsertBetween(node, node->next, element);
    }

    TYPE RemoveHead()
    {
        TYPE value(Node(m_head)->data);
        Unlink(m_head);
        return value;
    }
    TYPE RemoveTail()
    {
        TYPE value(Node(m_tail)->data);
        Unlink(m_tail);
        return value;
    }
    void RemoveAt(POSITION position) { Unlink(Node(position)); }

    void RemoveAll()
    {
        for (CNode* node = m_head; node;) {
            CNode* next = node->next;
            node->data.~TYPE();
            node = next;
        }
        m_head = m_tail = m_free = nullptr;
        m_count = 0;
        while (m_blocks) {
            CBlock* next = m_blocks->next;
            ::operator delete(m_blocks);
            m_blocks = next;
        }
    }

    POSITION GetHeadPosition() const { return Position(m_head); }
    POSITION GetTailPosition() const { return Position(m_tail); }

    // The element at position; position moves to the next (previous) one, null after the end.
    TYPE& GetNext(POSITION& position) { return Step(position, true); }
    const TYPE& GetNext(POSITION& position) const { return Step(position, true); }
    TYPE& GetPrev(POSITION& position) { return Step(position, false); }
    const TYPE& GetPrev(POSITION& position) const { return Step(position, false); }

    TYPE& GetAt(POSITION position) { return Node(position)->data; }
    const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
    void SetAt(POSITION position, ARG_TYPE element) { Node(position)->data = element; }

    // The first position at or after startAfter's successor whose element equals value.
    POSITION Find(ARG_TYPE value, POSITION startAfter = nullptr) const
    {
        const CNode* node = startAfter ? Node(startAfter)->next : m_head;
        for (; node; node = node->next) {
            if (node->data == value)
                return Position(node);
        }
        return nullptr;
    }

private:
    struct CNode {
        CNode* next;
        CNode* prev;
        TYPE data;
    };
    struct CBlock {
        CBlock* next;
    };

    static POSITION Position(const CNode* node) { return reinterpret_cast<POSITION>(const_cast<CNode*>(node)); }
    static CNode* Node(POSITION position)
    {
        if (!position)
            std::abort();
        return reinterpret_cast<CNode*>(position);
    }
    static CNode* Node(CNode* node)
    {
        if (!node)
            std::abort();
        return node;
    }

    TYPE& Step(POSITION& position, bool forward) const
    {
        CNode* node = Node(position);
        position = Position(forward ? node->next : node->prev);
        return node->data;
    }

    CNode* NewNode()
    {
        if (!m_free) {
            // One allocation holds the block link followed by m_blockSize nodes, all free.
            size_t offset = (sizeof(CBlock) + alignof(CNode) - 1) / alignof(CNode) * alignof(CNode);
            char* raw = static_cast<char*>(::operator new(offset + sizeof(CNode) * static_cast<size_t>(m_blockSize)));
            CBlock* block = reinterpret_cast<CBlock*>(raw);
            block->next = m_blocks;
            m_blocks = block;
            CNode* nodes = reinterpret_cast<CNode*>(raw + offset);
            for (ptrdiff_t i = m_blockSize - 1; i >= 0; --i) {
                nodes[i].next = m_free;
                m_free = &nodes[i];
            }
        }
        CNode* node = m_free;
        m_free = node->next;
        return node;
    }

    POSITION InsertBetween(CNode* prev, CNode* next, ARG_TYPE element)
    {
        CNode* node = NewNode();
        try {
            new (&node->data) TYPE(element);
        } catch (...) {
            node->next = m_free;
            m_free = node;
            throw;
        }
        node->prev = prev;
        node->next = next;
        (prev ? prev->next : m_head) = node;
        (next ? next->prev : m_tail) = node;
        ++m_count;
        return Position(node);
    }

    void Unlink(CNode* node)
    {
        Node(node);
        (node->prev ? node->prev->next : m_head) = node->next;
        (node->next ? node->next->prev : m_tail) = node->prev;
        node->data.~TYPE();
        node->next = m_free;
        m_free = node;
        if (--m_count == 0)
            RemoveAll(); // an emptied list gives its blocks back
    }

    ptrdiff_t m_blockSize;
    ptrdiff_t m_count = 0;
    CNode* m_head = nullptr;
    CNode* m_tail = nullptr;
    CNode* m_free = nullptr;
    CBlock* m_blocks = nullptr;
};
