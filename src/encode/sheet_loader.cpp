#include "encode/sheet_loader.h"

#include "encode/module_loader.h"

namespace sw {

SheetWriter LoadedSheetWriter() {
    return ModuleWriter<SheetJob>("sw_write_label_sheets", "label writer");
}

}  // namespace sw
