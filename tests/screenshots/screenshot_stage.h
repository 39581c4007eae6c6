#pragma once
// What the pictures of the windows are taken on: a scratch program folder the
// window program's state points at, sample services and ghost entries in its
// store, and a simulated multiplexer on COM1. Every step that fails throws
// std::runtime_error with the reason.

#include <QString>
#include <QWidget>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/app_state.h"

namespace kv {
class DeviceSimulator;
}

namespace kv::shots {

class Stage {
  public:
    Stage();  // a fresh scratch folder and an all-zero store
    ~Stage(); // stops the simulator and removes the folder
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    const std::string& Folder() const { return folder_; }
    // The window program's state the pictured windows are handed.
    ui::AppState& App() { return app_; }

    // `names` as services on inputs 1, 2, ..., each with PMT, PCR, video and
    // one audio stream, stored as the service editor's "Ok" stores them; the
    // network name "BRIMCO NET" and a rate of 38 000 000 bit/s.
    void FillServices(const std::vector<std::string>& names);
    // `count` ghost entries on inputs 5 and 6.
    void FillGhosts(int count);
    // A simulated multiplexer reachable as COM1, the port file naming it.
    void StartSimulator();

  private:
    ui::AppState app_;
    std::string folder_;
    std::unique_ptr<DeviceSimulator> simulator_;
};

// Shows the window, makes it the active one and waits until it is drawn.
void ShowActive(QWidget& window);

// The child of `window` named `name`, or std::runtime_error.
template <typename T> T* Child(const QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    if (!child) throw std::runtime_error(std::string("no control named ") + name);
    return child;
}

} // namespace kv::shots
