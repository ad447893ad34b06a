#include "core/sync/sync_codec.h"

#include "core/base/exception.h"
#include "core/base/little_endian.h"
#include "core/sync/replica_state.h"

#include <zlib.h>

namespace kovara::core {

namespace {

constexpr std::string_view kMagic = "KVS1";
constexpr std::size_t kHeader = 12;
constexpr unsigned char kChangeRecord = 'C';
constexpr unsigned char kStateRecord = 'S';

std::uint32_t checksum(std::string_view bytes)
{
    return static_cast<std::uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

[[noreturn]] void damaged() { throw Exception("Damaged change data"); }

} // namespace

void ByteWriter::number(std::uint64_t value)
{
    while (value >= 0x80) {
        bytes_.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    bytes_.push_back(static_cast<char>(value));
}

void ByteWriter::text(std::string_view value)
{
    number(value.size());
    bytes_.append(value);
}

void ByteWriter::stamp(const Stamp& value)
{
    number(static_cast<std::uint64_t>(value.hlc.wallMs));
    number(value.hlc.counter);
    text(value.computer);
}

std::uint64_t ByteReader::number()
{
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        const unsigned char b = byte();
        value |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        if (!(b & 0x80))
            return value;
    }
    damaged();
}

std::string ByteReader::text()
{
    const std::uint64_t size = number();
    if (size > bytes_.size() - at_)
        damaged();
    std::string value(bytes_.substr(at_, size));
    at_ += size;
    return value;
}

Stamp ByteReader::stamp()
{
    Stamp s;
    s.hlc.wallMs = static_cast<std::int64_t>(number());
    const std::uint64_t counter = number();
    if (counter > UINT32_MAX)
        damaged();
    s.hlc.counter = static_cast<std::uint32_t>(counter);
    s.computer = text();
    return s;
}

unsigned char ByteReader::byte()
{
    if (at_ >= bytes_.size())
        damaged();
    return static_cast<unsigned char>(bytes_[at_++]);
}

std::string frame(std::string_view payload)
{
    std::string out(kMagic);
    unsigned char numbers[8];
    putLittleEndian(numbers, payload.size(), 4);
    putLittleEndian(numbers + 4, checksum(payload), 4);
    out.append(reinterpret_cast<const char*>(numbers), 8);
    out.append(payload);
    return out;
}

std::string changeFrame(const Change& change)
{
    ByteWriter w;
    w.byte(kChangeRecord);
    w.stamp(change.stamp);
    w.byte(static_cast<unsigned char>(change.kind));
    w.text(change.entity);
    w.text(change.field);
    w.text(change.value);
    w.stamp(change.base);
    return frame(w.bytes());
}

std::string stateFrame(const ReplicaState& state)
{
    std::string payload(1, static_cast<char>(kStateRecord));
    payload += state.toBytes();
    return frame(payload);
}

namespace {

// The payload of the complete, checked frame at the start of bytes.
std::optional<std::string_view> checkedPayload(std::string_view bytes)
{
    if (bytes.size() < kHeader || bytes.substr(0, 4) != kMagic)
        return std::nullopt;
    const auto* header = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::uint64_t size = littleEndian(header + 4, 4);
    if (size > bytes.size() - kHeader)
        return std::nullopt;
    const std::string_view payload = bytes.substr(kHeader, size);
    if (checksum(payload) != littleEndian(header + 8, 4))
        return std::nullopt;
    return payload;
}

} // namespace

std::optional<std::string> onlyPayload(std::string_view bytes)
{
    const auto payload = checkedPayload(bytes);
    if (!payload || payload->size() + kHeader != bytes.size())
        return std::nullopt;
    return std::string(*payload);
}

std::size_t readFrames(std::string_view bytes, const std::function<void(const ExchangeRecord&)>& onFrame)
{
    std::size_t at = 0;
    while (const auto found = checkedPayload(bytes.substr(at))) {
        const std::string_view payload = *found;
        at += kHeader + payload.size();
        ExchangeRecord content;
        try {
            ByteReader r(payload);
            const unsigned char type = r.byte();
            if (type == kChangeRecord) {
                Change& c = content.change;
                c.stamp = r.stamp();
                const unsigned char kind = r.byte();
                if (kind > static_cast<unsigned char>(EntityKind::Note))
                    continue;
                c.kind = static_cast<EntityKind>(kind);
                c.entity = r.text();
                c.field = r.text();
                c.value = r.text();
                c.base = r.stamp();
            } else if (type == kStateRecord) {
                content.isState = true;
                content.state.assign(payload.substr(1));
            } else {
                continue;
            }
        } catch (const Exception&) {
            continue;
        }
        onFrame(content);
    }
    return at;
}

} // namespace kovara::core
