#pragma once

#include "store/HBUndoHistory.h"

// Takes the undo history's next step back or forward as the user asked: at once, or, when
// another program changed a value of the step since, only after an alert asked whether to
// overwrite it.
class HBUndoPrompt {
  public:
    // False when there is no step to take, or the alert could not be shown.
    static bool take(HBUndoHistory::Direction direction,
                     HBUndoHistory& history = HBUndoHistory::shared());
};
