#pragma once
// The pictures scripts/screenshots takes: one named shot per window.

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "screenshots/screenshot_stage.h"

namespace kv::shots {

struct Shot {
    const char* File; // the picture's file name in the output folder
    // Builds the window over the stage, fills and shows it as the picture wants it.
    std::function<std::unique_ptr<QWidget>(Stage&)> Open;
};

const std::vector<Shot>& Shots();

} // namespace kv::shots
