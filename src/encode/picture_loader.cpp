#include "encode/picture_loader.h"

#include <string>

#include "encode/module_loader.h"

namespace sw {

PictureWriter LoadedPictureWriter() {
    return [](const PictureRequest& request, const std::string& file) -> std::string {
        using WriteFunction = void (*)(const PictureRequest*, const char*, std::string*);
        std::string error;
        const auto write = reinterpret_cast<WriteFunction>(
            PictureModuleFunction("sw_write_barcode_picture", &error));
        if (write == nullptr)
            return "cannot load the picture writer: " + error;
        write(&request, file.c_str(), &error);
        return error;
    };
}

}  // namespace sw
