#include "encode/sheet_loader.h"

#include <string>

#include "encode/module_loader.h"

namespace sw {

SheetWriter LoadedSheetWriter() {
    return [](const SheetJob& job, const std::string& file) -> SheetOutcome {
        using WriteFunction = void (*)(const SheetJob*, const char*, SheetOutcome*);
        std::string error;
        const auto write =
            reinterpret_cast<WriteFunction>(PictureModuleFunction("sw_write_label_sheets", &error));
        if (write == nullptr)
            return {kExitIoError, "cannot load the label writer: " + error};
        SheetOutcome outcome;
        write(&job, file.c_str(), &outcome);
        return outcome;
    };
}

}  // namespace sw
