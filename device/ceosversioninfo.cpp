#include "device/ceosversioninfo.h"

#include <QtEndian>

namespace {

constexpr int TextOffset = 20;

void putField(SingleByteVersionRecord record, int offset, uint32_t value)
{
    qToLittleEndian(value, record.data() + offset);
}

uint32_t field(ConstSingleByteVersionRecord record, int offset)
{
    return qFromLittleEndian<uint32_t>(record.data() + offset);
}

} // namespace

void toSingleByte(const CEOSVERSIONINFO &info, SingleByteVersionRecord record)
{
    putField(record, 0, info.size);
    putField(record, 4, static_cast<uint32_t>(info.majorVersion));
    putField(record, 8, static_cast<uint32_t>(info.minorVersion));
    putField(record, 12, static_cast<uint32_t>(info.buildNumber));
    putField(record, 16, info.platformId);
    for (int i = 0; i < CEOSVERSIONINFO::TextLength; ++i) {
        const char16_t c = info.serviceText[i];
        record[TextOffset + i] = c <= 0xFF ? static_cast<unsigned char>(c) : '?';
    }
}

CEOSVERSIONINFO fromSingleByte(ConstSingleByteVersionRecord record)
{
    CEOSVERSIONINFO info;
    info.size = field(record, 0);
    info.majorVersion = static_cast<int32_t>(field(record, 4));
    info.minorVersion = static_cast<int32_t>(field(record, 8));
    info.buildNumber = static_cast<int32_t>(field(record, 12));
    info.platformId = field(record, 16);
    for (int i = 0; i < CEOSVERSIONINFO::TextLength; ++i)
        info.serviceText[i] = record[TextOffset + i];
    return info;
}
