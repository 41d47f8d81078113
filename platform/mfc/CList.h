// The framework's doubly linked list of values. A position is the address of
// an element's node: it stays valid while other elements come and go. The
// block size is kept for callers that state one; nodes are allocated singly.
#pragma once

#include "win32/windows.h"

struct __POSITION;
using POSITION = __POSITION*;

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList {
  public:
    explicit CList(INT_PTR blockSize = 10) : m_blockSize(blockSize) {}
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    ~CList() { RemoveAll(); }

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }
    INT_PTR blockSize() const { return m_blockSize; }

    POSITION AddTail(ARG_TYPE value) {
        Node* node = new Node{value, m_tail, nullptr};
        (m_tail ? m_tail->next : m_head) = node;
        m_tail = node;
        ++m_count;
        return toPosition(node);
    }
    void RemoveAll() {
        while (m_head) {
            Node* next = m_head->next;
            delete m_head;
            m_head = next;
        }
        m_tail = nullptr;
        m_count = 0;
    }

    POSITION GetHeadPosition() const { return toPosition(m_head); }
    // The element at pos; pos moves on to the next one (null after the last).
    TYPE& GetNext(POSITION& pos) const {
        Node* node = fromPosition(pos);
        pos = toPosition(node->next);
        return node->value;
    }
    TYPE& GetAt(POSITION pos) const { return fromPosition(pos)->value; }
    TYPE& GetHead() const { return m_head->value; }
    TYPE& GetTail() const { return m_tail->value; }

  private:
    struct Node {
        TYPE value;
        Node* prev;
        Node* next;
    };
    static POSITION toPosition(Node* node) { return reinterpret_cast<POSITION>(node); }
    static Node* fromPosition(POSITION pos) { return reinterpret_cast<Node*>(pos); }

    INT_PTR m_blockSize;
    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    INT_PTR m_count = 0;
};
