#pragma once
// The PAT, the PMTs and the SDT (actual) of a capture, gathered by libdvbpsi
// from the packets pushed into it: sections spanning packets, tables of
// several sections and version changes are its business. The last complete
// version of each table is kept, and how many versions went by.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/capture.h"

// libdvbpsi's handle and tables, named here without its headers.
struct dvbpsi_s;
struct dvbpsi_pat_s;
struct dvbpsi_pmt_s;
struct dvbpsi_sdt_s;

namespace kv {

class PsiTables {
  public:
    PsiTables();
    ~PsiTables();
    PsiTables(const PsiTables&) = delete;
    PsiTables& operator=(const PsiTables&) = delete;

    // A 188-byte packet on `pid` (without transport errors). True when the
    // packet belongs to a table this reader follows.
    bool Push(int pid, uint8_t* packet) { return follows_[pid] && PushTable(pid, packet); }

    // The PAT, every PMT it names and the SDT are complete.
    bool Complete() const;
    bool HavePat() const { return patVersions_ > 0; }
    bool HaveSdt() const { return sdtVersions_ > 0; }
    bool HavePmts() const;

    // The services of the last PAT with their PMTs and SDT entries; notes
    // on versions taken and tables missing appended to `notes`.
    std::vector<CaptureService> Services(std::vector<std::string>& notes) const;
    std::optional<int> TsId() const;

    struct Pmt;
    struct SdtEntry;
    struct PmtDecoder;

  private:
    bool PushTable(int pid, uint8_t* packet);
    static void OnPat(void* self, ::dvbpsi_pat_s* pat);
    static void OnPmt(void* decoder, ::dvbpsi_pmt_s* pmt);
    static void OnSdtSubtable(::dvbpsi_s* handle, uint8_t tableId, uint16_t extension, void* self);
    static void OnSdt(void* self, ::dvbpsi_sdt_s* sdt);

    ::dvbpsi_s* pat_ = nullptr;
    ::dvbpsi_s* sdt_ = nullptr;
    std::vector<std::unique_ptr<PmtDecoder>> pmtDecoders_;
    std::map<int, std::vector<PmtDecoder*>> pmtByPid_;
    std::array<bool, 8192> follows_{}; // the PAT's, the SDT's and every PMT's PID

    int patVersions_ = 0, patVersion_ = 0, tsId_ = 0;
    std::vector<std::pair<int, int>> programs_; // (program_number, PMT PID) of the last PAT
    int sdtVersions_ = 0, sdtVersion_ = 0;
    std::map<int, CaptureService> sdtServices_; // by service_id: name, provider, EIT flags
};

} // namespace kv
