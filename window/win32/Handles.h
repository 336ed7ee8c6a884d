// Owners for the Windows resources the program holds, each released exactly once.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <memory>
#include <type_traits>

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

struct AcceleratorsDeleter {
    void operator()(HACCEL accelerators) const noexcept { DestroyAcceleratorTable(accelerators); }
};
using UniqueAccelerators = std::unique_ptr<std::remove_pointer_t<HACCEL>, AcceleratorsDeleter>;

// For what Windows allocates with LocalAlloc and hands over, such as CommandLineToArgvW's list.
struct LocalDeleter {
    void operator()(void* memory) const noexcept { LocalFree(memory); }
};

template <typename Interface>
struct ComReleaser {
    void operator()(Interface* object) const noexcept { object->Release(); }
};
template <typename Interface>
using ComPtr = std::unique_ptr<Interface, ComReleaser<Interface>>;

// COM for this thread, as a single-threaded apartment, for as long as the object lives.
class ComApartment {
public:
    ComApartment() : initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised;
};

// The wait cursor until the object goes, then the cursor from before.
class WaitCursor {
public:
    WaitCursor() : previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous;
};
