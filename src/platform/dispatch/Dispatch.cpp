#include "platform/dispatch/Dispatch.h"

#include <limits>

#include "platform/dispatch/RunLoop.h"

struct dispatch_queue_s {};

namespace {

dispatch_time_t fromLoopTime(RunLoop::Nanoseconds time) {
    // Zero stands for "now", so a real moment never takes that value.
    return time <= 0 ? 1 : dispatch_time_t(time);
}

}  // namespace

dispatch_queue_t dispatch_get_main_queue() {
    static dispatch_queue_s mainQueue;
    return &mainQueue;
}

dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t delta) {
    if (when == DISPATCH_TIME_FOREVER) {
        return DISPATCH_TIME_FOREVER;
    }
    RunLoop::Nanoseconds base =
        when == DISPATCH_TIME_NOW ? RunLoop::main().now() : RunLoop::Nanoseconds(when);
    if (delta > 0 && base > std::numeric_limits<RunLoop::Nanoseconds>::max() - delta) {
        return DISPATCH_TIME_FOREVER;
    }
    return fromLoopTime(base + delta);
}

void dispatch_async(dispatch_queue_t queue, dispatch_block_t block) {
    if (queue) {
        RunLoop::main().post(std::move(block));
    }
}

void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block) {
    if (!queue || when == DISPATCH_TIME_FOREVER) {
        return;
    }
    RunLoop& loop = RunLoop::main();
    RunLoop::Nanoseconds due = when == DISPATCH_TIME_NOW ? loop.now() : RunLoop::Nanoseconds(when);
    loop.schedule(due, std::move(block));
}

void dispatch_once(dispatch_once_t* token, const dispatch_block_t& block) {
    if (token && block) {
        std::call_once(token->flag, block);
    }
}
