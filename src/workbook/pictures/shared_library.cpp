#include "workbook/pictures/shared_library.h"

#include <dlfcn.h>

#include "workbook/model/error.h"

namespace kx::workbook {

SharedLibrary::SharedLibrary(const char* fileName, std::initializer_list<const char*> functionNames)
    : fileName_(fileName)
{
    // Never closed: handles and types the library registered live until the program ends.
    void* handle = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        fail(dlerror());
    for (const char* name : functionNames) {
        void* found = dlsym(handle, name);
        if (!found)
            fail(std::string("it has no function ") + name);
        functions_.emplace_back(name, found);
    }
}

void* SharedLibrary::address(const char* name) const
{
    for (const auto& [known, found] : functions_) {
        if (known == name)
            return found;
    }
    fail(std::string("the function ") + name + " was not looked up");
}

void SharedLibrary::fail(const std::string& reason) const
{
    throw WorkbookError(ErrorCode::PrintFailed, "The library " + fileName_ + " could not be used: " + reason);
}

}  // namespace kx::workbook
