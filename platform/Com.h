#pragma once

#include "UniqueHandle.h"

#include <objbase.h>

// COM on this thread, apartment-threaded, from construction to destruction: the shell's file dialogs are
// COM objects that need it.
class ComApartment
{
  public:
    ComApartment() : m_initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (m_initialised)
            CoUninitialize();
    }

  private:
    bool m_initialised;
};

template <class Interface> void ReleaseInterface(Interface* object)
{
    object->Release();
}

// One reference to a COM object, released once.
template <class Interface> using UniqueComPtr = UniqueResource<Interface*, &ReleaseInterface<Interface>>;
// A text that COM allocated for the caller, freed with CoTaskMemFree.
using UniqueCoTaskMemText = UniqueResource<wchar_t*, &::CoTaskMemFree>;
