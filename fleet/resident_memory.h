#pragma once

namespace kalmo::fleet {

// The process's resident memory in MB (0 where the system does not say).
int residentMemoryMb();

} // namespace kalmo::fleet
