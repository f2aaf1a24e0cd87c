#include "encode/sheet_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>

namespace sw {
namespace {

using WriteFunction = void (*)(const SheetJob*, const char*, SheetOutcome*);

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

SheetWriter LoadedSheetWriter() {
    return [](const SheetJob& job, const std::string& file) -> SheetOutcome {
        const std::string module =
            ProgramFolder() + "/" SW_PICTURE_MODULE_FOLDER "/" SW_PICTURE_MODULE_NAME;
        void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* why = ::dlerror();
            return {kExitIoError,
                    "cannot load the label writer: " + std::string(why ? why : module)};
        }
        // The module stays loaded: Qt does not support being unloaded.
        const auto write =
            reinterpret_cast<WriteFunction>(::dlsym(handle, "sw_write_label_sheets"));
        if (write == nullptr)
            return {kExitIoError, "cannot load the label writer: " + module};
        SheetOutcome outcome;
        write(&job, file.c_str(), &outcome);
        return outcome;
    };
}

}  // namespace sw
