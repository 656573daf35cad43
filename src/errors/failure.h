#pragma once
// How the program's own failures become the numbered failures the reporter judges.
//
// Every guarded operation catches whatever was thrown and turns it into an ErrorInfo here, so the
// numbers below are decided in this one place:
//
//   thrown                                         number  description
//   RunTimeError (MissingObject: a required        its own its own
//     object that is absent gives 91)
//   a type with number() and what() named as a     number() what()
//     template argument (the workbook engine's
//     WorkbookError: 1004..1012)
//   std::overflow_error (arithmetic overflow)        6     what()
//   std::bad_alloc                                   7     "Out of memory"
//   std::out_of_range                                9     what()
//   std::invalid_argument                            5     what()
//   std::bad_cast, std::bad_variant_access          13     what()
//   std::filesystem::filesystem_error, no such
//     file or folder                                53     what()
//   std::filesystem::filesystem_error, other,
//     std::ios_base::failure                        75     what()
//   any other std::exception                        51     what()
//   anything else                                   51     "Internal error"
//
// 51 ("internal error") is not one of the codes the reporter stops on, so an unforeseen failure
// lets the caller carry on as an unlisted run-time error would.
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "errors/report_error.h"

namespace kx::errors {

struct ErrorInfo {
    std::int32_t number = 0;
    std::string description;
};

// Run-time error numbers this mapping produces.
inline constexpr std::int32_t kInvalidProcedureCall = 5;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kInternalError = 51;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kPathFileAccessError = 75;

// A failure that already knows its number, such as an automation status code.
class RunTimeError : public std::runtime_error {
public:
    RunTimeError(std::int32_t number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    std::int32_t number() const { return number_; }

private:
    std::int32_t number_;
};

// Thrown where an object the code relies on is absent.
class MissingObject : public RunTimeError {
public:
    explicit MissingObject(const std::string& what = "Object variable or With block variable not set")
        : RunTimeError(kObjectNotSet, what) {}
};

// The object behind `pointer`, or MissingObject when there is none.
template <typename T>
T& requireObject(T* pointer)
{
    if (!pointer)
        throw MissingObject();
    return *pointer;
}

// The number and description of the failure held by `failure` (no failure: number 0).
ErrorInfo describeStandardFailure(std::exception_ptr failure);

// As describeStandardFailure, first recognising the listed types that carry their own number()
// (for example kx::workbook::WorkbookError), so that this part needs to know none of them.
template <typename Numbered = void, typename... MoreNumbered>
ErrorInfo describeFailure(std::exception_ptr failure)
{
    if constexpr (std::is_void_v<Numbered>) {
        return describeStandardFailure(failure);
    } else {
        if (failure) {
            try {
                std::rethrow_exception(failure);
            } catch (const Numbered& error) {
                return {static_cast<std::int32_t>(error.number()), error.what()};
            } catch (...) {
            }
        }
        return describeFailure<MoreNumbered...>(failure);
    }
}

// Hands the failure being handled to ReportError. Call it only inside a catch block.
template <typename... Numbered>
bool reportCurrentFailure(const std::string& sourceLabel) noexcept
{
    try {
        const ErrorInfo info = describeFailure<Numbered...>(std::current_exception());
        return ReportError(info.number, info.description, sourceLabel);
    } catch (...) {
        return ReportError(kOutOfMemory, "Out of memory", sourceLabel);
    }
}

}  // namespace kx::errors
