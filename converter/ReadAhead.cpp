// The reading thread and the pieces it hands over, in their order.
#include "ReadAhead.h"

#include <array>
#include <condition_variable>
#include <mutex>

struct ReadAhead::State {
    static constexpr std::size_t kPieces = 3;
    std::mutex mutex;
    std::condition_variable changed;
    std::array<std::unique_ptr<char[]>, kPieces> pieces;
    std::array<std::ptrdiff_t, kPieces> counts{};
    std::array<std::u16string, kPieces> reasons;
    std::size_t first = 0;   // the piece read longest ago
    std::size_t filled = 0;  // pieces read and not yet given back, the one held included
    bool held = false;       // the first piece is the caller's
    bool reading = false;    // inside the stream's Read
    bool stopping = false;
    bool ended = false;  // the thread has read its last piece
};

ReadAhead::ReadAhead(ConvertStreams& streams) : state_(std::make_shared<State>()) {
    // Left uninitialised: zeroing them cost every run, however short its input, three mebibytes
    // of pages that a read fills anyway.
    for (auto& piece : state_->pieces) piece.reset(new char[kPiece]);
    thread_ = std::thread([state = state_, &streams] { ReadAll(state, streams); });
}

ReadAhead::~ReadAhead() {
    std::unique_lock<std::mutex> lock(state_->mutex);
    state_->stopping = true;
    const bool reading = state_->reading;
    lock.unlock();
    state_->changed.notify_all();
    // The thread holds the state it needs; once its read ends it sees that it is stopped.
    if (reading) {
        thread_.detach();
    } else {
        thread_.join();
    }
}

std::ptrdiff_t ReadAhead::Next(const char*& bytes, std::u16string& reason) {
    std::unique_lock<std::mutex> lock(state_->mutex);
    State& state = *state_;
    if (state.held) {
        state.first = (state.first + 1) % State::kPieces;
        --state.filled;
        state.held = false;
        state.changed.notify_all();
    }
    state.changed.wait(lock, [&state] { return state.filled > 0; });
    state.held = true;
    bytes = state.pieces[state.first].get();
    const std::ptrdiff_t count = state.counts[state.first];
    if (count < 0) reason = state.reasons[state.first];
    return count;
}

void ReadAhead::ReadAll(const std::shared_ptr<State>& shared, ConvertStreams& streams) {
    State& state = *shared;
    std::unique_lock<std::mutex> lock(state.mutex);
    for (;;) {
        state.changed.wait(lock,
                           [&state] { return state.stopping || state.filled < State::kPieces; });
        if (state.stopping) return;
        const std::size_t slot = (state.first + state.filled) % State::kPieces;
        state.reading = true;
        lock.unlock();
        std::u16string reason;
        const std::ptrdiff_t count = streams.Read(state.pieces[slot].get(), kPiece, reason);
        lock.lock();
        state.reading = false;
        if (state.stopping) return;
        state.counts[slot] = count;
        state.reasons[slot] = std::move(reason);
        ++state.filled;
        state.changed.notify_all();
        if (count <= 0) {
            state.ended = true;
            return;
        }
    }
}
