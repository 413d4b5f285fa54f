// What the framework's sources share with each other and nobody else.
#pragma once

#include "afxwin.h"

// Ends the program with a message: a fixed table of the framework ran out,
// which no run of this program should ever make happen.
void AfxTableFull(LPCSTR lpszTable);

// A fixed pool of temporary objects, taken and given back in stack order.
// Running out ends the program rather than hand out an object in use.
template <class T, int N>
class CTempPool {
public:
    explicit CTempPool(LPCSTR lpszName) : m_lpszName(lpszName), m_nUsed(0) {}
    T *Take()
    {
        if (m_nUsed == N)
            AfxTableFull(m_lpszName);
        return &m_objects[m_nUsed++];
    }
    int Mark() const { return m_nUsed; }
    // Gives back every object taken since mark, clearing each with forget.
    void ReleaseTo(int mark, void (*forget)(T *))
    {
        while (m_nUsed > mark)
            forget(&m_objects[--m_nUsed]);
    }

private:
    LPCSTR m_lpszName;
    T m_objects[N];
    int m_nUsed;
};

// Brackets the handling of one message: it is what Default() refers to, and
// the temporary objects taken while it is handled are given back at its end.
class CMessageScope {
public:
    CMessageScope(UINT message, WPARAM wParam, LPARAM lParam);
    ~CMessageScope();

private:
    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
    int m_nWndMark, m_nMenuMark;
    CMessageScope(const CMessageScope &);
    CMessageScope &operator=(const CMessageScope &);
};

int AfxTemporaryMenusMark();
void AfxReleaseTemporaryMenus(int mark);
