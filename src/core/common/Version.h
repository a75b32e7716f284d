#pragma once

namespace paysum {

// The program's own title and version, shown by the About box, the window captions and
// `paysum --version`; the version is the CMake project version.
inline constexpr const char* kAppTitle = "PAYSUM";
inline constexpr const char* kVersion = PAYSUM_VERSION;
// The name of the desktop entry and of the AppStream component.
inline constexpr const char* kAppId = PAYSUM_APP_ID;

}  // namespace paysum
