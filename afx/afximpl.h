// What the framework's sources share with each other and nobody else.
#pragma once

#include "afxwin.h"

// Brackets the handling of one message: it is what Default() refers to, and
// temporary objects are recycled once the outermost one ends.
class CMessageScope {
public:
    CMessageScope(UINT message, WPARAM wParam, LPARAM lParam);
    ~CMessageScope();

private:
    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
    CMessageScope(const CMessageScope &);
    CMessageScope &operator=(const CMessageScope &);
};

void AfxReleaseTemporaryMenus();
