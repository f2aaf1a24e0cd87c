#include "encode/module_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace sw {
namespace {

std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    const std::string exe(path, static_cast<std::size_t>(n));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "." : exe.substr(0, slash);
}

}  // namespace

void* PictureModuleFunction(const char* name, std::string* error) {
    const std::string module =
        ProgramFolder() + "/" SW_PICTURE_MODULE_FOLDER "/" SW_PICTURE_MODULE_NAME;
    void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = ::dlerror();
        *error = why ? why : module;
        return nullptr;
    }
    void* function = ::dlsym(handle, name);
    if (function == nullptr)
        *error = module;
    return function;
}

}  // namespace sw
