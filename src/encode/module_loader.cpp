#include "encode/module_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace sw {

std::string PictureModulePath(const char* programLink) {
    char path[PATH_MAX];
    const ssize_t n = ::readlink(programLink, path, sizeof path - 1);
    if (n <= 0 || path[0] != '/')
        return SW_PICTURE_MODULE_INSTALLED;
    const std::string exe(path, static_cast<std::size_t>(n));
    return exe.substr(0, exe.rfind('/')) + "/" SW_PICTURE_MODULE_FOLDER "/" SW_PICTURE_MODULE_NAME;
}

void* PictureModuleFunction(const char* name, std::string* error) {
    const std::string module = PictureModulePath();
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
