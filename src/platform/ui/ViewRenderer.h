#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/UIImage.h"
#include "platform/ui/UIView.h"

// Draws a view and its visible subviews into a bitmap, so that tests and hosts can see them:
// background colours (rounded by the layer's corner radius), each view's drawRect with the
// context current, images of image views, one line of label and text field text, and layer borders.
// Hidden views are skipped; alpha fades a view with its subviews; clipsToBounds clips.
class ViewRenderer {
  public:
    // An image of size points at a scale; the view's bounds origin is the image's top left.
    static UIImagePtr renderView(UIView& view, CGSize size, double scale = 1);
    // The same image as PNG bytes.
    static std::vector<std::uint8_t> renderViewToPNG(UIView& view, CGSize size, double scale = 1);

  private:
    static void drawView(UIView& view);
    static void drawContent(UIView& view);
    static void drawSubviews(UIView& view);
};
