// A file written beside its target and put in the target's place only when complete, so that
// a failed or cancelled write leaves the target as it was and nothing else behind.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

class ReplacingFile {
public:
    // Creates the file beside the target; false, with the system's reason, when it cannot.
    bool Open(const std::u16string& target, std::u16string& reason);
    // Deletes the file unless it was committed.
    ~ReplacingFile();
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool Write(std::string_view bytes, std::u16string& reason);
    // Puts the file in the target's place, replacing what was there.
    bool Commit(std::u16string& reason);

private:
    void Discard();

    std::u16string target_;
    std::u16string written_;  // the file beside it
    HANDLE file_ = INVALID_HANDLE_VALUE;
};
