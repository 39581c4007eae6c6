#pragma once
// The picture of the multiplex map: the eight inputs, each with its pair
// count against 44 as a bar, the services and ghost entries it feeds and the
// output PIDs they go to. Output PIDs with an error are drawn in red.

#include <QImage>

#include "model/config_store.h"
#include "ops/multiplex_check.h"

namespace kv::ui {

QImage DrawMuxMap(const ConfigStore& store, const MultiplexReport& report);

// "1 error, 2 warnings": the findings counted, as the picture and the window show them.
QString FindingsCountText(const MultiplexReport& report);

} // namespace kv::ui
