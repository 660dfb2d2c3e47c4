#pragma once

#include <windows.h>

#include <cstdint>

// Sole owner of one Win32 resource: closed by Close, by reassignment or by the destructor, never twice. The
// empty value is the one the API that opens the resource reports failure with: NULL, or -1 for the APIs that
// report INVALID_HANDLE_VALUE.
template <class Resource, auto CloseFunction, std::intptr_t EmptyValue = 0> class UniqueResource
{
  public:
    UniqueResource() = default;
    explicit UniqueResource(Resource resource) : m_resource(resource) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : m_resource(other.Detach()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    ~UniqueResource() { Close(); }

    Resource Get() const { return m_resource; }
    explicit operator bool() const { return m_resource != Empty(); }
    void Attach(Resource resource)
    {
        Close();
        m_resource = resource;
    }
    // Closes what it holds and gives the address for a function that fills in a new resource.
    Resource* Put()
    {
        Close();
        return &m_resource;
    }
    Resource Detach()
    {
        Resource resource = m_resource;
        m_resource = Empty();
        return resource;
    }
    void Close()
    {
        if (m_resource != Empty())
            CloseFunction(Detach());
    }

  private:
    static Resource Empty() { return reinterpret_cast<Resource>(EmptyValue); }

    Resource m_resource = Empty();
};

// Process, thread, pipe and event handles: these APIs report failure with NULL.
using UniqueHandle = UniqueResource<HANDLE, &::CloseHandle>;
// Files of CreateFileW and snapshots of CreateToolhelp32Snapshot, which report failure with
// INVALID_HANDLE_VALUE.
using UniqueHfile = UniqueResource<HANDLE, &::CloseHandle, -1>;
// A search of FindFirstFileW, which reports failure with INVALID_HANDLE_VALUE.
using UniqueFind = UniqueResource<HANDLE, &::FindClose, -1>;
using UniqueHkey = UniqueResource<HKEY, &::RegCloseKey>;
