#include "ui/app_state.h"

#include "model/app_paths.h"

namespace kv::ui {

void AppState::SetAppFolder(const std::string& appFolder) {
    AppFolder = appFolder;
    ImageFile = ImageFilePath(appFolder);
    ReadBackFile = ReadBackFilePath(appFolder);
    PortFile = PortFilePath(appFolder);
}

} // namespace kv::ui
