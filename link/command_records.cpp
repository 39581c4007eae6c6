#include "link/command_records.h"

namespace kv {

namespace {

LineRecord CommandWithArgument(uint8_t argument) {
    LineRecord r{};
    r[0] = ImageRecordMark;
    r[RecordTypeAt] = CommandRecord;
    r[7] = 0xFF;
    r[8] = 0x1F;
    r[9] = argument;
    return r;
}

bool IsCommandWithArgument(const uint8_t* record, uint8_t argument) {
    return record[0] == ImageRecordMark && record[RecordTypeAt] == CommandRecord && record[7] == 0xFF &&
           record[8] == 0x1F && record[9] == argument;
}

} // namespace

LineRecord IdleCommand() {
    return CommandWithArgument(IdleArgument);
}
LineRecord ReadCommand() {
    return CommandWithArgument(ReadArgument);
}

LineRecord LoadCommand() {
    LineRecord r{};
    r[0] = ImageRecordMark;
    r[RecordTypeAt] = LoadRecord;
    return r;
}

bool IsIdleCommand(const uint8_t* record) {
    return IsCommandWithArgument(record, IdleArgument);
}
bool IsReadCommand(const uint8_t* record) {
    return IsCommandWithArgument(record, ReadArgument);
}
bool IsLoadCommand(const uint8_t* record) {
    return record[0] == ImageRecordMark && record[RecordTypeAt] == LoadRecord;
}
bool IsHeaderRecord(const uint8_t* record) {
    return record[0] == ImageRecordMark && record[RecordTypeAt] == HeaderRecord;
}

} // namespace kv
