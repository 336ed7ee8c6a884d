#include "PosixConvertStreams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "Utf.h"

namespace {

std::u16string Reason(int error) { return Utf16FromUtf8(std::strerror(error)); }

// Writes all the bytes, again after an interruption; false with errno set on failure.
bool WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

PosixConvertStreams::PosixConvertStreams() { std::signal(SIGPIPE, SIG_IGN); }

bool PosixConvertStreams::Open(const std::string& name, std::u16string& reason) {
    source_ = name == "-" ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (source_ < 0) {
        reason = Reason(errno);
        return false;
    }
    return true;
}

std::ptrdiff_t PosixConvertStreams::Read(char* buffer, std::size_t size, std::u16string& reason) {
    for (;;) {
        const ssize_t count = ::read(source_, buffer, size);
        if (count >= 0) return count;
        if (errno != EINTR) {
            reason = Reason(errno);
            return -1;
        }
    }
}

std::optional<std::uint64_t> PosixConvertStreams::Size() {
    struct stat status {};
    if (::fstat(source_, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

bool PosixConvertStreams::Seek(std::uint64_t offset) {
    return Size() && ::lseek(source_, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

void PosixConvertStreams::Close() {
    if (source_ > STDIN_FILENO) ::close(source_);
    source_ = -1;
}

ConvertStreams::Written PosixConvertStreams::Write(std::string_view bytes, std::u16string& reason) {
    if (WriteAll(STDOUT_FILENO, bytes)) return Written::All;
    if (errno == EPIPE) return Written::ReaderGone;
    reason = Reason(errno);
    return Written::Failed;
}

void PosixConvertStreams::Complain(std::string_view message) {
    WriteAll(STDERR_FILENO, "tychobvr: " + std::string(message) + "\n");
}

bool PosixConvertStreams::WriteWholeFile(const std::string& name, std::string_view bytes,
                                         std::u16string& reason) {
    // Beside the target, so that the rename stays on its file system.
    std::string written = name + ".XXXXXX";
    const int file = ::mkstemp(written.data());
    if (file < 0) {
        reason = Reason(errno);
        return false;
    }
    const bool complete = WriteAll(file, bytes) && ::fchmod(file, 0644) == 0;
    int error = errno;
    if (::close(file) != 0 && complete) error = errno;
    if (complete && ::rename(written.c_str(), name.c_str()) == 0) return true;
    if (complete) error = errno;
    ::unlink(written.c_str());
    reason = Reason(error);
    return false;
}
