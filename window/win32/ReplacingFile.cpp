#include "ReplacingFile.h"

#include <algorithm>

#include "Console.h"

namespace {

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

bool Failed(std::u16string& reason, DWORD error = GetLastError()) {
    std::u16string storage;
    reason = SystemReason(error, storage);
    return false;
}

}  // namespace

bool ReplacingFile::Open(const std::u16string& target, std::u16string& reason) {
    target_ = target;
    // In the target's folder, so that the rename stays on its volume; a name of its own, so
    // that two conversions to one folder keep apart.
    const std::size_t slash = target.find_last_of(u"\\/");
    const std::u16string folder = slash == std::u16string::npos ? u"." : target.substr(0, slash);
    wchar_t name[MAX_PATH + 1] = {};
    if (GetTempFileNameW(Wide(folder), L"tyc", 0, name) == 0) return Failed(reason);
    written_ = reinterpret_cast<const char16_t*>(name);
    file_ = CreateFileW(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        Failed(reason);
        Discard();
        return false;
    }
    return true;
}

ReplacingFile::~ReplacingFile() { Discard(); }

bool ReplacingFile::Write(std::string_view bytes, std::u16string& reason) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(file_, bytes.data(), size, &written, nullptr)) return Failed(reason);
        bytes.remove_prefix(written);
    }
    return true;
}

bool ReplacingFile::Commit(std::u16string& reason) {
    const DWORD flushed = FlushFileBuffers(file_) ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (flushed != ERROR_SUCCESS) {
        Failed(reason, flushed);
        Discard();
        return false;
    }
    if (!MoveFileExW(Wide(written_), Wide(target_),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Failed(reason);
        Discard();
        return false;
    }
    written_.clear();
    return true;
}

void ReplacingFile::Discard() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (!written_.empty()) DeleteFileW(Wide(written_));
    written_.clear();
}
