#include "store/HBBackgroundSave.h"

#include <utility>

#include "platform/dispatch/Dispatch.h"

HBBackgroundSave::~HBBackgroundSave() {
    finish();
}

void HBBackgroundSave::start(Write write, Held held, std::function<void()> done) {
    _outcome = std::async(std::launch::async, [write = std::move(write), held = std::move(held),
                                               done = std::move(done)]() mutable {
        Outcome outcome{write.path, AtomicFile::write(write.path, write.pieces, write.options),
                        std::nullopt, std::move(held)};
        // Taken while the lock is held, so that no other writer's file is taken for ours.
        if (outcome.status) {
            outcome.version = FileVersion::written(write.path, write.pieces);
        }
        write.lock.reset();
        dispatch_async(dispatch_get_main_queue(), std::move(done));
        return outcome;
    });
}

std::optional<HBBackgroundSave::Outcome> HBBackgroundSave::finish() {
    if (!_outcome.valid()) {
        return std::nullopt;
    }
    return _outcome.get();
}
