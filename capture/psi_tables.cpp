#include "capture/psi_tables.h"

#include "capture/capture_streams.h"

#include <algorithm>

extern "C" {
#include <dvbpsi/dvbpsi.h>
// The table headers use these types without including their headers.
#include <dvbpsi/demux.h>
#include <dvbpsi/descriptor.h>
#include <dvbpsi/dr_0a.h>
#include <dvbpsi/dr_48.h>
#include <dvbpsi/dr_59.h>
#include <dvbpsi/pat.h>
#include <dvbpsi/pmt.h>
#include <dvbpsi/psi.h>
#include <dvbpsi/sdt.h>
}

namespace kv {

inline constexpr int PatPidValue = 0x0000;
inline constexpr int SdtPidValue = 0x0011;
inline constexpr uint8_t SdtActualTableId = 0x42;
inline constexpr uint8_t Ac3DescriptorTag = 0x6A;
inline constexpr uint8_t Iso639DescriptorTag = 0x0A;
inline constexpr uint8_t ServiceDescriptorTag = 0x48;
inline constexpr uint8_t SubtitlingDescriptorTag = 0x59;

// One program's PMT as last completed, and how many versions went by.
struct PsiTables::PmtDecoder {
    PsiTables* Owner = nullptr;
    int Pid = 0;
    int Number = 0;
    dvbpsi_t* Handle = nullptr;
    int Versions = 0, Version = 0;
    int PcrPid = 0x1FFF;
    std::vector<CaptureStream> Streams;
};

namespace {

void Quiet(dvbpsi_t*, const dvbpsi_msg_level_t, const char*) {}

dvbpsi_t* NewHandle() {
    return dvbpsi_new(&Quiet, DVBPSI_MSG_NONE);
}

// Text of a name field as the descriptor holds it; characters outside
// printable ASCII (a character-table byte, control codes) are left out.
std::string NameText(const uint8_t* bytes, int length) {
    std::string text;
    for (int k = 0; k < length; ++k)
        if (bytes[k] >= 0x20 && bytes[k] < 0x7F) text += static_cast<char>(bytes[k]);
    return text;
}

std::string LanguageText(const uint8_t* code) {
    return NameText(code, 3);
}

CaptureStream StreamOf(const dvbpsi_pmt_es_t* es) {
    CaptureStream s;
    s.Pid = es->i_pid;
    s.StreamType = es->i_type;
    for (dvbpsi_descriptor_t* d = es->p_first_descriptor; d; d = d->p_next) {
        switch (d->i_tag) {
        case Ac3DescriptorTag:
            s.Ac3Descriptor = true;
            break;
        case Iso639DescriptorTag:
            if (const auto* lang = dvbpsi_DecodeISO639Dr(d);
                lang && lang->i_code_count > 0 && s.Language.empty())
                s.Language = LanguageText(lang->code[0].iso_639_code);
            break;
        case SubtitlingDescriptorTag:
            if (const auto* sub = dvbpsi_DecodeSubtitlingDr(d)) {
                s.Subtitling = true;
                if (sub->i_subtitles_number > 0) {
                    s.SubtitleLanguage = LanguageText(sub->p_subtitle[0].i_iso6392_language_code);
                    s.SubtitlingType = sub->p_subtitle[0].i_subtitling_type;
                }
            }
            break;
        default:
            break;
        }
    }
    if (s.Language.empty()) s.Language = s.SubtitleLanguage;
    return s;
}

// "The PAT changed during the capture (3 versions); the last complete one,
// version 5, is taken."
void NoteVersions(std::vector<std::string>& notes, const std::string& table, int versions, int version) {
    if (versions > 1)
        notes.push_back("The " + table + " changed during the capture (" + std::to_string(versions) +
                        " versions); the last complete one, version " + std::to_string(version) +
                        ", is taken.");
}

} // namespace

PsiTables::PsiTables() {
    follows_[PatPidValue] = follows_[SdtPidValue] = true;
    pat_ = NewHandle();
    if (pat_ && !dvbpsi_pat_attach(pat_, &PsiTables::OnPat, this)) {
        dvbpsi_delete(pat_);
        pat_ = nullptr;
    }
    sdt_ = NewHandle();
    if (sdt_ && !dvbpsi_AttachDemux(sdt_, &PsiTables::OnSdtSubtable, this)) {
        dvbpsi_delete(sdt_);
        sdt_ = nullptr;
    }
}

PsiTables::~PsiTables() {
    for (auto& decoder : pmtDecoders_) {
        dvbpsi_pmt_detach(decoder->Handle);
        dvbpsi_delete(decoder->Handle);
    }
    if (sdt_) {
        dvbpsi_DetachDemux(sdt_);
        dvbpsi_delete(sdt_);
    }
    if (pat_) {
        dvbpsi_pat_detach(pat_);
        dvbpsi_delete(pat_);
    }
}

void PsiTables::OnPat(void* data, dvbpsi_pat_t* pat) {
    auto* self = static_cast<PsiTables*>(data);
    if (pat->b_current_next) {
        ++self->patVersions_;
        self->patVersion_ = pat->i_version;
        self->tsId_ = pat->i_ts_id;
        self->programs_.clear();
        for (const dvbpsi_pat_program_t* p = pat->p_first_program; p; p = p->p_next) {
            if (p->i_number == 0) continue; // the network PID
            self->programs_.emplace_back(p->i_number, p->i_pid);
            auto& onPid = self->pmtByPid_[p->i_pid];
            const bool known = std::any_of(onPid.begin(), onPid.end(),
                                           [&](const PmtDecoder* d) { return d->Number == p->i_number; });
            if (known) continue;
            auto decoder = std::make_unique<PmtDecoder>();
            decoder->Owner = self;
            decoder->Pid = p->i_pid;
            decoder->Number = p->i_number;
            decoder->Handle = NewHandle();
            if (!decoder->Handle) continue;
            if (!dvbpsi_pmt_attach(decoder->Handle, p->i_number, &PsiTables::OnPmt, decoder.get())) {
                dvbpsi_delete(decoder->Handle);
                continue;
            }
            onPid.push_back(decoder.get());
            self->follows_[p->i_pid] = true;
            self->pmtDecoders_.push_back(std::move(decoder));
        }
    }
    dvbpsi_pat_delete(pat);
}

void PsiTables::OnPmt(void* data, dvbpsi_pmt_t* pmt) {
    auto* decoder = static_cast<PmtDecoder*>(data);
    if (pmt->b_current_next) {
        ++decoder->Versions;
        decoder->Version = pmt->i_version;
        decoder->PcrPid = pmt->i_pcr_pid;
        decoder->Streams.clear();
        for (const dvbpsi_pmt_es_t* es = pmt->p_first_es; es; es = es->p_next)
            decoder->Streams.push_back(StreamOf(es));
    }
    dvbpsi_pmt_delete(pmt);
}

void PsiTables::OnSdtSubtable(dvbpsi_t* handle, uint8_t tableId, uint16_t extension, void* self) {
    if (tableId == SdtActualTableId) dvbpsi_sdt_attach(handle, tableId, extension, &PsiTables::OnSdt, self);
}

void PsiTables::OnSdt(void* data, dvbpsi_sdt_t* sdt) {
    auto* self = static_cast<PsiTables*>(data);
    if (sdt->b_current_next) {
        ++self->sdtVersions_;
        self->sdtVersion_ = sdt->i_version;
        self->sdtServices_.clear();
        for (const dvbpsi_sdt_service_t* s = sdt->p_first_service; s; s = s->p_next) {
            CaptureService& entry = self->sdtServices_[s->i_service_id];
            entry.EitPresent = s->b_eit_present;
            entry.EitSchedule = s->b_eit_schedule;
            for (dvbpsi_descriptor_t* d = s->p_first_descriptor; d; d = d->p_next) {
                if (d->i_tag != ServiceDescriptorTag) continue;
                if (const auto* service = dvbpsi_DecodeServiceDr(d)) {
                    entry.Name = NameText(service->i_service_name, service->i_service_name_length);
                    entry.Provider =
                        NameText(service->i_service_provider_name, service->i_service_provider_name_length);
                }
            }
        }
    }
    dvbpsi_sdt_delete(sdt);
}

bool PsiTables::PushTable(int pid, uint8_t* packet) {
    if (pid == PatPidValue) {
        if (pat_) dvbpsi_packet_push(pat_, packet);
        return true;
    }
    if (pid == SdtPidValue) {
        if (sdt_) dvbpsi_packet_push(sdt_, packet);
        return true;
    }
    const auto found = pmtByPid_.find(pid);
    if (found == pmtByPid_.end()) return false;
    // A copy per decoder: a decoder may attach new ones while this runs.
    const std::vector<PmtDecoder*> decoders = found->second;
    for (PmtDecoder* decoder : decoders) dvbpsi_packet_push(decoder->Handle, packet);
    return true;
}

bool PsiTables::HavePmts() const {
    for (const auto& [number, pid] : programs_) {
        const auto found = pmtByPid_.find(pid);
        if (found == pmtByPid_.end()) return false;
        const bool done =
            std::any_of(found->second.begin(), found->second.end(),
                        [n = number](const PmtDecoder* d) { return d->Number == n && d->Versions > 0; });
        if (!done) return false;
    }
    return true;
}

bool PsiTables::Complete() const {
    return HavePat() && HaveSdt() && HavePmts();
}

std::optional<int> PsiTables::TsId() const {
    if (!HavePat()) return std::nullopt;
    return tsId_;
}

std::vector<CaptureService> PsiTables::Services(std::vector<std::string>& notes) const {
    std::vector<CaptureService> services;
    if (!HavePat()) notes.push_back("No PAT in the capture: its PIDs are listed without services.");
    NoteVersions(notes, "PAT", patVersions_, patVersion_);
    if (HavePat() && !HaveSdt()) notes.push_back("No SDT in the capture: the services have no names.");
    NoteVersions(notes, "SDT", sdtVersions_, sdtVersion_);
    for (const auto& [number, pid] : programs_) {
        CaptureService service;
        service.ServiceId = number;
        service.PmtPid = pid;
        if (const auto sdt = sdtServices_.find(number); sdt != sdtServices_.end()) {
            service.Name = sdt->second.Name;
            service.Provider = sdt->second.Provider;
            service.EitPresent = sdt->second.EitPresent;
            service.EitSchedule = sdt->second.EitSchedule;
        }
        const PmtDecoder* pmt = nullptr;
        if (const auto onPid = pmtByPid_.find(pid); onPid != pmtByPid_.end())
            for (const PmtDecoder* d : onPid->second)
                if (d->Number == number && d->Versions > 0) pmt = d;
        if (pmt) {
            service.PmtFound = true;
            service.PcrPid = pmt->PcrPid;
            service.Streams = pmt->Streams;
            NoteVersions(notes, "PMT of service " + std::to_string(number), pmt->Versions, pmt->Version);
        } else {
            notes.push_back("No complete PMT of service " + std::to_string(number) + " on PID " +
                            CapturePidText(pid) + ".");
        }
        services.push_back(std::move(service));
    }
    return services;
}

} // namespace kv
