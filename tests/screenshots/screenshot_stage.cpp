#include "screenshots/screenshot_stage.h"

#include <stdlib.h>

#include <QTest>
#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "link/device_simulator.h"
#include "ops/bit_rate_entry.h"
#include "ops/service_entry.h"
#include "ui/app_state.h"
#include "ui/port_file.h"

namespace kv::shots {

Stage::Stage() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kv-shots-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch folder");
    folder_ = pattern + "/";
    std::filesystem::create_directory(folder_ + "Config");
    app_.SetAppFolder(folder_);
}

Stage::~Stage() {
    app_.Channel.reset();
    simulator_.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

void Stage::FillServices(const std::vector<std::string>& names) {
    ConfigStore& store = app_.Store;
    for (const std::string& name : names) {
        const int i = store.Svc.SvcCount;
        const int pmt = 256 + 16 * i;
        ServiceEntry e;
        e.Name = name;
        e.Input = 1 + i % InputCount;
        e.ServiceId = std::to_string(1 + i);
        e.PmtPid = std::to_string(pmt);
        e.PcrIn = e.PcrOut = e.VideoIn = e.VideoOut = std::to_string(pmt + 1);
        e.AudioIn[0] = e.AudioOut[0] = std::to_string(pmt + 2);
        const EntryCheck check = CheckServiceEntry(store, e, i, std::nullopt);
        if (check.Refusal != EntryRefusal::None) throw std::runtime_error(RefusalMessage(check.Refusal));
        StoreServiceEntry(store.Svc, e, Radix::Decimal, check.Slot, "BRIMCO NET");
    }
    if (ApplyBitRateEntry(store, "38000000", true).outcome != BitRateEntry::Outcome::Applied)
        throw std::runtime_error("the sample rate was refused");
}

void Stage::FillGhosts(int count) {
    GhostBlock& ghosts = app_.Store.Ghost;
    count = std::clamp(count, 0, MaxGhosts);
    for (int j = 0; j < count; ++j) {
        ghosts.GhostInput[j] = static_cast<int16_t>(5 + j % 2);
        ghosts.GhostPidIn[j] = static_cast<int16_t>(0x100 + j);
        ghosts.GhostPidOut[j] = static_cast<int16_t>(0x200 + j);
    }
    ghosts.GhostCount = static_cast<int16_t>(count);
}

void Stage::StartSimulator() {
    simulator_ = std::make_unique<DeviceSimulator>();
    std::string error;
    if (!simulator_->Start(&error) || !simulator_->LinkAsPort(folder_, 1, &error))
        throw std::runtime_error("the simulated multiplexer did not start: " + error);
    if (!ui::WritePortFile(app_.PortFile, 1)) throw std::runtime_error("cannot write the port file");
}

void ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowExposed(&window) || !QTest::qWaitForWindowActive(&window))
        throw std::runtime_error("the window was not shown");
}

} // namespace kv::shots
