#include "cli/show_sections.h"

#include <cstdio>
#include <string>

#include "tables/crc32.h"
#include "tables/section_io.h"
#include "tables/ts_packet.h"

namespace kv::cli {
namespace {

using nlohmann::json;

std::string HexByte(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value & 0xFFu);
    return text;
}

std::string Chars(const SectionReader& r, std::size_t at, std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        const auto ch = static_cast<char>(r.u8(at + i));
        if (ch == '\0') break;
        text += ch;
    }
    return text;
}

// The descriptors of a loop from `at` to `end`, the known ones decoded.
json Descriptors(const SectionReader& r, std::size_t at, std::size_t end) {
    json list = json::array();
    while (at + 2 <= end) {
        const unsigned tag = r.u8(at);
        const std::size_t length = r.u8(at + 1);
        const std::size_t body = at + 2;
        json d = {{"descriptor_tag", HexByte(tag)}, {"descriptor_length", length}};
        switch (tag) {
        case 0x0A:
            d["ISO_639_language_code"] = Chars(r, body, 3);
            d["audio_type"] = HexByte(r.u8(body + 3));
            break;
        case 0x40:
            d["network_name"] = Chars(r, body, length);
            break;
        case 0x48: {
            const std::size_t providerLength = r.u8(body + 1);
            d["service_type"] = HexByte(r.u8(body));
            d["service_provider_name"] = Chars(r, body + 2, providerLength);
            d["service_name"] = Chars(r, body + 3 + providerLength, r.u8(body + 2 + providerLength));
            break;
        }
        case 0x52:
            d["component_tag"] = HexByte(r.u8(body));
            break;
        case 0x59:
            d["ISO_639_language_code"] = Chars(r, body, 3);
            d["subtitling_type"] = HexByte(r.u8(body + 3));
            d["composition_page_id"] = r.u16(body + 4);
            d["ancillary_page_id"] = r.u16(body + 6);
            break;
        case 0x6A:
            d["flags"] = HexByte(r.u8(body));
            d["component_type"] = HexByte(r.u8(body + 1));
            break;
        default:
            break;
        }
        list.push_back(d);
        at = body + length;
    }
    return list;
}

json PatFields(const SectionReader& r, std::size_t end) {
    json programs = json::array();
    for (std::size_t at = 8; at + 4 <= end; at += 4)
        programs.push_back({{"program_number", r.u16(at)}, {"PID", r.pid(at + 2)}});
    return {{"table", "PAT"}, {"transport_stream_id", r.u16(3)}, {"programs", programs}};
}

json NitFields(const SectionReader& r, std::size_t end) {
    const std::size_t descriptorsEnd = std::min<std::size_t>(10 + (r.u16(8) & 0x0FFFu), end);
    return {{"table", "NIT"},
            {"network_id", r.u16(3)},
            {"network_descriptors", Descriptors(r, 10, descriptorsEnd)},
            {"transport_stream_loop_length", r.u16(descriptorsEnd) & 0x0FFFu}};
}

json SdtFields(const SectionReader& r, std::size_t end) {
    json services = json::array();
    for (std::size_t at = 11; at + 5 <= end;) {
        const unsigned flags = r.u8(at + 2);
        const std::size_t loopEnd = std::min<std::size_t>(at + 5 + (r.u16(at + 3) & 0x0FFFu), end);
        services.push_back({{"service_id", r.u16(at)},
                            {"EIT_schedule_flag", (flags >> 1) & 1u},
                            {"EIT_present_following_flag", flags & 1u},
                            {"running_status", r.u8(at + 3) >> 5},
                            {"descriptors", Descriptors(r, at + 5, loopEnd)}});
        at = loopEnd;
    }
    return {{"table", "SDT"},
            {"transport_stream_id", r.u16(3)},
            {"original_network_id", r.u16(8)},
            {"services", services}};
}

json PmtFields(const SectionReader& r, std::size_t end) {
    const std::size_t programInfoEnd = std::min<std::size_t>(12 + (r.u16(10) & 0x0FFFu), end);
    json streams = json::array();
    for (std::size_t at = programInfoEnd; at + 5 <= end;) {
        const std::size_t infoEnd = std::min<std::size_t>(at + 5 + (r.u16(at + 3) & 0x0FFFu), end);
        streams.push_back({{"stream_type", HexByte(r.u8(at))},
                           {"elementary_PID", r.pid(at + 1)},
                           {"descriptors", Descriptors(r, at + 5, infoEnd)}});
        at = infoEnd;
    }
    return {{"table", "PMT"},
            {"program_number", r.u16(3)},
            {"PCR_PID", r.pid(8)},
            {"program_descriptors", Descriptors(r, 12, programInfoEnd)},
            {"streams", streams}};
}

} // namespace

json SectionToJson(std::span<const uint8_t> section) {
    const SectionReader r(section);
    const std::size_t length = r.sectionLength(0);
    const std::size_t total = 3 + length;
    // The fields end where the CRC begins; never beyond the bytes at hand.
    const std::size_t end = std::min(total >= 4 ? total - 4 : 0, section.size());
    json fields;
    switch (r.u8(0)) {
    case PatTableId:
        fields = PatFields(r, end);
        break;
    case NitTableId:
        fields = NitFields(r, end);
        break;
    case SdtTableId:
        fields = SdtFields(r, end);
        break;
    case PmtTableId:
        fields = PmtFields(r, end);
        break;
    default:
        fields = {{"table", "unknown"}};
        break;
    }
    fields["table_id"] = HexByte(r.u8(0));
    fields["section_length"] = length;
    fields["version_number"] = (r.u8(5) >> 1) & 0x1Fu;
    if (total > section.size() || length < 4) {
        fields["CRC_32"] = "section cut off";
    } else {
        fields["CRC_32"] = Crc32Mpeg2(section.first(total)) == 0 ? "correct" : "wrong";
    }
    return fields;
}

} // namespace kv::cli
