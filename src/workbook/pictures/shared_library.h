#pragma once
// A library opened while the program runs rather than when it starts, for code that few
// workbooks need. It stays loaded to the end of the program: objects it made may outlive any caller.
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace kx::workbook {

class SharedLibrary {
public:
    // Opens the library and finds every one of the named functions in it, so that a missing
    // one fails here and not in the middle of a call made from inside the library.
    // Throws WorkbookError(PrintFailed) naming the library when either fails.
    SharedLibrary(const char* fileName, std::initializer_list<const char*> functionNames);

    // One of the functions named at construction; throws WorkbookError for any other name.
    template <typename Function>
    Function* function(const char* name) const
    {
        return reinterpret_cast<Function*>(address(name));
    }

private:
    void* address(const char* name) const;
    [[noreturn]] void fail(const std::string& reason) const;

    std::string fileName_;
    std::vector<std::pair<std::string, void*>> functions_;
};

}  // namespace kx::workbook
