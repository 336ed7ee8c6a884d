// The batches of a source's lines and the helper thread that converts them with the caller's:
// each batch's groups taken by whichever thread is free, and their rows and messages delivered in
// the order of the lines.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "CsvConverter.h"
#include "StarRows.h"

namespace {

// The page's build runs on the browser's one thread.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
constexpr bool kThreads = false;
#else
constexpr bool kThreads = true;
#endif

}  // namespace

CsvConverter::~CsvConverter() = default;

// A batch that two threads convert at once: each takes the next group of lines that is left,
// and the rows keep the batch's order.
struct CsvConverter::Converting {
    static constexpr std::size_t kGroup = 256;

    // Takes the lines to convert, and gives back the storage of those before, for new lines to
    // go into: memory that is used again needs no new pages from the system.
    Batch Take(Batch lines) {
        std::swap(batch, lines);
        rows.resize((batch.lines.size() + kGroup - 1) / kGroup);
        next = 0;
        lines.text.clear();
        lines.bytes.clear();
        lines.lines.clear();
        lines.notes.clear();
        return lines;
    }

    void Work() {
        for (std::size_t group = next++; group < rows.size(); group = next++) {
            Rows(batch, group * kGroup, std::min((group + 1) * kGroup, batch.lines.size()),
                 rows[group]);
        }
    }

    Batch batch;
    std::vector<GroupRows> rows;  // a group's each
    std::atomic<std::size_t> next{0};
};

// A thread that helps with each batch, from the first to the converter's end: one thread for
// all of them, not one for each.
class CsvConverter::Helper {
public:
    Helper() : thread_([this] { Run(); }) {}
    ~Helper() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;

    void Start(std::shared_ptr<Converting> work) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            work_ = std::move(work);
            taken_ = false;
        }
        wake_.notify_one();
    }
    // Once the caller has done what was left: work that the thread has not begun is taken back,
    // and work it has begun is waited for. What it threw is thrown here.
    void Finish() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!taken_) work_.reset();
        done_.wait(lock, [this] { return !work_; });
        if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || (work_ && !taken_); });
            if (stopping_) return;
            taken_ = true;
            const std::shared_ptr<Converting> work = work_;
            lock.unlock();
            try {
                work->Work();
            } catch (...) {
                lock.lock();
                failure_ = std::current_exception();
                lock.unlock();
            }
            lock.lock();
            work_.reset();
            done_.notify_one();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::shared_ptr<Converting> work_;  // until it is done
    bool taken_ = false;                // the thread has begun the work
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;  // last: it starts once the rest is there
};

void CsvConverter::WriteRows() {
    const std::shared_ptr<Converting> before = FinishConverting();
    converting_ = spare_ ? std::move(spare_) : std::make_shared<Converting>();
    Batch storage = converting_->Take(std::move(batch_));
    const Batch& sent = converting_->batch;
    batch_ = Batch{sent.quotedName,
                   sent.name,
                   sent.form,
                   sent.table,
                   sent.texts,
                   sent.selection,
                   std::move(storage.text),
                   std::move(storage.bytes),
                   std::move(storage.lines),
                   std::move(storage.notes)};
    // Room for a batch and the line that ends it, so that decoding never moves the text.
    batch_.text.reserve(kUnitsAtOnce + 4096);
    batch_.bytes.reserve(kUnitsAtOnce);
    // Another thread starts on it while this one writes the rows before and decodes the next
    // lines, then helps.
    if (kThreads && std::thread::hardware_concurrency() > 1) {
        if (!helper_) helper_ = std::make_shared<Helper>();
        helper_->Start(converting_);
    }
    if (before) {
        Deliver(*before);
        spare_ = before;
    }
}

void CsvConverter::CollectRows() {
    if (const std::shared_ptr<Converting> before = FinishConverting()) {
        Deliver(*before);
        spare_ = before;
    }
}

std::shared_ptr<CsvConverter::Converting> CsvConverter::FinishConverting() {
    if (!converting_) return nullptr;
    converting_->Work();
    if (helper_) helper_->Finish();
    return std::move(converting_);
}

void CsvConverter::Deliver(const Converting& converted) {
    // The rows' messages and the reading's notes, merged by line.
    const std::vector<Message>& notes = converted.batch.notes;
    auto note = notes.begin();
    const auto notesUpTo = [&](std::uint64_t line) {
        for (; note != notes.end() && note->line <= line; ++note) report_(note->text);
    };
    for (const GroupRows& group : converted.rows) {
        for (const Message& message : group.messages) {
            notesUpTo(message.line);
            report_(message.text);
        }
        if (group.invalid) inputFailed_ = true;
        stars_ += group.stars;
        lacking_ += group.lacking;
        tagFound_ = tagFound_ || group.tagFound;
        read_ += group.stars;
        positioned_ += group.positioned;
        if (options_.listsInto) {
            const std::string_view labels = group.labels;
            for (const ListedVariable& variable : group.listed) {
                options_.listsInto->Add(
                    variable.position,
                    labels.substr(variable.begin, variable.end - variable.begin));
            }
        }
        if (options_.selection.field) {
            // Held until every source is read, when they are sorted.
            const std::string_view text = group.rows.View();
            for (std::size_t i = 0; i < group.held.size(); ++i) {
                const HeldRow& row = group.held[i];
                held_.push_back({row.key, heldText_.size() + row.begin, heldText_.size() + row.end,
                                 fieldStars_.size()});
                fieldStars_.push_back(group.fieldStars[i]);
            }
            heldText_.append(text.substr(0, group.held.empty() ? 0 : group.held.back().end));
        } else {
            Emit(group.rows.View());
        }
    }
    notesUpTo(kAfterLines);
}

void CsvConverter::Emit(std::string_view text) {
    if (!outputFailed_ && !text.empty() && !write_(text)) outputFailed_ = true;
}
