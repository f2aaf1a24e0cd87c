#include "encode/picture_loader.h"

#include "encode/module_loader.h"

namespace sw {

PictureWriter LoadedPictureWriter() {
    return ModuleWriter<PictureRequest>("sw_write_barcode_picture", "picture writer");
}

}  // namespace sw
