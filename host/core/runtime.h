// The gauge runtime: for each installed gauge instance, the element states that one update
// computes from the records, the token store and the active failures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../render/element_state.h"
#include "module.h"
#include "token_store.h"

namespace host {

class LoadedModule;

// The active simulator failures, by key. Lookups allocate nothing.
class FailureSet {
public:
    void Set(uint32_t key, bool active);
    bool Active(uint32_t key) const;
    const std::vector<uint32_t>& keys() const { return keys_; }  // sorted

private:
    std::vector<uint32_t> keys_;
};

// What the active failures do to one element. An element with no list or an empty list: nothing.
struct FailureEffect {
    bool hide = false;    // action 3
    bool freeze = false;  // action 1
    bool zero = false;    // action 2
};
FailureEffect ElementFailures(const ElementHeader& element, const FailureSet& failures);

// Element trees and failure lists are read to these limits, whatever the records say, so that a
// broken record (a cycle, a missing end) cannot run the host away.
inline constexpr size_t kMaxElements = 512;
inline constexpr size_t kMaxTreeDepth = 32;
inline constexpr size_t kMaxFailureRecords = 64;
// A text box with a larger character count is refused at install.
inline constexpr uint32_t kMaxTextChars = 4096;

// Where an instance sits: its panel window and its box there, in panel pixels.
struct Placement {
    uint32_t window = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// One placement of a gauge. Instances of a gauge share the module's records and static state;
// everything the host keeps per instance (states, text buffers, shown angles) lives here.
struct GaugeInstance {
    std::string id;           // the gauge name, "Name#2" for its second placement
    std::string module_name;
    std::string gauge_name;
    LoadedModule* module = nullptr;  // null when the module or gauge is not there
    GaugeHeader* header = nullptr;
    Placement placement;
    int32_t width = 0;   // gauge pixels: the root bitmap's size, else the placement's
    int32_t height = 0;
    bool installed = false;
    bool updated = false;  // at least one update since install

    std::vector<ElementState> states;   // draw order, root first
    std::vector<char> text_storage;     // every text box's buffer, char_count + 1 each
    std::vector<uint32_t> text_offset;  // per state: offset into text_storage (text boxes only)
};

// Builds the instance's element states and text buffers from its records (install time: this is
// where the runtime allocates). False and a message for a tree it will not drive.
bool PrepareInstance(GaugeInstance& instance, std::string* error);
// Frees what PrepareInstance made.
void ReleaseInstance(GaugeInstance& instance);

// The host's LookupVariable: the record's value from the store (BCD tokens as a 32-bit integer in
// the first four bytes); the previous value is kept in the record's host-owned field.
void RefreshVariable(HostVariable& variable, const TokenStore& tokens);

// One update of an installed instance: refresh, callbacks, mapping by kind, failures. Allocates
// nothing.
void UpdateInstance(GaugeInstance& instance, const TokenStore& tokens, const FailureSet& failures);

// Wild results are held to these bounds (pixels for shifts).
inline constexpr double kMaxShift = 1e6;

}  // namespace host
