#include "color/HBFixedGradientView.h"

void HBFixedGradientView::drawRect(CGRect) {
    HBGradientView::paint(gradients_, bounds().size);
}
