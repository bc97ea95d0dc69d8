#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class SimDriver;

// The part of the simulated driver that is the machine's rather than one
// process's (API version, plug state, the device, injected faults) as bytes,
// so that every process using the interface can share it.
namespace SimMachineState {

std::vector<uint8_t> Save(const SimDriver& driver);
// False, with the driver unchanged, for bytes that are not a whole state.
bool Load(const uint8_t* bytes, size_t size, SimDriver& driver);

} // namespace SimMachineState
