#include "ui/app_state.h"

#include "model/app_paths.h"

namespace kv::ui {

AppState& App() {
    static AppState state;
    return state;
}

void SetAppFolder(const std::string& appFolder) {
    AppState& app = App();
    app.AppFolder = appFolder;
    app.ImageFile = ImageFilePath(appFolder);
    app.ReadBackFile = ReadBackFilePath(appFolder);
    app.PortFile = PortFilePath(appFolder);
}

} // namespace kv::ui
