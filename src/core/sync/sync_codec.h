#pragma once
// The bytes of the files computers exchange. A file is a run of frames, each
// complete in itself:
//
//   "KVS1"  magic
//   u32     payload length (little-endian)
//   u32     CRC-32 of the payload
//   payload (first byte: 'C' one change, 'S' a whole state)
//
// A frame is taken only when all its bytes are there and its checksum
// matches, so a file a sync engine is still copying (cut short, or with
// blocks not yet filled in) is read up to its last complete frame and the
// rest is read once it has arrived. Inside a payload, numbers are unsigned
// LEB128 and texts their length followed by their bytes.
#include "core/sync/change.h"
#include "core/sync/hybrid_clock.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kovara::core {

class ReplicaState;

// Appends numbers, texts and stamps to a payload.
class ByteWriter {
public:
    void number(std::uint64_t value);
    void text(std::string_view value);
    void stamp(const Stamp& value);
    void byte(unsigned char value) { bytes_.push_back(static_cast<char>(value)); }
    std::string& bytes() { return bytes_; }

private:
    std::string bytes_;
};

// Reads what ByteWriter wrote; raises Exception("Damaged change data") when
// the bytes run out or do not fit.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t number();
    std::string text();
    Stamp stamp();
    unsigned char byte();
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

// One frame holding payload.
std::string frame(std::string_view payload);
// A frame holding one change, and one holding a whole state.
std::string changeFrame(const Change& change);
std::string stateFrame(const ReplicaState& state);

// What readFrames found in one frame.
struct ExchangeRecord {
    bool isState = false;
    Change change;       // when !isState
    std::string state;   // when isState: the bytes for ReplicaState::fromBytes
};

// Reads the complete frames of bytes from its start and hands each to
// onFrame. Returns how many bytes were taken: it stops before a frame that is
// cut short or whose checksum does not match (bytes still arriving); a
// frame whose payload cannot be read although its checksum matches is
// skipped (a later version's record).
std::size_t readFrames(std::string_view bytes, const std::function<void(const ExchangeRecord&)>& onFrame);

// The payload of the one complete, checked frame that bytes hold (a file of
// a single frame); nothing when bytes are anything else.
std::optional<std::string> onlyPayload(std::string_view bytes);

} // namespace kovara::core
