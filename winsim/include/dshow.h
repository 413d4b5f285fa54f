// Host stand-in for <dshow.h>: the system device enumerator, the video-input
// category and the property bag a device moniker binds to.
#pragma once

#include <windows.h>

extern const CLSID CLSID_SystemDeviceEnum;
extern const CLSID CLSID_VideoInputDeviceCategory;
extern const IID IID_ICreateDevEnum;
extern const IID IID_IPropertyBag;

interface IErrorLog;

interface IPropertyBag : IUnknown {
    STDMETHOD(Read)(LPCOLESTR pszPropName, VARIANT *pVar, IErrorLog *pErrorLog) PURE;
    STDMETHOD(Write)(LPCOLESTR pszPropName, VARIANT *pVar) PURE;
};

interface ICreateDevEnum : IUnknown {
    STDMETHOD(CreateClassEnumerator)(REFCLSID clsidDeviceClass, IEnumMoniker **ppEnumMoniker, DWORD dwFlags) PURE;
};
