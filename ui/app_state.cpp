#include "ui/app_state.h"

#include "model/app_paths.h"
#include "ops/table_version.h"

namespace kv::ui {

void AppState::SetAppFolder(const std::string& appFolder) {
    AppFolder = appFolder;
    ImageFile = ImageFilePath(appFolder);
    ReadBackFile = ReadBackFilePath(appFolder);
    PortFile = PortFilePath(appFolder);
    // The tables' version goes on from the image last sent or read back here.
    PatVersion = PatVersionToGoOnFrom({AppFolder, ImageFile, ReadBackFile});
}

} // namespace kv::ui
