#pragma once
// Vendor-specific requests this plug-in answers beyond the host conventions. Only our own tools
// send them; hosts never do.
#include <cstdint>

namespace ostinel {

// effVendorSpecific with index kSeedRequest seeds the process-wide random generator with the
// low 32 bits of value and answers 1, so an offline run can be repeated exactly.
inline constexpr std::int32_t kSeedRequest = 0x4F735364; // "OsSd"

} // namespace ostinel
