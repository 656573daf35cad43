#include "errors/failure.h"

#include <filesystem>
#include <ios>
#include <new>
#include <typeinfo>
#include <variant>

namespace kx::errors {
namespace {

ErrorInfo described(std::int32_t number, const std::exception& error, const char* fallback)
{
    const std::string what = error.what();
    return {number, what.empty() ? fallback : what};
}

}  // namespace

ErrorInfo describeStandardFailure(std::exception_ptr failure)
{
    if (!failure)
        return {};
    try {
        std::rethrow_exception(failure);
    } catch (const RunTimeError& error) {
        return {error.number(), error.what()};
    } catch (const std::overflow_error& error) {
        return described(kOverflow, error, "Overflow");
    } catch (const std::bad_alloc&) {
        return {kOutOfMemory, "Out of memory"};
    } catch (const std::out_of_range& error) {
        return described(kSubscriptOutOfRange, error, "Subscript out of range");
    } catch (const std::invalid_argument& error) {
        return described(kInvalidProcedureCall, error, "Invalid procedure call or argument");
    } catch (const std::bad_cast& error) {
        return described(kTypeMismatch, error, "Type mismatch");
    } catch (const std::bad_variant_access& error) {
        return described(kTypeMismatch, error, "Type mismatch");
    } catch (const std::filesystem::filesystem_error& error) {
        const bool missing = error.code() == std::errc::no_such_file_or_directory;
        return described(missing ? kFileNotFound : kPathFileAccessError, error,
                         missing ? "File not found" : "Path/File access error");
    } catch (const std::ios_base::failure& error) {
        return described(kPathFileAccessError, error, "Path/File access error");
    } catch (const std::exception& error) {
        return described(kInternalError, error, "Internal error");
    } catch (...) {
        return {kInternalError, "Internal error"};
    }
}

}  // namespace kx::errors
