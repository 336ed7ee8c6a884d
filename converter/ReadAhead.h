// Reads a source on a thread of its own, a few pieces ahead of its conversion, so that the
// system's copying of the next bytes and the conversion of those before go on at once.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <thread>

#include "ConvertStreams.h"

class ReadAhead {
public:
    // Reads of 1 MiB cost the system less than half of what reads of 64 KiB do.
    static constexpr std::size_t kPiece = std::size_t(1) << 20;

    // Starts reading the source that `streams` opened last.
    explicit ReadAhead(ConvertStreams& streams);
    // Stops reading. A read that still waits for its bytes, as from a terminal, is left to end
    // by itself rather than waited for.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next piece, as ConvertStreams::Read gives it: the number of bytes, 0 at the end, -1 on
    // failure with the system's reason. The bytes stay valid until the next call.
    std::ptrdiff_t Next(const char*& bytes, std::u16string& reason);

private:
    struct State;
    // The thread's work, over the state it shares with the caller for as long as it runs.
    static void ReadAll(const std::shared_ptr<State>& state, ConvertStreams& streams);
    std::shared_ptr<State> state_;
    std::thread thread_;
};
