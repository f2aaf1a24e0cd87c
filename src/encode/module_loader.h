// The picture writer module: found next to the program and loaded on first use.
#pragma once

#include <functional>
#include <string>

#include "encode/write_outcome.h"

namespace sw {

// The module's file: beside the program (in the build tree as in the installed tree), found
// from `programLink`, the link to the program's own file. When that cannot be read, the module
// where it is installed; never a path relative to the working folder, which anyone may have
// prepared.
std::string PictureModulePath(const char* programLink = "/proc/self/exe");

// The address of the module's function `name`; nothing, with the reason in `error`, when the
// module or the function cannot be loaded. The module stays loaded: Qt does not support being
// unloaded.
void* PictureModuleFunction(const char* name, std::string* error);

// A writer that calls the module's function `name`, of the form
// `void name(const Job*, const char* file, WriteOutcome*)`, loading the module when it is first
// called; a module that cannot be loaded is reported as the failure of the `writer`.
template <class Job>
std::function<WriteOutcome(const Job&, const std::string&)> ModuleWriter(const char* name,
                                                                         std::string writer) {
    return [name, writer](const Job& job, const std::string& file) -> WriteOutcome {
        using WriteFunction = void (*)(const Job*, const char*, WriteOutcome*);
        std::string error;
        const auto write = reinterpret_cast<WriteFunction>(PictureModuleFunction(name, &error));
        if (write == nullptr)
            return {kExitIoError, "cannot load the " + writer + ": " + error};
        WriteOutcome outcome;
        write(&job, file.c_str(), &outcome);
        return outcome;
    };
}

}  // namespace sw
