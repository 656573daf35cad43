#pragma once
// The program's one handler of unexpected failures. A guarded operation that catches a failure
// hands its code and description here and learns whether it may carry on with its next step.
#include <cstdint>
#include <string>

namespace kx::errors {

// Codes the reporter treats specially. Run-time error numbers are small positive numbers;
// automation status codes are negative when read as signed 32-bit numbers.
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kObjectNotSet = 91;
inline constexpr std::int32_t kOperationNotAllowedWhenClosed = 3704;
inline constexpr std::int32_t kDataSourceNotFound = 35773;
inline constexpr std::int32_t kSyntaxError = static_cast<std::int32_t>(0x80040E14u);
inline constexpr std::int32_t kUnspecifiedFailure = static_cast<std::int32_t>(0x80004005u);
inline constexpr std::int32_t kInvalidParameter = static_cast<std::int32_t>(0x80040E23u);
inline constexpr std::int32_t kTableNotFound = static_cast<std::int32_t>(0x80040E37u);

// Puts the pointer back to the default, shows the message some codes call for (critical icon,
// OK button, empty title) and answers true when the caller may go on with the step after the
// failing one, false when it should leave. `sourceLabel` names the caller; it changes nothing.
// Never throws: a failure while reporting is swallowed and the verdict still returned.
bool ReportError(std::int32_t code, const std::string& description, const std::string& sourceLabel) noexcept;

}  // namespace kx::errors
