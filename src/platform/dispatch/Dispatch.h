#pragma once

#include <cstdint>
#include <functional>
#include <mutex>

// The parts of the dispatch library the pane uses: the main queue, delayed tasks on it and a
// once-only guard. The main queue runs on RunLoop::main().

using dispatch_block_t = std::function<void()>;

struct dispatch_queue_s;
using dispatch_queue_t = dispatch_queue_s*;

// Times are nanoseconds on the main run loop's clock.
using dispatch_time_t = std::uint64_t;
inline constexpr dispatch_time_t DISPATCH_TIME_NOW = 0;
inline constexpr dispatch_time_t DISPATCH_TIME_FOREVER = ~dispatch_time_t{0};
inline constexpr std::int64_t NSEC_PER_SEC = 1000000000;
inline constexpr std::int64_t NSEC_PER_MSEC = 1000000;

dispatch_queue_t dispatch_get_main_queue();

// `when` plus `delta` nanoseconds; DISPATCH_TIME_NOW stands for the loop's current time.
dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t delta);

// Safe from any thread: the block runs later on the main run loop.
void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
// Runs the block on the main run loop once its time has come; FOREVER never runs it.
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);

// A once-only guard: the first caller runs the block, concurrent callers wait for it to end,
// later callers do nothing. Keep the token in static storage.
struct dispatch_once_t {
    // Takes the platform's "= 0" initialiser as well.
    constexpr dispatch_once_t(long = 0) noexcept {}
    std::once_flag flag;
};
void dispatch_once(dispatch_once_t* token, const dispatch_block_t& block);
