#pragma once

#include "platform/ui/CGContext.h"

// The current graphics context: the top of a stack that drawing code pushes and pops.
// Views draw into it from drawRect; null when nothing is being drawn.
CGContextRef UIGraphicsGetCurrentContext();
void UIGraphicsPushContext(CGContextRef context);
void UIGraphicsPopContext();

// An offscreen bitmap that becomes the current context until it is ended.
void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, double scale);
void UIGraphicsBeginImageContext(CGSize size);
// The pixels of the innermost image context begun; null when none was begun.
UIImagePtr UIGraphicsGetImageFromCurrentImageContext();
void UIGraphicsEndImageContext();
