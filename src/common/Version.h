#pragma once

namespace paysum {

// The program's own title and version numbers, shown in the About box and the window captions.
inline constexpr const char* kAppTitle = "PAYSUM";
inline constexpr int kVersionMajor = PAYSUM_VERSION_MAJOR;
inline constexpr int kVersionMinor = PAYSUM_VERSION_MINOR;
inline constexpr int kVersionRevision = PAYSUM_VERSION_PATCH;

}  // namespace paysum
