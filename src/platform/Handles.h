#pragma once
// Move-only owners of system handles: each closes its handle exactly once.

#include <windows.h>
#include <winspool.h>

// Traits: a Handle type, Invalid() and Close(handle).
template <typename Traits>
class HandleOwner {
public:
    using Handle = typename Traits::Handle;

    HandleOwner() = default;
    explicit HandleOwner(Handle h) : m_handle(h) {}
    ~HandleOwner() { Reset(); }

    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;
    HandleOwner(HandleOwner&& other) noexcept : m_handle(other.Release()) {}
    HandleOwner& operator=(HandleOwner&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const { return m_handle; }
    bool Valid() const { return m_handle != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }

    Handle Release()
    {
        Handle h = m_handle;
        m_handle = Traits::Invalid();
        return h;
    }

    void Reset(Handle h = Traits::Invalid())
    {
        if (Valid())
            Traits::Close(m_handle);
        m_handle = h;
    }

    // For functions that return the handle through an out-parameter.
    Handle* Receive()
    {
        Reset();
        return &m_handle;
    }

private:
    Handle m_handle = Traits::Invalid();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
struct ModuleHandleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::FreeLibrary(h); }
};
struct SidTraits {
    using Handle = PSID;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::FreeSid(h); }
};
struct ServiceHandleTraits {
    using Handle = SC_HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::CloseServiceHandle(h); }
};
struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::RegCloseKey(h); }
};

// Kernel objects that report failure as a null handle (tokens, mutexes, threads).
using KernelHandle = HandleOwner<KernelHandleTraits>;
// Files, which report failure as INVALID_HANDLE_VALUE.
using FileHandle = HandleOwner<FileHandleTraits>;
using ModuleHandle = HandleOwner<ModuleHandleTraits>;
using SidOwner = HandleOwner<SidTraits>;
// Service manager and service handles.
using ServiceHandle = HandleOwner<ServiceHandleTraits>;
using RegistryKeyHandle = HandleOwner<RegistryKeyTraits>;

// Spooler printer handles (OpenPrinterA, AddPrinterA).
struct PrinterHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::ClosePrinter(h); }
};
using PrinterHandle = HandleOwner<PrinterHandleTraits>;
// Memory blocks of LocalAlloc and GlobalAlloc (fixed ones: the handle is the
// block's address).
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::LocalFree(h); }
};
struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::GlobalFree(h); }
};
using LocalMemory = HandleOwner<LocalMemoryTraits>;
using GlobalMemory = HandleOwner<GlobalMemoryTraits>;
