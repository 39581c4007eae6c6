// "Multiplex map..." of the main window's Config menu.

#include "model/app_paths.h"
#include "ui/app_state.h"
#include "ui/kv2208_conf.h"
#include "ui/mux_map.h"

#include <QAction>

namespace kv::ui {

// The map has something to show while the store holds services or ghost
// entries; the item follows that each time the menu opens.
void Tfrm_CfgMux::mn_ConfigPopup() {
    const ConfigStore& store = app_.Store;
    mn_MuxMap->setEnabled(store.Svc.SvcCount > 0 || store.Ghost.GhostCount > 0);
}

// A fresh window each time, so it shows the store as it is now.
void Tfrm_CfgMux::mn_MuxMapClick() {
    Tfrm_MuxMap map(app_.Store, ConfigFolder(app_.AppFolder), this);
    map.exec();
}

} // namespace kv::ui
