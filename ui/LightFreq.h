// The application object.
#pragma once

#include <afxwin.h>

class CLightFreqApp : public CWinApp {
public:
    CLightFreqApp();
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CLightFreqApp theApp;
