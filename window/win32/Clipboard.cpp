#include "Clipboard.h"

#include <cwchar>

namespace {

constexpr ULONGLONG kPatienceMilliseconds = 500;
constexpr DWORD kRetryMilliseconds = 10;

// Opens the clipboard, trying again while another program holds it, up to the deadline.
bool OpenClipboardPatiently(HWND owner) {
    const ULONGLONG deadline = GetTickCount64() + kPatienceMilliseconds;
    while (!OpenClipboard(owner)) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(kRetryMilliseconds);
    }
    return true;
}

// Closes the clipboard that this thread opened, when the object goes.
struct ClipboardCloser {
    ClipboardCloser() = default;
    ~ClipboardCloser() { CloseClipboard(); }
    ClipboardCloser(const ClipboardCloser&) = delete;
    ClipboardCloser& operator=(const ClipboardCloser&) = delete;
};

// A global memory block, locked until the object goes.
class LockedMemory {
public:
    explicit LockedMemory(HGLOBAL block) : memory(block), data(GlobalLock(block)) {}
    ~LockedMemory() {
        if (data != nullptr) GlobalUnlock(memory);
    }
    LockedMemory(const LockedMemory&) = delete;
    LockedMemory& operator=(const LockedMemory&) = delete;
    const void* Data() const { return data; }
    SIZE_T Size() const { return GlobalSize(memory); }

private:
    HGLOBAL memory;
    void* data;
};

}  // namespace

std::optional<std::u16string> ReadClipboardText(HWND owner) {
    if (!OpenClipboardPatiently(owner)) return std::nullopt;
    const ClipboardCloser closer;
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) return std::u16string();
    const LockedMemory text(data);
    if (text.Data() == nullptr) return std::u16string();
    // Another program wrote the block: the text ends at its first null or at the block's end.
    const auto* units = static_cast<const wchar_t*>(text.Data());
    const std::size_t length = wcsnlen(units, text.Size() / sizeof(wchar_t));
    return std::u16string(reinterpret_cast<const char16_t*>(units), length);
}
