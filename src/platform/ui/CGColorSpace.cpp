#include "platform/ui/CGColorSpace.h"

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() {
    static const CGColorSpaceRef space =
        std::make_shared<const CGColorSpace>(CGColorSpace::Model::DeviceRGB);
    return space;
}
