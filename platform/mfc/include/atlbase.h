#pragma once
// The little of ATL's smart pointer that the library uses: mingw-w64 has no ATL.
#include <windows.h>

template <class T> class CComPtr
{
public:
    CComPtr() : p(nullptr) {}
    CComPtr(T* lp) : p(lp)
    {
        if (p)
            p->AddRef();
    }
    CComPtr(const CComPtr& other) : CComPtr(other.p) {}
    ~CComPtr() { Release(); }

    CComPtr& operator=(const CComPtr& other) { return *this = other.p; }
    CComPtr& operator=(T* lp)
    {
        if (lp)
            lp->AddRef();
        Release();
        p = lp;
        return *this;
    }

    void Release()
    {
        T* old = p;
        p = nullptr;
        if (old)
            old->Release();
    }

    operator T*() const { return p; }
    T* operator->() const { return p; }
    T** operator&() { return &p; }
    bool operator!() const { return p == nullptr; }

    T* p;
};
