#include "platform/ui/UIGraphics.h"

#include <memory>
#include <vector>

namespace {

std::vector<CGContextRef>& contextStack() {
    thread_local std::vector<CGContextRef> stack;
    return stack;
}

std::vector<std::unique_ptr<CGContext>>& imageContexts() {
    thread_local std::vector<std::unique_ptr<CGContext>> contexts;
    return contexts;
}

}  // namespace

CGContextRef UIGraphicsGetCurrentContext() {
    return contextStack().empty() ? nullptr : contextStack().back();
}

void UIGraphicsPushContext(CGContextRef context) {
    contextStack().push_back(context);
}

void UIGraphicsPopContext() {
    if (!contextStack().empty()) {
        contextStack().pop_back();
    }
}

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, double scale) {
    auto context = CGContext::createBitmap(size, scale);
    if (opaque) {
        CGContextSetFillColorWithColor(context.get(), UIColor::whiteColor());
        CGContextFillRect(context.get(), CGRect{{0, 0}, size});
        CGContextSetFillColorWithColor(context.get(), UIColor::blackColor());
    }
    UIGraphicsPushContext(context.get());
    imageContexts().push_back(std::move(context));
}

void UIGraphicsBeginImageContext(CGSize size) {
    UIGraphicsBeginImageContextWithOptions(size, false, 1);
}

UIImagePtr UIGraphicsGetImageFromCurrentImageContext() {
    return imageContexts().empty() ? nullptr : imageContexts().back()->makeImage();
}

// Pops the context stack down past the image context, so that a context pushed inside it
// and never popped does not outlive it.
void UIGraphicsEndImageContext() {
    if (imageContexts().empty()) {
        return;
    }
    CGContextRef image = imageContexts().back().get();
    auto& stack = contextStack();
    while (!stack.empty()) {
        CGContextRef top = stack.back();
        stack.pop_back();
        if (top == image) {
            break;
        }
    }
    imageContexts().pop_back();
}
