#pragma once

#include <memory>

// A colour space. Only device RGB exists here; gradients and contexts work in it.
class CGColorSpace {
  public:
    enum class Model { DeviceRGB };
    explicit CGColorSpace(Model model) : model_(model) {}
    Model model() const { return model_; }
    std::size_t numberOfComponents() const { return 3; }

  private:
    Model model_;
};

// Shared handles, released with their last holder.
using CGColorSpaceRef = std::shared_ptr<const CGColorSpace>;

CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
