#pragma once

namespace zw {

// Results of starting a program or opening a document, in the classic shell's numbering:
// above 32 is success; the failure message is chosen by these values.
inline constexpr int kLaunchOtherFailure = 0;
inline constexpr int kLaunchFileNotFound = 2;
inline constexpr int kLaunchNoAssociation = 31;
inline constexpr int kLaunchStarted = 42;
constexpr bool launchSucceeded(int result) { return result > 32; }

} // namespace zw
